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
    OpenDisplayFor(m_hSelected);
}

// The display of item, whether it is selected or, for the context menu, under the pointer.
void CArbolixDlg::OpenDisplayFor(tk::TreeItem item)
{
    if (!m_tree || !m_pLauncher)
        return;
    switch (directory::itemLevel(*m_tree, item)) {
    case directory::ItemLevel::Block:
        m_pLauncher->start(display::displayArguments(display::displayUtility(), m_strCmdOption,
                                                     m_tree->itemText(m_tree->parentItem(item)),
                                                     display::blockNameOf(m_tree->itemText(item))));
        break;
    case directory::ItemLevel::Compound:
        m_pLauncher->start(display::displayArguments(display::displayUtility(), m_strCmdOption,
                                                     m_tree->itemText(item), std::nullopt));
        break;
    case directory::ItemLevel::Station:
    case directory::ItemLevel::None:
        break;
    }
}
