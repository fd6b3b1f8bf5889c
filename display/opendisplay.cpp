// Double-clicking a compound or a block opens the control system's display for it.
#include "app/arbolixdlg.h"
#include "display/displaycommand.h"
#include "display/displayutility.h"
#include "display/launcher.h"
#include "display/namedobject.h"

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
    if (!m_pLauncher)
        return;
    const display::NamedObject object = namedObject(item);
    if (!object.hasDisplay())
        return;
    m_pLauncher->start(display::displayArguments(display::displayUtility(), m_strCmdOption,
                                                 object.name, object.block));
}

display::NamedObject CArbolixDlg::namedObject(tk::TreeItem item) const
{
    return m_tree ? display::namedObject(*m_tree, item) : display::NamedObject{};
}
