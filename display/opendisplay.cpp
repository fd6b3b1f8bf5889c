// Double-clicking a compound or a block opens the control system's display for it.
#include "app/arbolixdlg.h"
#include "directory/itemlevel.h"
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
    switch (directory::itemLevel(*m_tree, m_hSelected)) {
    case directory::ItemLevel::Block:
        m_pLauncher->start(
            display::displayArguments(display::displayUtility(), m_strCmdOption,
                                      m_tree->itemText(m_tree->parentItem(m_hSelected)),
                                      display::blockNameOf(m_tree->itemText(m_hSelected))));
        break;
    case directory::ItemLevel::Compound:
        m_pLauncher->start(display::displayArguments(display::displayUtility(), m_strCmdOption,
                                                     m_tree->itemText(m_hSelected), std::nullopt));
        break;
    case directory::ItemLevel::Station:
    case directory::ItemLevel::None:
        break;
    }
}
