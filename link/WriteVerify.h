#pragma once

#include <QString>

#include <memory>
#include <optional>

class CCloneTransfer;
class CRadioImage;

// Checking a finished write: the same blocks read back from the radio and compared byte by byte with
// what was sent. Used by program-cli write --verify, the batch writes and the window's check box.
class CWriteVerify {
public:
    struct Mismatch {
        int address = 0;
        int sent = 0;
        int found = 0;
    };

    // A read of exactly the blocks written, starting from the image sent.
    static std::unique_ptr<CCloneTransfer> ReadBack(const CCloneTransfer &written);
    // The first address, in the order the blocks were sent, where readBack differs from what was sent.
    static std::optional<Mismatch> FirstDifference(const CCloneTransfer &written, const CRadioImage &readBack);
    static int ByteCount(const CCloneTransfer &written);

    // "Verify failed at address 0x1A0: wrote 0x12, read back 0xFF." and "Verified 768 bytes."
    static QString FailedText(const Mismatch &mismatch, bool chinese);
    // The second line under it: the port, what the address holds and what to do, e.g. "COM1: 0x092 is
    // channel 9's receive frequency. Write again; if the verify fails again, the radio's memory is suspect."
    static QString WhereText(const Mismatch &mismatch, const QString &port, bool chinese);
    // Both lines.
    static QString FailedReport(const Mismatch &mismatch, const QString &port, bool chinese);
    static QString VerifiedText(int bytes, bool chinese);
    // After a read-back that failed or was stopped: every block went out, none was checked.
    static QString NotVerifiedText(int bytes, const QString &port, bool chinese);
};
