#include "link/WriteVerify.h"

#include "config/Language.h"
#include "image/ImageField.h"
#include "image/RadioImage.h"
#include "link/CloneTransfer.h"

namespace {

constexpr CBilingual kVerifyFailed { "Verify failed at address 0x%1: wrote 0x%2, read back 0x%3.",
    "校验失败: 地址 0x%1 写入 0x%2, 读回 0x%3。" };
constexpr CBilingual kVerifyWhere {
    "%1: 0x%2 is %3. Write again; if the verify fails again, the radio's memory is suspect.",
    "%1: 0x%2 是%3。请重新写入; 若校验再次失败, 电台的存储器可能有故障。"
};
constexpr CBilingual kVerified { "Verified %1 bytes.", "已校验 %1 字节。" };
constexpr CBilingual kNotVerified { "All %1 bytes went out to %2, but the verify did not finish: the radio's memory "
                                    "is not verified. Write again to verify it.",
    "%1 字节已全部写入 %2, 但校验未完成: 电台存储未经校验。请重新写入以校验。" };

QString Hex(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

} // namespace

std::unique_ptr<CCloneTransfer> CWriteVerify::ReadBack(const CCloneTransfer &written)
{
    auto readBack = std::make_unique<CCloneTransfer>(CCloneTransfer::Direction::Read, written.Blocks(), written.Image());
    readBack->SetPortName(written.PortName());
    return readBack;
}

std::optional<CWriteVerify::Mismatch> CWriteVerify::FirstDifference(
    const CCloneTransfer &written, const CRadioImage &readBack)
{
    for (const CCloneBlock &block : written.Blocks()) {
        for (int address = block.address; address < block.address + block.length; ++address) {
            const int sent = written.Image().Byte(address);
            const int found = readBack.Byte(address);
            if (sent != found)
                return Mismatch { address, sent, found };
        }
    }
    return std::nullopt;
}

int CWriteVerify::ByteCount(const CCloneTransfer &written)
{
    int bytes = 0;
    for (const CCloneBlock &block : written.Blocks())
        bytes += block.length;
    return bytes;
}

QString CWriteVerify::FailedText(const Mismatch &mismatch, bool chinese)
{
    return kVerifyFailed.Text(chinese).arg(Hex(mismatch.address, 3), Hex(mismatch.sent, 2), Hex(mismatch.found, 2));
}

QString CWriteVerify::FailedReport(const Mismatch &mismatch, const QString &port, bool chinese)
{
    return FailedText(mismatch, chinese) + QLatin1Char('\n') + WhereText(mismatch, port, chinese);
}

QString CWriteVerify::WhereText(const Mismatch &mismatch, const QString &port, bool chinese)
{
    return kVerifyWhere.Text(chinese).arg(
        port, Hex(mismatch.address, 3), ImageField::Describe(mismatch.address, chinese));
}

QString CWriteVerify::VerifiedText(int bytes, bool chinese)
{
    return kVerified.Text(chinese).arg(bytes);
}

QString CWriteVerify::NotVerifiedText(int bytes, const QString &port, bool chinese)
{
    return kNotVerified.Text(chinese).arg(bytes).arg(port);
}
