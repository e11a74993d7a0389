#pragma once

// A limit on the size of files the process may write (ulimit -f, prlimit --fsize). Where the system
// would end the process with a signal the moment a write crosses it, every program turns the signal
// off at start-up instead: the write then fails with "File too large", and that failure is handled
// as a full disk is (the old file kept, a transfer carried on, the user told).
namespace FileSizeLimit {

void IgnoreSignal();

} // namespace FileSizeLimit
