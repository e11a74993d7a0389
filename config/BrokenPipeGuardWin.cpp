#include "config/BrokenPipeGuard.h"

// Windows reports a write to a closed pipe as a failed write; no signal ends the program.
CBrokenPipeGuard::CBrokenPipeGuard() = default;
CBrokenPipeGuard::~CBrokenPipeGuard() = default;
