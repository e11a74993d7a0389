// Preloaded into a child process: writes the name behind every descriptor given to fsync, one a line,
// to the file named by FSYNC_SPY_OUT, then does the real fsync.

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

extern "C" int fsync(int fd)
{
    using Real = int (*)(int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "fsync"));
    if (const char* out = std::getenv("FSYNC_SPY_OUT")) {
        char link[64];
        char name[PATH_MAX] = {};
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t length = readlink(link, name, sizeof name - 1);
        if (FILE* file = std::fopen(out, "a")) {
            std::fprintf(file, "%s\n", length > 0 ? name : "?");
            std::fclose(file);
        }
    }
    return real(fd);
}
