#include "config/FileSizeLimit.h"

// Windows has no such signal: a write over a limit simply fails.
namespace FileSizeLimit {

void IgnoreSignal()
{
}

} // namespace FileSizeLimit
