#include "link/TransferNotes.h"

#include "config/Language.h"
#include "config/UserFront.h"

namespace TransferNotes {

namespace {

constexpr CBilingual kWakeUp { "%1: the radio did not answer the wake-up. Is the radio switched on, the cable "
                               "plugged in at both ends, and %1 the port the cable is on?",
    "%1: 电台没有应答唤醒。电台是否已开机? 电缆两端是否插好? 电缆是否接在 %1 上?" };
constexpr CBilingual kMissing { "%1: block %2 of %3 (address %4) did not arrive. Is the radio still on and the "
                                "cable firmly plugged in? Try again.",
    "%1: 第 %2/%3 块 (地址 %4) 没有收到。电台是否仍开机? 电缆是否插牢? 请重试。" };
constexpr CBilingual kRefused { "%1: the radio refused block %2 of %3 (address %4). Switch the radio off and on "
                                "again and try again.",
    "%1: 电台拒收第 %2/%3 块 (地址 %4)。请将电台关机再开机后重试。" };
constexpr CBilingual kBroken { "%1: the port stopped working (the device went away or failed). Is the cable, or its "
                               "USB adapter, still plugged in? Check the port in Setup > Com Setup.",
    "%1: 端口停止工作 (设备已断开或出错)。电缆或其 USB 转换器是否仍插好? 请在 设置 > 通信设置 中检查端口。" };
constexpr CBilingual kBrokenCommandLine {
    "%1: the port stopped working (the device went away or failed). Is the cable, or its USB adapter, still "
    "plugged in? program-cli ports lists the ports there are now.",
    "%1: 端口停止工作 (设备已断开或出错)。电缆或其 USB 转换器是否仍插好? program-cli ports 列出当前可用的端口。"
};
constexpr CBilingual kProgress { "Port: %1. If nothing happens after OK, check that the radio is on, the cable is "
                                 "plugged in and %1 is the right port (Setup > Com Setup; F1 tells more).",
    "端口: %1。按确定后若无反应, 请检查电台是否开机、电缆是否插好、%1 是否为正确端口 (设置 > 通信设置; 按 F1 "
    "查看帮助)。" };
constexpr CBilingual kReadDone { "Read %1 bytes from %2 at %3", "%3 从 %2 读取了 %1 字节" };
constexpr CBilingual kWriteDone { "Wrote %1 bytes to %2 at %3", "%3 向 %2 写入了 %1 字节" };
constexpr CBilingual kVerifiedDone { "Wrote and verified %1 bytes on %2 at %3", "%3 向 %2 写入并校验了 %1 字节" };
constexpr CBilingual kVerifyFailedDone { "Write to %1 failed its verify at %2 (0x%3 differs); write again",
    "%2 向 %1 写入后校验失败 (0x%3 不符), 请重新写入" };
constexpr CBilingual kNotVerifiedDone {
    "Wrote %1 bytes to %2 at %3, not verified: the read-back did not finish",
    "%3 向 %2 写入了 %1 字节, 但未经校验: 回读没有完成"
};

constexpr CBilingual kWriteStopped { "Write to %1 stopped after %2 of %3 blocks.", "向 %1 写入已停止: 完成 %2/%3 块。" };
constexpr CBilingual kReadStopped { "Read from %1 stopped after %2 of %3 blocks.", "从 %1 读取已停止: 完成 %2/%3 块。" };
constexpr CBilingual kWriteStoppedDone { "Write to %1 stopped after %2 of %3 blocks at %4; write again before using "
                                         "the radio",
    "%4 向 %1 写入已停止: 完成 %2/%3 块; 请重新写入后再使用电台" };
constexpr CBilingual kWriteStoppedEarly { "Write to %1 stopped at %2 before the first block; the radio is unchanged",
    "%2 向 %1 写入已停止, 第一块之前; 电台未改变" };
constexpr CBilingual kReadStoppedDone { "Read from %1 stopped after %2 of %3 blocks at %4; the document is unchanged",
    "%4 从 %1 读取已停止: 完成 %2/%3 块; 文档未改变" };

QString Clock(const QTime &at)
{
    return at.toString(QStringLiteral("HH:mm"));
}

} // namespace

QString PortLabel(const QString &name, const QString &device)
{
    if (device.isEmpty() || device == name)
        return name;
    if (name.isEmpty())
        return device;
    return QStringLiteral("%1 (%2)").arg(name, device);
}

QString FailureLine(Step step, const QString &port, int block, int total, int address, bool chinese)
{
    const QString where
        = QStringLiteral("0x") + QString::number(address, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    switch (step) {
    case Step::WakeUp: return kWakeUp.Text(chinese).arg(port);
    // One pass, so that a device path holding "%2" is shown as it is.
    case Step::BlockMissing:
        return kMissing.Text(chinese).arg(port, QString::number(block), QString::number(total), where);
    case Step::BlockRefused:
        return kRefused.Text(chinese).arg(port, QString::number(block), QString::number(total), where);
    case Step::PortBroken: return UserFront::Pick(kBroken, kBrokenCommandLine).Text(chinese).arg(port);
    }
    return {};
}

QString StepReason(Step step, int block, int total, int address)
{
    // The words of the English lines above, between the port and the advice.
    const QString where
        = QStringLiteral("0x") + QString::number(address, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    switch (step) {
    case Step::WakeUp: return QStringLiteral("the radio did not answer the wake-up");
    case Step::BlockMissing: return QStringLiteral("block %1 of %2 (address %3) did not arrive").arg(block).arg(total).arg(where);
    case Step::BlockRefused: return QStringLiteral("the radio refused block %1 of %2 (address %3)").arg(block).arg(total).arg(where);
    case Step::PortBroken: return QStringLiteral("the port stopped working (the device went away or failed)");
    }
    return {};
}

QString ProgressNote(const QString &port, bool chinese)
{
    return kProgress.Text(chinese).arg(port);
}

QString Grouped(int value)
{
    QString digits = QString::number(value < 0 ? -qint64(value) : qint64(value));
    for (int at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString ReadDone(int bytes, const QString &port, const QTime &at, bool chinese)
{
    return kReadDone.Text(chinese).arg(Grouped(bytes), port, Clock(at));
}

QString WriteDone(int bytes, const QString &port, bool verified, const QTime &at, bool chinese)
{
    return (verified ? kVerifiedDone : kWriteDone).Text(chinese).arg(Grouped(bytes), port, Clock(at));
}

QString WriteVerifyFailed(const QString &port, int address, const QTime &at, bool chinese)
{
    return kVerifyFailedDone.Text(chinese).arg(
        port, Clock(at), QString::number(address, 16).toUpper().rightJustified(3, QLatin1Char('0')));
}

QString WriteNotVerified(int bytes, const QString &port, const QTime &at, bool chinese)
{
    return kNotVerifiedDone.Text(chinese).arg(Grouped(bytes), port, Clock(at));
}

QString StoppedLine(bool write, const QString &port, int done, int total, bool chinese)
{
    // In one pass: a device name with "%2" in it stays as it is.
    return (write ? kWriteStopped : kReadStopped).Text(chinese).arg(port, QString::number(done), QString::number(total));
}

QString StoppedDone(bool write, const QString &port, int done, int total, const QTime &at, bool chinese)
{
    if (!write)
        return kReadStoppedDone.Text(chinese).arg(port, QString::number(done), QString::number(total), Clock(at));
    // Nothing went out: the radio holds what it held, and no warning is due.
    if (done == 0)
        return kWriteStoppedEarly.Text(chinese).arg(port, Clock(at));
    return kWriteStoppedDone.Text(chinese).arg(port, QString::number(done), QString::number(total), Clock(at));
}

} // namespace TransferNotes
