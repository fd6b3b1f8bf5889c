// Helpers shared by the test suites: the main window on a given plant, the tree read back as
// text, operator actions, and a launcher that records instead of starting.
#ifndef ARBOLIX_TESTS_TESTSUPPORT_H
#define ARBOLIX_TESTS_TESTSUPPORT_H

#include "app/arbolixdlg.h"
#include "display/launcher.h"
#include "toolkit/treeitem.h"

#include <QObject>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAbstractButton;
class QWidget;

namespace tk {
class TreeCtrl;
}

namespace testsupport {

// The base of the suites that open the main window: after every test the stand-in library
// starts again empty, so that no plant, failure or hook outlives the test that set it.
class MainWindowSuite : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
};

class RecordingLauncher : public display::Launcher
{
public:
    void start(const std::vector<std::string>& argv) override { started.push_back(argv); }
    std::vector<std::vector<std::string>> started;
};

// The main window, shown, on a plant in listing-file form, filled by its first timer tick.
struct MainWindow
{
    std::unique_ptr<CArbolixDlg> dlg;
    RecordingLauncher launcher;

    tk::TreeCtrl& tree() const { return *dlg->m_tree; }
};

// Resets the stand-in library, loads the plant and sets N; then opens the window with the
// option and waits until the population ended (else the test fails); populate = false does not.
std::unique_ptr<MainWindow> openMainWindow(std::string_view plant, int32_t maxObj = 256,
                                           std::string option = {}, bool populate = true);

// The item reached by the texts from the root down; a missing one fails the test.
tk::TreeItem findItem(const tk::TreeCtrl& tree, const std::vector<std::string>& path);

// Expands the item reached by the texts, as its expand button does, and returns it.
tk::TreeItem expandPath(tk::TreeCtrl& tree, const std::vector<std::string>& path);

// Texts of an item's children in order (the roots for a null item).
std::vector<std::string> childTexts(const tk::TreeCtrl& tree, tk::TreeItem item = {});

// The whole tree, one line an item, two blanks of indent per level.
std::string dumpTree(const tk::TreeCtrl& tree);

// Double-clicks like the operator, through the window system (a double-click sent to the
// viewport widget does not reach a tree view). A null item double-clicks below the last row.
void doubleClick(tk::TreeCtrl& tree, tk::TreeItem item);

// Clicks the item like the operator.
void click(tk::TreeCtrl& tree, tk::TreeItem item);

// The ways the operator closes a window: its own button (Exit, Close), Escape, the close box.
enum class CloseWay
{
    Button,
    Escape,
    CloseBox,
    Destroyed, // its window destroyed by another program
};

// The rows of a test that closes a window each way, in a column "way"; the button's row is
// named by its caption.
void addCloseWayRows(const char* buttonCaption);

// The rows of reference::optionRows(), in a column "row" of reference::OptionRow.
void addOptionRows();

// Closes the window the way given; Button clicks that button.
void closeBy(CloseWay way, QWidget* window, QAbstractButton* button);

} // namespace testsupport

#endif
