#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// Root writes into any folder: tests of what an ordinary user may not change run their body as the
// nobody user then (in a child process, whose exit status is body's result; 99: cannot switch).
namespace TestFiles {

inline bool IsRoot()
{
    return ::geteuid() == 0;
}

inline int RunUnprivileged(const std::function<int()>& body)
{
    if (!IsRoot())
        return body();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

} // namespace TestFiles
