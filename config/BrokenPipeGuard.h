#pragma once

// While it lives, writing to a pipe or socket whose reader has gone fails (EPIPE) instead of ending
// the program with SIGPIPE: a command that talks to a radio must still close the port and write its
// programming log record when the terminal or the pipe behind its output went away (a dropped ssh
// session, `| tee` ended by the same hang-up). Nestable; the outermost one puts the previous handling
// back. Nothing to do on Windows, which has no such signal.
class CBrokenPipeGuard
{
public:
    CBrokenPipeGuard();
    ~CBrokenPipeGuard();

    CBrokenPipeGuard(const CBrokenPipeGuard &) = delete;
    CBrokenPipeGuard &operator=(const CBrokenPipeGuard &) = delete;
};
