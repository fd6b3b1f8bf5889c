// The main window's Find... button.
#include "app/arbolixdlg.h"
#include "search/finddlg.h"

void CArbolixDlg::OnFind()
{
    if (m_pFindDlg) {
        m_pFindDlg->show();
        m_pFindDlg->raise();
        m_pFindDlg->activateWindow();
        return;
    }
    m_pFindDlg = new CFindDlg(this);
    m_pFindDlg->create();
}
