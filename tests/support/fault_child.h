#pragma once
// Runs a piece of a test in a child process under a fault the test process
// itself must not suffer: a limit on the size of any file written (SIGXFSZ
// ignored, so a write past it fails as on a full disk), or the rights of an
// ordinary account (a test run by the superuser is refused by no folder). The
// child's result is its exit code, so `work` returns 0..255.
#ifndef _WIN32

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tarvel::test {

struct ChildFault {
    long fileSizeLimit = -1;    // bytes; negative: no limit
    bool ordinaryUser = false;  // drop to the "nobody" account when run as the superuser
};

// work()'s result, or -1 when the child did not end normally (a signal, or
// the fault could not be set up).
inline int runInChild(const ChildFault& fault, const std::function<int()>& work)
{
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (fault.fileSizeLimit >= 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(fault.fileSizeLimit),
                               static_cast<rlim_t>(fault.fileSizeLimit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(255);
        }
        if (fault.ordinaryUser && geteuid() == 0) {
            constexpr uid_t kNobody = 65534;
            if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(255);
        }
        _exit(work());  // no exit handlers: the parent's test state stays the parent's
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

}  // namespace tarvel::test

#endif
