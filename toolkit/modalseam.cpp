#include "toolkit/modalseam.h"

#include <utility>

namespace tk {

namespace {

ModalSeam::Runner& testRunner()
{
    static ModalSeam::Runner runner;
    return runner;
}

} // namespace

void ModalSeam::setRunnerForTests(Runner runner)
{
    testRunner() = std::move(runner);
}

bool ModalSeam::active()
{
    return bool(testRunner());
}

int ModalSeam::run(Dialog& dialog)
{
    // A copy, so a runner that replaces itself is not destroyed while it runs.
    const Runner runner = testRunner();
    return runner ? runner(dialog) : 0;
}

} // namespace tk
