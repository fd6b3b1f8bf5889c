// The application object: runs the main window once and releases the directory after it.
#ifndef ARBOLIX_APP_ARBOLIXAPP_H
#define ARBOLIX_APP_ARBOLIXAPP_H

#include <string>

class CArbolixApp
{
public:
    // Makes the Qt application from the program name alone, so none of the arguments is taken
    // as a toolkit option, then runs InitInstance. The exit code is 0.
    int Run(int argc, char** argv);

    // Runs the main window modally with the given option; needs a QApplication.
    bool InitInstance(const std::string& cmdOption);
};

extern CArbolixApp theApp;

#endif
