#pragma once

// Included by exactly one source of each fuzz target. Every input is handled in memory; what costs
// time and memory beyond the code under test is the sanitizer's bookkeeping of each allocation: a
// short allocation stack and a small quarantine keep a target at thousands of inputs a second and
// well under a gigabyte, while out-of-bounds and use-after-free are still caught at once.
extern "C" const char *__asan_default_options()
{
    return "malloc_context_size=3:quarantine_size_mb=16";
}
