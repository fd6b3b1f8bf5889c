// The main window: the directory as a tree, Find... and Exit.
#ifndef ARBOLIX_APP_ARBOLIXDLG_H
#define ARBOLIX_APP_ARBOLIXDLG_H

#include "directory/listing/directorybuffers.h"
#include "directory/listing/zeroedbuffer.h"
#include "search/findmemory.h"
#include "toolkit/dialog.h"
#include "toolkit/treectrl.h"
#include "toolkit/treeitem.h"

#include <QIcon>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

class QPushButton;
class QFont;
class CInitDlg;
class CFindDlg;
namespace display {
class Launcher;
struct NamedObject;
} // namespace display
namespace search {
struct FindFragments;
}
namespace tk {
class EventGate;
}

class CArbolixDlg : public tk::Dialog
{
    Q_OBJECT
public:
    explicit CArbolixDlg(QWidget* parent = nullptr);
    ~CArbolixDlg() override;

    // Frees the six directory buffers and ends the use of the library. Called once after the
    // modal run; harmless when the window never reached its initialisation.
    void ReleaseDirectory();

    // The state below is grouped by the subsystem that owns it, as the handlers further down
    // are: the folder named keeps it up to date, the others only read it.

    // Search (search/): what Find found last at each level, as the texts from the station down
    // to the item (the item's own text is the last): block lines repeat under many compounds.
    search::ItemPath m_strLastBlock;
    search::ItemPath m_strLastCompound;
    search::ItemPath m_strLastStation;
    // Set while a search selects its match; the refresh lets those expansions through.
    bool m_bSearching = false;
    QPointer<CFindDlg> m_pFindDlg;

    // Display (display/): the command-line argument that every display command carries (set once
    // by the application object), the item last reported as selected, and where display commands
    // are started (tests put a recording launcher here).
    std::string m_strCmdOption;
    tk::TreeItem m_hSelected;
    display::Launcher* m_pLauncher = nullptr;

    // The window (app/): its controls, bound by data exchange, its icon and the tree's font.
    QPushButton* m_btnExit = nullptr;
    tk::TreeCtrl* m_tree = nullptr;
    QPushButton* m_btnFind = nullptr;
    QIcon m_hIcon;
    std::unique_ptr<QFont> m_pTreeFont;

    // Directory (directory/): the batch capacity N and six result buffers of N entries, one set
    // per listing level so that a nested listing never overwrites a batch an outer one still
    // walks; allocated when the window initialises, freed by ReleaseDirectory. The Initializing
    // window while the tree fills.
    directory::ZeroedBuffer m_pBlockInfo;
    directory::ZeroedBuffer m_pBlockNames;
    int32_t m_nMaxObj = 0;
    directory::ZeroedBuffer m_pCompoundNames;
    directory::ZeroedBuffer m_pStationWords;
    directory::ZeroedBuffer m_pStationInfo;
    directory::ZeroedBuffer m_pStationNames;
    QPointer<CInitDlg> m_pInitDlg;
    // True once the first timer tick has filled the tree and closed the Initializing window.
    bool isPopulated() const { return m_bPopulationBegun && m_pInitDlg.isNull(); }
    // The program is ending: a population or a refresh that runs stops before its next library
    // call, keeping what it inserted, and drops the operator input held meanwhile.
    void EndListing();

    // Handlers and what they share, defined by the subsystem that owns them.
    void OnTimer(int id);                                                      // directory/
    void FillTree();                                                           // directory/
    void OnItemexpandingTree(tk::TreeItem item, tk::TreeCtrl::ExpandAction a); // directory/
    void RefreshItem(tk::TreeItem item);                                       // directory/
    void OnFind();                                                             // search/
    void OnSelchangedTree(tk::TreeItem item);                                  // display/
    void OnDblclkTree();                                                       // display/
    void OpenDisplay();                                                        // display/
    void OpenDisplayFor(tk::TreeItem item);                                    // display/
    void OnSize(int cx, int cy);                                               // app/
    void OnGetMinMaxInfo();                                                    // app/
    void OnSysCommand(int id);                                                 // app/
    // The menu acts on target: the row under the pointer, or from the keyboard the selection.
    void OnContextMenu(const QPoint& globalPos, tk::TreeItem target); // app/
    void OnCopyName();                                                // app/
    void CopyNameOf(tk::TreeItem item);                               // app/
    int aboutMenuCommand() const { return m_nAboutCommand; }          // app/

    // search/: the Find window asks. Selects the next match with m_bSearching set, remembers it
    // and returns it (null if none); Close leaves no Find window and every level at the top.
    tk::TreeItem SelectNextMatch(const search::FindFragments& fragments);
    void FindClosed();

    // What item names; nothing without a tree.
    display::NamedObject namedObject(tk::TreeItem item) const; // display/
    // What Copy Name and a drag give, as bytes: COMPOUND:BLOCK for a block, else the item's
    // name; empty for no item.
    std::string transferName(tk::TreeItem item) const; // app/

protected:
    void doDataExchange(tk::DataExchange& dx) override;
    bool onInitDialog() override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // directory/
    void allocateDirectoryBuffers(); // N from the library, then all six buffers or none
    void releaseDirectoryBuffers();
    // N and the six buffers, as the directory reader takes them.
    directory::DirectoryBuffers directoryBuffers() const;

    bool m_bPopulationBegun = false; // set by the first tick, before it fills the tree
    bool m_bEndListing = false;
    int m_nTimerId = 0;                   // the tick that starts the population
    directory::LevelWords m_refreshWords; // the refresh's own; its station words stay unused
    std::string m_strBlockLine;           // one formatting buffer for every block line

    // app/
    void connectHandlers();
    QPoint keyboardMenuPosition() const;
    void followScreens();

    int m_nAboutCommand = 0; // the About item's command, 0 when the string is empty
    QString m_strAboutMenu;
};

#endif
