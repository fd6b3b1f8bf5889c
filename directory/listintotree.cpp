// Listings from the directory inserted into the tree, shared by the population and the refresh.
#include "app/arbolixdlg.h"
#include "directory/blockline.h"
#include "directory/listings.h"

directory::ListingResult CArbolixDlg::InsertCompounds(std::string_view station,
                                                      tk::TreeItem stationItem,
                                                      directory::ListingWords& compoundWords,
                                                      directory::ListingWords& blockWords)
{
    const directory::ListingResult listed = directory::listCompounds(
        station, m_nMaxObj, compoundWords, m_pCompoundNames.data(), [&](std::string_view compound) {
            if (const tk::TreeItem compoundItem = m_tree->insertItem(compound, stationItem))
                InsertBlocks(compound, compoundItem, blockWords);
        });
    keepExpandableIfUnlisted(stationItem, listed);
    return listed;
}

directory::ListingResult CArbolixDlg::InsertBlocks(std::string_view compound,
                                                   tk::TreeItem compoundItem,
                                                   directory::ListingWords& blockWords)
{
    const directory::BlockBuffers blocks{m_pBlockNames.data(), m_pBlockInfo.data()};
    const directory::ListingResult listed = directory::listBlocks(
        compound, m_nMaxObj, blockWords, blocks, [&](std::string_view name, std::string_view info) {
            directory::formatBlockLine(m_strBlockLine, name, info);
            m_tree->insertLeafItem(m_strBlockLine, compoundItem);
        });
    keepExpandableIfUnlisted(compoundItem, listed);
    return listed;
}

// A listing that failed before delivering anything says nothing about the item: keep its
// expand button, so the next expansion asks the directory again. An empty listing that
// succeeded makes it a leaf.
void CArbolixDlg::keepExpandableIfUnlisted(tk::TreeItem item,
                                           const directory::ListingResult& listing)
{
    m_tree->setItemExpandable(item, listing.failed() && listing.taken == 0);
}
