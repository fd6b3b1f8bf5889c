// Double-clicking a compound or a block opens the control system's display for it.
#include "app/arbolixdlg.h"
#include "display/displaycommand.h"
#include "display/displayutility.h"
#include "display/launcher.h"

void CArbolixDlg::OnSelchangedTree(tk::TreeItem item)
{
    m_hSelected = item;
}

void CArbolixDlg::OnDblclkTree()
{
    // The tree's own double-click handling (open or close the item) follows.
    OpenDisplay();
}

void CArbolixDlg::OpenDisplay()
{
    if (!m_tree || !m_pLauncher)
        return;
    const tk::TreeItem parent = m_tree->parentItem(m_hSelected);
    const tk::TreeItem grandparent = m_tree->parentItem(parent);
    if (grandparent) {
        m_pLauncher->start(display::displayArguments(
            display::displayUtility(), m_strCmdOption, m_tree->itemText(parent),
            display::blockNameOf(m_tree->itemText(m_hSelected))));
    } else if (parent) {
        m_pLauncher->start(display::displayArguments(display::displayUtility(), m_strCmdOption,
                                                     m_tree->itemText(m_hSelected), std::nullopt));
    }
}
