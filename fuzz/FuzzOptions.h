#pragma once

// Included by exactly one source of each fuzz target. Every input is handled in memory; what costs
// time and memory beyond the code under test is the sanitizer's bookkeeping of each allocation: no
// allocation stacks and a small quarantine keep a target at thousands of inputs a second and well
// under a gigabyte, while out-of-bounds and use-after-free are still caught at once (reported with
// the stack of the bad access; rerun a crash input with ASAN_OPTIONS=malloc_context_size=30 for more).
extern "C" const char *__asan_default_options()
{
    return "malloc_context_size=0:quarantine_size_mb=16";
}
