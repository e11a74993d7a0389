#include "config/FileSizeLimit.h"

#include <csignal>

namespace FileSizeLimit {

void IgnoreSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace FileSizeLimit
