#include "config/WrittenNotes.h"

#include "config/FileName.h"
#include "config/Language.h"

#include <QDir>

namespace WrittenNotes {
namespace {

// English counts need their singular (the count stays a %1 in it); Chinese has one form, so both of
// its entries are the same.
struct CCounted {
    CBilingual one;
    CBilingual many;
    QString Text(int count, bool chinese) const { return (count == 1 ? one : many).Text(chinese); }
};

constexpr CBilingual kSaved { "Saved %1 at %2", "%2 已保存 %1" };
constexpr CCounted kChannelsExported { { "Exported %1 channel to %2 at %3", "%3 已将 %1 个信道导出到 %2" },
    { "Exported %1 channels to %2 at %3", "%3 已将 %1 个信道导出到 %2" } };
constexpr CCounted kReportExported { { "Exported the report (%1 page) to %2 at %3", "%3 已将报表 (%1 页) 导出到 %2" },
    { "Exported the report (%1 pages) to %2 at %3", "%3 已将报表 (%1 页) 导出到 %2" } };
constexpr CCounted kLogExported { { "Exported %1 log record to %2 at %3", "%3 已将 %1 条日志记录导出到 %2" },
    { "Exported %1 log records to %2 at %3", "%3 已将 %1 条日志记录导出到 %2" } };
constexpr CCounted kBatchWritten { { "Batch Write: %1 radio written, %2 failed, at %3", "批量写入: %3 写入成功 %1 台, 失败 %2 台" },
    { "Batch Write: %1 radios written, %2 failed, at %3", "批量写入: %3 写入成功 %1 台, 失败 %2 台" } };

QString WrittenPath(const QString &path)
{
    return FileName::Display(QDir::toNativeSeparators(path));
}

QString WrittenClock(const QTime &at)
{
    return at.toString(QStringLiteral("HH:mm"));
}

} // namespace

QString Saved(const QString &path, const QTime &at, bool chinese)
{
    return kSaved.Text(chinese).arg(WrittenPath(path), WrittenClock(at));
}

QString ChannelsExported(int channels, const QString &path, const QTime &at, bool chinese)
{
    return kChannelsExported.Text(channels, chinese).arg(QString::number(channels), WrittenPath(path), WrittenClock(at));
}

QString ReportExported(int pages, const QString &path, const QTime &at, bool chinese)
{
    return kReportExported.Text(pages, chinese).arg(QString::number(pages), WrittenPath(path), WrittenClock(at));
}

QString LogExported(int records, const QString &path, const QTime &at, bool chinese)
{
    return kLogExported.Text(records, chinese).arg(QString::number(records), WrittenPath(path), WrittenClock(at));
}

QString BatchDone(int written, int failed, const QTime &at, bool chinese)
{
    return kBatchWritten.Text(written, chinese).arg(QString::number(written), QString::number(failed), WrittenClock(at));
}

} // namespace WrittenNotes
