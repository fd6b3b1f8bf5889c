// The main window's release of the directory, made exactly once whichever way the process ends:
// after the modal run, or in exit() when the toolkit ends the process from inside its event loop
// (it does so when the connection to the display breaks), which never returns to the caller.
#ifndef ARBOLIX_APP_DIRECTORYRELEASE_H
#define ARBOLIX_APP_DIRECTORYRELEASE_H

class CArbolixDlg;

class DirectoryRelease
{
public:
    // From now until release(), an exit() of the process releases the window's directory. One
    // object at a time answers for exit(); a second one releases only when asked.
    explicit DirectoryRelease(CArbolixDlg& dlg);
    // Releases the directory if that has not happened yet.
    ~DirectoryRelease();

    DirectoryRelease(const DirectoryRelease&) = delete;
    DirectoryRelease& operator=(const DirectoryRelease&) = delete;

    // Calls the window's ReleaseDirectory, the first time only.
    void release();

private:
    CArbolixDlg& m_dlg;
    bool m_coversExit = false;
    bool m_released = false;
};

#endif
