#pragma once

class CCloneTransfer;
class CLogRecord;
class CProcessDlg;
class QString;
class QWidget;

// "Verify after writing" in the window: straight after a write that went through, the same blocks are
// read back in the progress window (Cancel works between blocks as in any transfer) and a message says
// either how many bytes were checked or the first address that differs.
class CVerifyRun {
public:
    struct Result {
        enum class Kind { NotRead, Verified, Differs } kind = Kind::NotRead; // NotRead: failed or cancelled
        int address = 0; // the first address that differs
    };

    // False when the progress window's view went away meanwhile: the caller must not touch it. The
    // read-back's result goes into record when one is given, and how it ended into result.
    static bool Run(CProcessDlg* dialog, QWidget* messageParent, const CCloneTransfer& written, const QString& device,
        CLogRecord* record = nullptr, Result* result = nullptr);
    // The window's title during the read-back.
    static QString Caption();
};
