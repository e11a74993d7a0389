#include "link/VerifyRun.h"

#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "link/LogRecord.h"
#include "link/ProcessDlg.h"
#include "link/TransferDriver.h"
#include "link/TransferNotes.h"
#include "link/WriteVerify.h"

#include <QScopeGuard>

namespace {
constexpr CBilingual kCaption { "Verify", "校验" };
}

QString CVerifyRun::Caption()
{
    return kCaption.Text();
}

bool CVerifyRun::Run(CProcessDlg* dialog, QWidget* messageParent, const CCloneTransfer& written, const QString& device,
    CLogRecord* record, Result* result)
{
    Result ending;
    const auto told = qScopeGuard([&ending, result] {
        if (result)
            *result = ending;
    });
    dialog->Continue(Caption());
    const std::unique_ptr<CCloneTransfer> readBack = CWriteVerify::ReadBack(written);
    CTransferDriver driver(dialog, messageParent);
    const CCloneTransfer::Status status = driver.Run(*readBack, device);
    if (record)
        record->SetVerify(status,
            status == CCloneTransfer::Status::Done ? CWriteVerify::FirstDifference(written, readBack->Image()) : std::nullopt);
    if (driver.Abandoned())
        return false;
    // A failed read-back has had its message from the driver; a cancelled one says nothing.
    if (status != CCloneTransfer::Status::Done)
        return true;
    const bool zh = CLanguage::IsChinese();
    const auto mismatch = CWriteVerify::FirstDifference(written, readBack->Image());
    ending.kind = mismatch ? Result::Kind::Differs : Result::Kind::Verified;
    ending.address = mismatch ? mismatch->address : 0;
    if (mismatch)
        CMessageBox::Show(messageParent,
            CWriteVerify::FailedReport(*mismatch, TransferNotes::PortLabel(written.PortName(), device), zh),
            QMessageBox::Ok, QMessageBox::Warning);
    else
        CMessageBox::Show(messageParent, CWriteVerify::VerifiedText(CWriteVerify::ByteCount(written), zh),
            QMessageBox::Ok, QMessageBox::Information);
    return true;
}
