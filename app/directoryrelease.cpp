#include "app/directoryrelease.h"

#include "app/arbolixdlg.h"

#include <atomic>
#include <cstdlib>

namespace {

// The window whose directory exit() still has to release; taken by whoever releases it first.
std::atomic<CArbolixDlg*> s_pendingAtExit{nullptr};

extern "C" void releaseAtExit()
{
    if (CArbolixDlg* dlg = s_pendingAtExit.exchange(nullptr))
        dlg->ReleaseDirectory();
}

} // namespace

DirectoryRelease::DirectoryRelease(CArbolixDlg& dlg) : m_dlg(dlg)
{
    // Registered on first use, after the toolkit has made its own globals, so that at exit it
    // runs before they are torn down.
    static const bool registered = std::atexit(releaseAtExit) == 0;
    CArbolixDlg* none = nullptr;
    m_coversExit = registered && s_pendingAtExit.compare_exchange_strong(none, &dlg);
}

DirectoryRelease::~DirectoryRelease()
{
    release();
}

void DirectoryRelease::release()
{
    if (m_released)
        return;
    m_released = true;
    if (!m_coversExit) {
        m_dlg.ReleaseDirectory();
        return;
    }
    if (CArbolixDlg* dlg = s_pendingAtExit.exchange(nullptr))
        dlg->ReleaseDirectory();
}
