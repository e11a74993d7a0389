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
    // False when the progress window's view went away meanwhile: the caller must not touch it. The
    // read-back's result goes into record when one is given; verified, when given, says whether the
    // read-back matched what was written.
    static bool Run(CProcessDlg* dialog, QWidget* messageParent, const CCloneTransfer& written, const QString& device,
        CLogRecord* record = nullptr, bool* verified = nullptr);
    // The window's title during the read-back.
    static QString Caption();
};
