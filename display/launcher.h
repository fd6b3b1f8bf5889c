// Starting a display command: the seam between building an argument vector and running it.
#ifndef ARBOLIX_DISPLAY_LAUNCHER_H
#define ARBOLIX_DISPLAY_LAUNCHER_H

#include <string>
#include <vector>

namespace display {

class Launcher
{
public:
    virtual ~Launcher();
    // Starts argv[0] with the arguments argv; never waits for it and never reports failure.
    virtual void start(const std::vector<std::string>& argv) = 0;
};

// Runs the program directly (no shell), detached in a session of its own, with standard input,
// output and error on /dev/null and no other descriptor inherited. A program that is missing,
// not executable, or whose start fails in any way simply does not run. Finished programs leave
// no zombie behind: the program is the grandchild, and the short-lived child is reaped at once.
class ProcessLauncher final : public Launcher
{
public:
    // An empty argv, or an argument holding a NUL byte (it could not be passed whole), starts
    // nothing.
    void start(const std::vector<std::string>& argv) override;
};

// The launcher the program uses unless a test puts another in its place.
Launcher& defaultLauncher();

} // namespace display

#endif
