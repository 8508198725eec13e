#pragma once
// Runs a piece of a test in a child process: for process-wide limits and identities, and for
// calls that could block for ever.

#include <csignal>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vostrel::test {

// fn's result as the child's exit code; -1 when the child did not exit by itself, e.g. when
// it was still running after `seconds` (0: no limit).
template <typename Fn> int InChild(Fn fn, unsigned seconds = 0) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (seconds > 0) {
            std::signal(SIGALRM, SIG_DFL);
            ::alarm(seconds);
        }
        ::_exit(fn());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Root may write anything: in a child, take the part of an ordinary player (nobody). False
// when that is refused.
inline bool BecomePlayer() {
    return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
}

// A folder of the player's own that others may not write (mode 0755): as root, given to the
// player that BecomePlayer takes the part of; false when that is refused.
inline bool GiveToPlayer(const char* path) {
    return ::chmod(path, 0755) == 0 && (::geteuid() != 0 || ::chown(path, 65534, 65534) == 0);
}

} // namespace vostrel::test
