// The main window's six directory buffers: allocated zero-filled when the window initialises,
// freed by ReleaseDirectory, and handed to the directory reader by the population and the refresh.
#include "app/arbolixdlg.h"
#include "directory/dirapi.h"

#include <cstdio>

// N comes from the library. All six buffers or none: a directory we cannot hold results for is
// shown as empty, and standard error says why, as the empty tree alone does not.
void CArbolixDlg::allocateDirectoryBuffers()
{
    m_nMaxObj = get_maxobj();
    const int64_t n = m_nMaxObj;
    if (n <= 0) {
        std::fprintf(stderr,
                     "arbolix: unusable batch size %d from get_maxobj; the directory is shown "
                     "empty\n",
                     int(m_nMaxObj));
        return;
    }
    const bool allocated = m_pStationNames.allocate(n, DIRAPI_STATION_SLOT) &&
                           m_pStationInfo.allocate(n, DIRAPI_STATION_INFO_SLOT) &&
                           m_pStationWords.allocate(n, DIRAPI_STATION_WORD_SIZE) &&
                           m_pCompoundNames.allocate(n, DIRAPI_COMPOUND_SLOT) &&
                           m_pBlockNames.allocate(n, DIRAPI_BLOCK_SLOT) &&
                           m_pBlockInfo.allocate(n, DIRAPI_BLOCK_INFO_SLOT);
    if (!allocated) {
        releaseDirectoryBuffers();
        std::fprintf(stderr,
                     "arbolix: no memory for buffers of batch size %d from get_maxobj; the "
                     "directory is shown empty\n",
                     int(m_nMaxObj));
    }
}

void CArbolixDlg::releaseDirectoryBuffers()
{
    m_pStationNames.release();
    m_pStationInfo.release();
    m_pStationWords.release();
    m_pCompoundNames.release();
    m_pBlockNames.release();
    m_pBlockInfo.release();
}

directory::DirectoryBuffers CArbolixDlg::directoryBuffers() const
{
    return {m_nMaxObj,
            {m_pStationNames.data(), m_pStationInfo.data(), m_pStationWords.words()},
            m_pCompoundNames.data(),
            {m_pBlockNames.data(), m_pBlockInfo.data()}};
}
