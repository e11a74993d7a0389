#include "config/Language.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliLink.h"
#include "image/DataFile.h"
#include "link/CloneTransfer.h"
#include "service/ServiceAccess.h"

namespace {

constexpr CBilingual kWrongCode { "Wrong access code: nothing was sent.", "访问码错误: 未发送任何数据。" };
constexpr CBilingual kVerifyFailed { "Verify failed at address 0x%1: wrote %2, read back %3.",
    "校验失败: 地址 0x%1 写入 %2, 读回 %3。" };
constexpr CBilingual kVerified { "Verified %1 bytes.", "已校验 %1 字节。" };

QString Hex(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

// Reads back the blocks just written and compares them with what was sent.
int Verify(CCliContext &context, const CCloneTransfer &written, const QString &device)
{
    CCloneTransfer readBack(CCloneTransfer::Direction::Read, written.Blocks(), written.Image());
    if (!CliLink::Run(context, readBack, device))
        return CCliContext::kFailed;
    const bool zh = context.IsChinese();
    int bytes = 0;
    for (const CCloneBlock &block : written.Blocks()) {
        for (int address = block.address; address < block.address + block.length; ++address, ++bytes) {
            const int sent = written.Image().Byte(address);
            const int found = readBack.Image().Byte(address);
            if (sent != found)
                return context.Fail(kVerifyFailed.Text(zh).arg(Hex(address, 3), Hex(sent, 2), Hex(found, 2)));
        }
    }
    context.Out() << kVerified.Text(zh).arg(bytes) << Qt::endl;
    return CCliContext::kDone;
}

} // namespace

// program-cli write --port PORT FILE [--access-code CODE] [--verify]: sends a data file to the radio
// by the write plan; the service access code widens it to the alignment areas.
int RunWrite(CCliContext &context, const QStringList &args)
{
    QString port;
    QString path;
    QString accessCode;
    bool hasAccessCode = false;
    bool verify = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--port") && i + 1 < args.size()) {
            port = args.at(++i);
        } else if (arg == QLatin1String("--access-code") && i + 1 < args.size()) {
            accessCode = args.at(++i);
            hasAccessCode = true;
        } else if (arg == QLatin1String("--verify")) {
            verify = true;
        } else if (path.isEmpty() && !arg.startsWith(QLatin1Char('-'))) {
            path = arg;
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (port.isEmpty() || path.isEmpty())
        return context.UsageError(QStringLiteral("write needs --port PORT and a FILE"));

    // The code unlocks this one write; the command line keeps no state between runs.
    if (hasAccessCode && !CServiceAccess::Accepts(accessCode))
        return context.Fail(kWrongCode.Text(context.IsChinese()));

    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));

    const QString device = CliLink::DeviceFor(context, port);
    const std::unique_ptr<CCloneTransfer> transfer = CCloneTransfer::ChannelWrite(image, hasAccessCode);
    if (!CliLink::Run(context, *transfer, device))
        return CCliContext::kFailed;
    return verify ? Verify(context, *transfer, device) : CCliContext::kDone;
}
