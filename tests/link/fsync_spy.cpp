// Preloaded into a child process: writes the name behind every descriptor given to fsync or flock, one
// a line ("fsync NAME", "flock NAME"), to the file named by FSYNC_SPY_OUT, then makes the real call.

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace {

void Note(const char* call, int fd)
{
    if (const char* out = std::getenv("FSYNC_SPY_OUT")) {
        char link[64];
        char name[PATH_MAX] = {};
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t length = readlink(link, name, sizeof name - 1);
        if (FILE* file = std::fopen(out, "a")) {
            std::fprintf(file, "%s %s\n", call, length > 0 ? name : "?");
            std::fclose(file);
        }
    }
}

} // namespace

extern "C" int fsync(int fd)
{
    using Real = int (*)(int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "fsync"));
    Note("fsync", fd);
    return real(fd);
}

extern "C" int flock(int fd, int operation)
{
    using Real = int (*)(int, int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "flock"));
    Note("flock", fd);
    return real(fd, operation);
}
