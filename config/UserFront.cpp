#include "config/UserFront.h"

#include <atomic>

namespace {
// Read by the transfers of a batch on their own threads.
std::atomic<UserFront::Kind> g_UserFrontKind { UserFront::Kind::Window };
}

namespace UserFront {

Kind Current()
{
    return g_UserFrontKind.load();
}

void Set(Kind kind)
{
    g_UserFrontKind.store(kind);
}

const CBilingual &Pick(const CBilingual &window, const CBilingual &commandLine)
{
    return Current() == Kind::CommandLine ? commandLine : window;
}

} // namespace UserFront
