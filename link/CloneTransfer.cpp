#include "link/CloneTransfer.h"

#include "config/Language.h"
#include "config/StringTable.h"
#include "link/CloneProtocol.h"
#include "link/SerialPort.h"

#include <algorithm>

namespace {
constexpr CBilingual kCommunicationError { "Communication Error", "通信出错" };
constexpr CBilingual kPartialWrite {
    "The radio may now hold part of the new data. Write it again before using the radio.",
    "电台中可能只有部分新数据, 请重新写入后再使用电台。"
};
}

CCloneTransfer::CCloneTransfer(Direction direction, std::vector<CCloneBlock> blocks, const CRadioImage &image)
    : m_Direction(direction)
    , m_Blocks(std::move(blocks))
    , m_Image(image)
    , m_Port(std::make_shared<CSerialPort>())
{
}

CCloneTransfer::~CCloneTransfer() = default;

void CCloneTransfer::UsePort(std::shared_ptr<CSerialPort> port)
{
    if (m_Status != Status::Ready || !port)
        return;
    m_Port = std::move(port);
    m_bHeldPort = true;
}

std::unique_ptr<CCloneTransfer> CCloneTransfer::ChannelRead(const CRadioImage &start)
{
    return std::make_unique<CCloneTransfer>(Direction::Read, ClonePlan::ReadBlocks(), start);
}

std::unique_ptr<CCloneTransfer> CCloneTransfer::ChannelWrite(const CRadioImage &image, bool serviceAccess)
{
    return std::make_unique<CCloneTransfer>(Direction::Write, ClonePlan::WriteBlocks(serviceAccess), image);
}

CCloneTransfer::Status CCloneTransfer::End(Status status)
{
    if (!m_bHeldPort)
        m_Port->Close();
    m_Status = status;
    return m_Status;
}

CCloneTransfer::Status CCloneTransfer::Begin(const QString &device)
{
    if (m_Status != Status::Ready)
        return m_Status;
    m_strDevice = device;
    if (!(m_bHeldPort && m_Port->IsOpen()) && !m_Port->Open(device))
        return End(Status::PortOpenFailed);
    if (!m_bServiceLink)
        m_Port->RaiseControlLines();
    if (!CloneProtocol::OpenLink(*m_Port, m_bServiceLink && m_Direction == Direction::Write)) {
        m_FailedStep = m_Port->IsBroken() ? TransferNotes::Step::PortBroken : TransferNotes::Step::WakeUp;
        return End(Status::CommunicationError);
    }
    if (m_Blocks.empty())
        return End(Status::Done);
    m_Status = Status::Running;
    return m_Status;
}

CCloneTransfer::Status CCloneTransfer::Step()
{
    if (m_Status != Status::Running)
        return m_Status;
    const CCloneBlock &block = m_Blocks[static_cast<std::size_t>(m_nDone)];
    if (m_Direction == Direction::Write)
        m_bSentAny = true;
    CloneProtocol::Failure failure = CloneProtocol::Failure::None;
    const bool moved = m_Direction == Direction::Read ? CloneProtocol::ReadBlock(*m_Port, block, m_Image, &failure)
                                                      : CloneProtocol::WriteBlock(*m_Port, block, m_Image, &failure);
    if (!moved) {
        m_FailedStep = m_Port->IsBroken()                ? TransferNotes::Step::PortBroken
            : failure == CloneProtocol::Failure::Refused ? TransferNotes::Step::BlockRefused
                                                         : TransferNotes::Step::BlockMissing;
        return End(Status::CommunicationError);
    }
    if (++m_nDone == BlockCount())
        return End(Status::Done);
    return m_Status;
}

CCloneTransfer::Status CCloneTransfer::Stop()
{
    if (m_Status == Status::Running || m_Status == Status::Ready)
        return End(Status::Stopped);
    return m_Status;
}

CCloneTransfer::Status CCloneTransfer::Run(const QString &device, const BlockCallback &onBlock)
{
    Status status = Begin(device);
    // A stop asked for while the radio was being woken up: not one block goes out.
    if (status == Status::Running && onBlock && !onBlock(0, BlockCount()))
        status = Stop();
    while (status == Status::Running) {
        status = Step();
        if (status != Status::Running && status != Status::Done)
            break;
        if (onBlock && !onBlock(m_nDone, BlockCount()) && status == Status::Running)
            status = Stop();
    }
    return status;
}

QString CCloneTransfer::Message(Status status, bool chinese)
{
    switch (status) {
    case Status::PortOpenFailed: return StringTable::Message(StringTable::kPortOpenFailed);
    case Status::CommunicationError: return kCommunicationError.Text(chinese);
    case Status::Ready:
    case Status::Running:
    case Status::Done:
    case Status::Stopped: return {};
    }
    return {};
}

QString CCloneTransfer::PortFailureReason(bool chinese) const
{
    if (m_Status != Status::PortOpenFailed)
        return QString();
    // The port as the user picked it, with the device it stands for: "COM3 (/dev/ttyUSB2)".
    return m_Port->FailureReason(chinese, m_strPortName.isEmpty() ? QString() : PortLabel());
}

bool CCloneTransfer::MayHoldPartialWrite() const
{
    return m_Direction == Direction::Write && m_bSentAny
        && (m_Status == Status::CommunicationError || m_Status == Status::Stopped);
}

QString CCloneTransfer::PartialWriteWarning(bool chinese)
{
    return kPartialWrite.Text(chinese);
}

QString CCloneTransfer::PortLabel() const
{
    return TransferNotes::PortLabel(m_strPortName, m_strDevice);
}

QString CCloneTransfer::FailureLine(bool chinese) const
{
    if (m_Status != Status::CommunicationError)
        return {};
    const int block = std::min(m_nDone, BlockCount() - 1);
    const int address = block >= 0 ? m_Blocks[static_cast<std::size_t>(block)].address : 0;
    return TransferNotes::FailureLine(m_FailedStep, PortLabel(), block + 1, BlockCount(), address, chinese);
}

QString CCloneTransfer::FailureReason() const
{
    if (m_Status != Status::CommunicationError)
        return {};
    const int block = std::min(m_nDone, BlockCount() - 1);
    const int address = block >= 0 ? m_Blocks[static_cast<std::size_t>(block)].address : 0;
    return TransferNotes::StepReason(m_FailedStep, block + 1, BlockCount(), address);
}

int CCloneTransfer::ByteCount() const
{
    int bytes = 0;
    for (const CCloneBlock &block : m_Blocks)
        bytes += block.length;
    return bytes;
}

QStringList CCloneTransfer::OutcomeLines(bool chinese) const
{
    QStringList lines;
    for (const QString &line : { Message(m_Status, chinese), FailureLine(chinese), PortFailureReason(chinese) })
        if (!line.isEmpty())
            lines << line;
    // A stopped write says where and how far it got above its warning; a stopped read stays quiet.
    if (m_Status == Status::Stopped && MayHoldPartialWrite())
        lines << TransferNotes::StoppedLine(true, PortLabel(), m_nDone, BlockCount(), chinese);
    if (MayHoldPartialWrite())
        lines << PartialWriteWarning(chinese);
    return lines;
}
