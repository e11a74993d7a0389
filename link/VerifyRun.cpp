#include "link/VerifyRun.h"

#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "link/ProcessDlg.h"
#include "link/TransferDriver.h"
#include "link/WriteVerify.h"

namespace {
constexpr CBilingual kCaption { "Verify", "校验" };
}

QString CVerifyRun::Caption()
{
    return kCaption.Text();
}

bool CVerifyRun::Run(CProcessDlg* dialog, QWidget* messageParent, const CCloneTransfer& written, const QString& device)
{
    dialog->Continue(Caption());
    const std::unique_ptr<CCloneTransfer> readBack = CWriteVerify::ReadBack(written);
    CTransferDriver driver(dialog, messageParent);
    const CCloneTransfer::Status status = driver.Run(*readBack, device);
    if (driver.Abandoned())
        return false;
    // A failed read-back has had its message from the driver; a cancelled one says nothing.
    if (status != CCloneTransfer::Status::Done)
        return true;
    const bool zh = CLanguage::IsChinese();
    if (const auto mismatch = CWriteVerify::FirstDifference(written, readBack->Image()))
        CMessageBox::Show(messageParent, CWriteVerify::FailedText(*mismatch, zh), QMessageBox::Ok, QMessageBox::Warning);
    else
        CMessageBox::Show(messageParent, CWriteVerify::VerifiedText(CWriteVerify::ByteCount(written), zh),
            QMessageBox::Ok, QMessageBox::Information);
    return true;
}
