// The main window's Find... button, and the search state a Find changes: what it found last at
// each level, and m_bSearching while it selects.
#include "app/arbolixdlg.h"
#include "search/finddlg.h"
#include "search/treewalk.h"

#include <utility>

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

tk::TreeItem CArbolixDlg::SelectNextMatch(const search::FindFragments& fragments)
{
    m_bSearching = true;
    auto result = search::findNextInTree(
        *m_tree, fragments,
        {std::move(m_strLastStation), std::move(m_strLastCompound), std::move(m_strLastBlock)});
    // Still searching while the selection opens the match's ancestors: they keep their children.
    if (result.item)
        m_tree->selectItem(result.item);
    m_bSearching = false;
    m_strLastStation = std::move(result.memory.station);
    m_strLastCompound = std::move(result.memory.compound);
    m_strLastBlock = std::move(result.memory.block);
    return result.item;
}

void CArbolixDlg::FindClosed()
{
    m_pFindDlg = nullptr;
    m_strLastStation.clear();
    m_strLastCompound.clear();
    m_strLastBlock.clear();
}
