#include "LinkTestSupport.h"

#include "image/DataFile.h"
#include "image/RadioImage.h"

#include <QCoreApplication>
#include <QTest>

namespace LinkTest {

std::unique_ptr<CVirtualRadio> StartRadio(const QStringList &faults, int baud)
{
    auto radio = std::make_unique<CVirtualRadio>();
    if (baud > 0)
        radio->SetPace(baud);
    for (const QString &name : faults) {
        const std::optional<CRadioFault> fault = CRadioFault::Parse(name.toStdString());
        if (!fault)
            qFatal("unknown fault %s", qPrintable(name));
        radio->AddFault(*fault);
    }
    std::string error;
    if (!radio->Open(error))
        qFatal("no pseudo-terminal: %s", error.c_str());
    radio->Start();
    return radio;
}

QString Device(const CVirtualRadio &radio)
{
    return QString::fromStdString(radio.DevicePath());
}

QByteArray ReceivedAfter(const CVirtualRadio &radio, const QByteArray &expected)
{
    radio.WaitForReceived(static_cast<std::size_t>(expected.size()), 5000);
    const std::vector<std::uint8_t> bytes = radio.Received();
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QByteArray WakeUp()
{
    return QByteArray::fromHex("0250524F4752414E");
}

QByteArray LinkOpening(int wakeUps)
{
    return WakeUp().repeated(wakeUps) + QByteArray::fromHex("0206");
}

QByteArray ReadFrame(const CCloneBlock &block)
{
    const char frame[4] = { 0x52, char(block.address >> 8), char(block.address & 0xFF), char(block.length) };
    return QByteArray(frame, 4);
}

QByteArray WriteFrame(const CCloneBlock &block, const RadioMemory::Bytes &memory)
{
    QByteArray frame = ReadFrame(block);
    frame[0] = 0x57;
    return frame + QByteArray(reinterpret_cast<const char *>(memory.data()) + block.address, block.length);
}

QByteArray ReadSession(const std::vector<CCloneBlock> &blocks)
{
    QByteArray bytes = LinkOpening(1);
    for (const CCloneBlock &block : blocks)
        bytes += ReadFrame(block) + '\x06';
    return bytes;
}

QByteArray WriteSession(const std::vector<CCloneBlock> &blocks, const RadioMemory::Bytes &memory)
{
    QByteArray bytes = LinkOpening(1);
    for (const CCloneBlock &block : blocks)
        bytes += WriteFrame(block, memory);
    return bytes;
}

RadioMemory::Bytes BytesOf(const CRadioImage &image)
{
    RadioMemory::Bytes bytes {};
    std::copy(image.Data().begin(), image.Data().end(), bytes.begin());
    return bytes;
}

RadioMemory::Bytes Pattern(int seed)
{
    RadioMemory::Bytes bytes {};
    for (int i = 0; i < RadioMemory::kSize; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i * 7 + seed * 31 + (i >> 8)) & 0xFF);
    return bytes;
}

RadioMemory::Bytes Overlay(const RadioMemory::Bytes &base, const RadioMemory::Bytes &over, const QList<int> &ranges)
{
    RadioMemory::Bytes bytes = base;
    for (qsizetype i = 0; i + 1 < ranges.size(); i += 2)
        std::copy(over.begin() + ranges[i], over.begin() + ranges[i + 1], bytes.begin() + ranges[i]);
    return bytes;
}

RadioMemory::Bytes Written(const RadioMemory::Bytes &base, const RadioMemory::Bytes &source, bool service)
{
    return Overlay(base, source, service ? kServiceRanges : kWriteRanges);
}

std::vector<CCloneBlock> BlocksOf(const QList<int> &ranges)
{
    std::vector<CCloneBlock> blocks;
    for (qsizetype i = 0; i + 1 < ranges.size(); i += 2)
        for (int at = ranges[i]; at < ranges[i + 1]; at += 16)
            blocks.push_back({ at, std::min(16, ranges[i + 1] - at) });
    return blocks;
}

CPortHolder::CPortHolder(const QString &device)
{
    m_Process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/link_port_holder"), { device });
    if (m_Process.waitForStarted() && m_Process.waitForReadyRead(10000))
        m_bHeld = m_Process.readLine().trimmed() == "held";
}

CPortHolder::~CPortHolder()
{
    m_Process.closeWriteChannel();
    if (!m_Process.waitForFinished(5000))
        m_Process.kill();
}

QString SaveSourceFile(const QString &folder, const RadioMemory::Bytes &bytes)
{
    CRadioImage image;
    image.CopyIn(0, bytes);
    const QString path = folder + QStringLiteral("/source.dat");
    DataFile::Save(path, image);
    return path;
}

} // namespace LinkTest
