// The Find window: name fragments for station, compound and block, and Find / Close.
#ifndef ARBOLIX_SEARCH_FINDDLG_H
#define ARBOLIX_SEARCH_FINDDLG_H

#include "toolkit/dialog.h"
#include "toolkit/treeitem.h"

#include <string>

class QPushButton;
class CArbolixDlg;

class CFindDlg : public tk::Dialog
{
    Q_OBJECT
public:
    // Modeless and owned by the main window; deletes itself when its window is destroyed.
    explicit CFindDlg(CArbolixDlg* parent);

    QPushButton* m_btnClose = nullptr;
    std::string m_strBlock;
    std::string m_strCompound;
    std::string m_strStation;
    CArbolixDlg* m_pParent;
    int m_nIDTemplate; // part of the window's documented structure; nothing reads it

    // Selects the next match after the one found last at the fragments' level.
    void FindNext();
    // Forgets every level's last match and destroys the window.
    void OnCloseButton();

protected:
    void doDataExchange(tk::DataExchange& dx) override;
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;

private:
    void describeFoundItem(tk::TreeItem item);
};

#endif
