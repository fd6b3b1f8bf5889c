#include "display/launcher.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace display {

namespace {

// Highest descriptor to close in the started program if close_range is not available.
int descriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur <= 65536)
        return static_cast<int>(limit.rlim_cur);
    return 65536;
}

// Between fork and exec only async-signal-safe calls are allowed: everything is prepared before.
[[noreturn]] void execDetached(char* const* argv, char* const* envp, int maxDescriptor)
{
    setsid();

    // Give the program the default signal dispositions and an empty mask, as a fresh start has.
    struct sigaction defaultAction
    {
    };
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    for (int sig = 1; sig < NSIG; ++sig)
        sigaction(sig, &defaultAction, nullptr); // fails harmlessly for KILL, STOP and RT gaps
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    int nullFd;
    do {
        nullFd = open("/dev/null", O_RDWR);
    } while (nullFd < 0 && errno == EINTR);
    if (nullFd < 0)
        _exit(127);
    for (int target = 0; target <= 2; ++target) {
        if (nullFd == target)
            continue;
        int result;
        do {
            result = dup2(nullFd, target);
        } while (result < 0 && errno == EINTR);
        if (result < 0)
            _exit(127);
    }
    if (close_range(3, ~0U, 0) != 0) {
        for (int fd = 3; fd < maxDescriptor; ++fd)
            close(fd);
    }

    execve(argv[0], argv, envp);
    _exit(127);
}

} // namespace

Launcher::~Launcher() = default;

void ProcessLauncher::start(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return;
    const bool holdsNul = std::any_of(argv.begin(), argv.end(), [](const std::string& argument) {
        return argument.find('\0') != std::string::npos;
    });
    if (holdsNul)
        return;

    std::vector<char*> arguments;
    arguments.reserve(argv.size() + 1);
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    char* const* envp = environ;
    const int maxDescriptor = descriptorLimit();

    const pid_t child = fork();
    if (child < 0)
        return;
    if (child == 0) {
        // The child only forks the program and ends, so the program is orphaned and the system
        // reaps it; we reap the child right below.
        const pid_t program = fork();
        if (program == 0)
            execDetached(arguments.data(), envp, maxDescriptor);
        _exit(0);
    }
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

Launcher& defaultLauncher()
{
    static ProcessLauncher launcher;
    return launcher;
}

} // namespace display
