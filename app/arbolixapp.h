// The application object: runs the main window once and releases the directory after it.
#ifndef ARBOLIX_APP_ARBOLIXAPP_H
#define ARBOLIX_APP_ARBOLIXAPP_H

#include <string>

class CArbolixApp
{
public:
    // Makes the Qt application from the program name alone, so none of the arguments is taken
    // as a toolkit option, then runs InitInstance. The exit code is 0. The process ends without
    // returning here with 1 when no platform can start (PlatformStart) or the toolkit loses its
    // display, and with 128 plus the signal's number from the TerminationWatchdog.
    int Run(int argc, char** argv);

    // Runs the main window modally with the given option; needs a QApplication.
    bool InitInstance(const std::string& cmdOption);
};

extern CArbolixApp theApp;

#endif
