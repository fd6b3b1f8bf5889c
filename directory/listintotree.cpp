// The main window's buffers as the directory reader takes them (the population and the refresh),
// and the refresh's listings below a station or a compound into the tree.
#include "app/arbolixdlg.h"
#include "directory/waitedtreesink.h"

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
    directory::WaitedTreeSink sink(*m_tree, m_bEndListing);
    return directory::DirectoryReader(directoryBuffers(), words, m_strBlockLine, sink)
        .readCompounds(station, stationItem);
}

directory::ListingResult CArbolixDlg::InsertBlocks(std::string_view compound,
                                                   tk::TreeItem compoundItem,
                                                   directory::LevelWords& words)
{
    directory::WaitedTreeSink sink(*m_tree, m_bEndListing);
    return directory::DirectoryReader(directoryBuffers(), words, m_strBlockLine, sink)
        .readBlocks(compound, compoundItem);
}
