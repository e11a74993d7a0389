#pragma once

#include <QString>

// The service unlock: the access code and the process-wide flag it sets. Once granted, service access
// lasts until the program ends; it is never stored. While it is granted, a channel Write may also send
// the radio's power and alignment tables, when the user agrees to it for that write.
class CServiceAccess {
public:
    // The one code the Password dialog and program-cli's --access-code accept (exact, case-sensitive).
    static const QString kAccessCode;

    static bool Accepts(const QString& code);
    static bool IsGranted();
    // Sets the flag; there is no way back within a run.
    static void Grant();
    // The mark the window shows while access is granted, in the status bar and after the title: the
    // next Write may also replace a radio's calibration.
    static QString ModeText(bool chinese);
    // title followed by "  [Service Mode]" while access is granted; title as it is before.
    static QString MarkedTitle(const QString& title, bool chinese);
    // Tests only: the state of a fresh start.
    static void ResetForTest();

private:
    static bool s_bGranted;
};
