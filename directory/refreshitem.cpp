// Expanding a station or a compound lists it afresh from the directory.
#include "app/arbolixdlg.h"
#include "directory/itemlevel.h"
#include "directory/treesink.h"
#include "toolkit/eventgate.h"
#include "toolkit/waitcursor.h"

void CArbolixDlg::OnItemexpandingTree(tk::TreeItem item, tk::TreeCtrl::ExpandAction action)
{
    const tk::WaitCursor wait;
    // While a search selects its match, the expansions it causes keep the children as they are.
    if (m_bSearching || action != tk::TreeCtrl::ExpandAction::Expand)
        return;
    // As during the population, input and close requests are held while the directory is
    // listed; the window repaints, and a termination request ends the refresh before its next
    // library call. A click in the tree given meanwhile was aimed at rows the refresh has moved
    // since, so it is dropped; keys and clicks on the buttons act afterwards.
    tk::EventGate gate;
    RefreshItem(item);
    if (m_bEndListing)
        gate.discardHeldInput();
    else if (m_tree)
        gate.discardHeldPointerInput(*m_tree);
}

void CArbolixDlg::RefreshItem(tk::TreeItem item)
{
    // A null handle names no item: the tree never asks to expand one.
    if (!m_tree || !m_pCompoundNames || !item)
        return;

    const bool isStation = directory::itemLevel(*m_tree, item) == directory::ItemLevel::Station;
    // A copy: deleting the children may move the tree's text storage.
    const std::string name(m_tree->itemText(item));

    for (tk::TreeItem child = m_tree->childItem(item); child;) {
        const tk::TreeItem next = m_tree->nextSiblingItem(child);
        m_tree->deleteItem(child);
        child = next;
    }

    directory::TreeSink sink(*m_tree, m_bEndListing);
    directory::DirectoryReader reader(directoryBuffers(), m_refreshWords, m_strBlockLine, sink);
    if (isStation)
        reader.readCompounds(name, item);
    else
        reader.readBlocks(name, item);
}
