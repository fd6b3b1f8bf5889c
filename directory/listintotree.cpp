// Listings from the directory inserted into the tree, shared by the population and the refresh.
#include "app/arbolixdlg.h"
#include "directory/treesink.h"

directory::DirectoryBuffers CArbolixDlg::directoryBuffers() const
{
    return {m_nMaxObj,
            {m_pStationNames.data(), m_pStationInfo.data(), m_pStationWords.words()},
            m_pCompoundNames.data(),
            {m_pBlockNames.data(), m_pBlockInfo.data()}};
}

directory::ListingResult CArbolixDlg::InsertCompounds(std::string_view station,
                                                      tk::TreeItem stationItem,
                                                      directory::LevelWords& words)
{
    directory::TreeSink sink(*m_tree);
    return directory::DirectoryReader(directoryBuffers(), words, m_strBlockLine, sink)
        .readCompounds(station, stationItem);
}

directory::ListingResult CArbolixDlg::InsertBlocks(std::string_view compound,
                                                   tk::TreeItem compoundItem,
                                                   directory::LevelWords& words)
{
    directory::TreeSink sink(*m_tree);
    return directory::DirectoryReader(directoryBuffers(), words, m_strBlockLine, sink)
        .readBlocks(compound, compoundItem);
}
