#include "config/UserDataNotes.h"

#include "config/Language.h"

#include <QDir>

namespace UserDataNotes {

namespace {
constexpr CBilingual kTracePromptText { "Record every byte to and from the radio, one file per port, in %1",
    "把与电台往来的每个字节记录下来, 每个串口一个文件, 保存在 %1" };
constexpr CBilingual kTraceOnText { "Serial traffic is logged in %1", "串口通信记录保存在 %1" };
constexpr CBilingual kTraceOffText { "Serial traffic is no longer logged; the files already made stay in %1",
    "已停止记录串口通信; 已有的记录文件仍在 %1" };
constexpr CBilingual kFolderNotOpenedText { "The data folder %1 could not be opened.\n"
                                            "Open it in your file manager: it holds the backups, the serial "
                                            "traces and the programming log.",
    "无法打开数据文件夹 %1。\n请在文件管理器中打开它: 备份、串口记录和编程日志都在其中。" };
} // namespace

QString TracePrompt(const QString& folder, bool chinese)
{
    return kTracePromptText.Text(chinese).arg(QDir::toNativeSeparators(folder));
}

QString TraceSwitched(bool on, const QString& folder, bool chinese)
{
    return (on ? kTraceOnText : kTraceOffText).Text(chinese).arg(QDir::toNativeSeparators(folder));
}

QString FolderNotOpened(const QString& folder, bool chinese)
{
    return kFolderNotOpenedText.Text(chinese).arg(QDir::toNativeSeparators(folder));
}

} // namespace UserDataNotes
