#pragma once

// A request from outside the program to stop: Ctrl+C, a closed terminal or a dropped ssh session
// (SIGHUP), a shutdown or `timeout` (SIGTERM); on Windows Ctrl+C, Ctrl+Break and the console being
// closed. A transfer polls it between blocks, so a stopped transfer ends the way Cancel ends it: the
// port closed cleanly, the user told what the radio holds, the programming log written.
class CStopRequest
{
public:
    // Catches the stop signals for as long as it lives and clears any earlier request; guards may
    // nest (a batch around its transfers), the outermost one puts the previous handling back.
    CStopRequest();
    ~CStopRequest();

    CStopRequest(const CStopRequest &) = delete;
    CStopRequest &operator=(const CStopRequest &) = delete;

    // True once a stop signal arrived while a guard lived. Safe from any thread.
    static bool Pending();
    // The signal that asked, for messages: "SIGTERM", "SIGHUP", "SIGINT"; empty when none did.
    static const char *SignalName();
    // A descriptor that turns readable when a stop signal arrives, for a window's event loop; -1 where
    // the platform has none (the window then polls Pending()).
    static int NotifyDescriptor();
    // Empties the descriptor after the event loop was woken by it.
    static void DrainNotify();
};
