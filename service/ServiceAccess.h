#pragma once

#include <QString>

// The service unlock: the access code and the process-wide flag it sets. Once granted, service access
// lasts until the program ends; it is never stored. While it is granted, the channel Write also sends
// the radio's alignment areas.
class CServiceAccess {
public:
    // The one code the Password dialog and program-cli's --access-code accept (exact, case-sensitive).
    static const QString kAccessCode;

    static bool Accepts(const QString& code);
    static bool IsGranted();
    // Sets the flag; there is no way back within a run.
    static void Grant();
    // Tests only: the state of a fresh start.
    static void ResetForTest();

private:
    static bool s_bGranted;
};
