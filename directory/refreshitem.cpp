// Expanding a station or a compound lists it afresh from the directory.
#include "app/arbolixdlg.h"
#include "directory/blockline.h"
#include "directory/listings.h"
#include "toolkit/waitcursor.h"

void CArbolixDlg::OnItemexpandingTree(tk::TreeItem item, tk::TreeCtrl::ExpandAction action)
{
    const tk::WaitCursor wait;
    // While a search selects its match, the expansions it causes keep the children as they are.
    if (!m_bSearching && action == tk::TreeCtrl::ExpandAction::Expand)
        RefreshItem(item);
}

void CArbolixDlg::RefreshItem(tk::TreeItem item)
{
    if (!m_tree || !m_pCompoundNames)
        return;

    const bool isStation = m_tree->parentItem(item).isNull();
    // A copy: deleting the children may move the tree's text storage.
    const std::string name(m_tree->itemText(item));

    for (tk::TreeItem child = m_tree->childItem(item); child;) {
        const tk::TreeItem next = m_tree->nextSiblingItem(child);
        m_tree->deleteItem(child);
        child = next;
    }

    const directory::BlockBuffers blocks{m_pBlockNames.data(), m_pBlockInfo.data()};
    std::string line;
    auto insertBlocksOf = [&](std::string_view compound, tk::TreeItem compoundItem) {
        const directory::ListingResult listing =
            directory::listBlocks(compound, m_nMaxObj, m_refreshBlockWords, blocks,
                                  [&](std::string_view blockName, std::string_view info) {
                                      directory::formatBlockLine(line, blockName, info);
                                      m_tree->insertLeafItem(line, compoundItem);
                                  });
        keepExpandableIfUnlisted(compoundItem, listing);
        return listing;
    };

    directory::ListingResult listed;
    if (isStation) {
        listed = directory::listCompounds(name, m_nMaxObj, m_refreshCompoundWords,
                                          m_pCompoundNames.data(), [&](std::string_view compound) {
                                              const tk::TreeItem compoundItem =
                                                  m_tree->insertItem(compound, item);
                                              if (compoundItem)
                                                  insertBlocksOf(compound, compoundItem);
                                          });
    } else {
        listed = insertBlocksOf(name, item);
    }

    keepExpandableIfUnlisted(item, listed);
}

// A listing that failed before delivering anything says nothing about the item: keep its
// expand button, so the next expansion asks the directory again. An empty listing that
// succeeded makes it a leaf.
void CArbolixDlg::keepExpandableIfUnlisted(tk::TreeItem item,
                                           const directory::ListingResult& listing)
{
    m_tree->setItemExpandable(item, listing.failed() && listing.taken == 0);
}
