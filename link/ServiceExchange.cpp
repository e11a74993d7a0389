#include "link/ServiceExchange.h"

#include "config/Language.h"
#include "image/ImageMap.h"

namespace {

constexpr CBilingual kReadDone { "Read Successfully", "读数据成功" };
constexpr CBilingual kWriteDone { "Write Successfully", "写数据成功" };
// The two sides have always worded the failure differently in Chinese.
constexpr CBilingual kReadFailed { "Communication Error", "通信出错" };
constexpr CBilingual kWriteFailed { "Communication Error", "通讯出错" };
constexpr CBilingual kPortFailed { "Open the serial port fails", "打开串口失败" };
constexpr CBilingual kExchangeStopped { "Stopped.", "已停止。" };
constexpr CBilingual kPartlyWritten {
    "The radio may now hold part of the new values; write again before use.",
    "电台中可能只有部分新数据, 请重新写入后再使用。"
};

std::vector<CCloneBlock> BlocksOf(CServiceExchange::Area area)
{
    const CCloneSegment range[] = { CServiceExchange::Range(area) };
    return ClonePlan::PlanBlocks(range);
}

} // namespace

CCloneSegment CServiceExchange::Range(Area area)
{
    if (area == Area::Power)
        return { ImageMap::kPowerTable, ImageMap::kTransferEnd };
    return { ImageMap::kAlignmentStart, ImageMap::kAlignmentEnd };
}

CServiceExchange::CServiceExchange(Direction direction, Area area, const CRadioImage& image)
    : m_Area(area)
    , m_Transfer(direction, BlocksOf(area), image)
{
    m_Transfer.SetServiceLink(true);
}

CServiceExchange::Status CServiceExchange::Begin(const QString& device)
{
    const Status status = m_Transfer.Begin(device);
    m_bLinked = status == Status::Running || status == Status::Done;
    return status;
}

CServiceExchange::Status CServiceExchange::Step()
{
    return m_Transfer.Step();
}

CServiceExchange::Status CServiceExchange::Stop()
{
    return m_Transfer.Stop();
}

CServiceExchange::Status CServiceExchange::Run(
    const QString& device, const CCloneTransfer::BlockCallback& onBlock)
{
    Status status = Begin(device);
    // A stop asked for while the radio was being woken up: not one block goes out.
    if (status == Status::Running && onBlock && !onBlock(0, BlockCount()))
        status = Stop();
    while (status == Status::Running) {
        status = Step();
        if (status != Status::Running && status != Status::Done)
            break;
        if (onBlock && !onBlock(m_Transfer.BlocksDone(), BlockCount()) && status == Status::Running)
            status = Stop();
    }
    return status;
}

bool CServiceExchange::TakeOver(CRadioImage& image) const
{
    if (TransferDirection() != Direction::Read || !Succeeded())
        return false;
    for (const CCloneBlock& block : Blocks())
        image.CopyIn(block.address, Image().Range(block.address, block.length));
    return true;
}

QString CServiceExchange::Message(bool chinese) const
{
    const bool read = TransferDirection() == Direction::Read;
    QString text;
    switch (CurrentStatus()) {
    case Status::Ready:
    case Status::Running:
        return {};
    case Status::Done:
        return (read ? kReadDone : kWriteDone).Text(chinese);
    case Status::PortOpenFailed:
        return kPortFailed.Text(chinese);
    case Status::CommunicationError:
        // The step that failed on which port and what to check, as after a channel Read or Write.
        text = (read ? kReadFailed : kWriteFailed).Text(chinese) + QLatin1Char('\n')
            + m_Transfer.FailureLine(chinese);
        break;
    case Status::Stopped:
        text = kExchangeStopped.Text(chinese);
        break;
    }
    if (!read && m_bLinked)
        text += QLatin1Char('\n') + kPartlyWritten.Text(chinese);
    return text;
}
