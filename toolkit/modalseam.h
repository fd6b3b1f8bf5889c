// Lets a test take the place of a modal dialog's event loop.
#ifndef ARBOLIX_TOOLKIT_MODALSEAM_H
#define ARBOLIX_TOOLKIT_MODALSEAM_H

#include <functional>

namespace tk {

class Dialog;

class ModalSeam
{
public:
    // Called by Dialog::doModal() in place of exec(), after the controls are built and the
    // dialog initialised; what it returns is doModal()'s result. The dialog is not shown.
    using Runner = std::function<int(Dialog& dialog)>;

    // An empty function restores real modal runs.
    static void setRunnerForTests(Runner runner);
    static bool active();
    static int run(Dialog& dialog);
};

} // namespace tk

#endif
