#include "image/ForeignFile.h"

#include "config/FileName.h"
#include "config/Language.h"
#include "config/ShellWord.h"
#include "config/UserFront.h"
#include "image/DataFile.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

// Bytes named in the message: enough to tell a text, a picture or another program's file apart.
constexpr int kForeignBytesShown = 8;

constexpr CBilingual kForeignWhy { "%1 is not a data file of this radio: it starts with %2 and holds %3 bytes; "
                                   "a data file starts with Q707 and holds %4 bytes.",
    "%1 不是本电台的数据文件: 它以 %2 开头, 共 %3 字节; 数据文件以 Q707 开头, 共 %4 字节。" };
constexpr CBilingual kForeignEmpty { "nothing", "空内容" };
constexpr CBilingual kForeignWindowHint { "It looks like a channel list (CSV): open a data file, then use File > "
                                          "Import CSV to bring these channels in.",
    "它看起来是信道列表 (CSV): 请先打开数据文件, 再用 文件 > 导入 CSV 导入这些信道。" };
constexpr CBilingual kForeignCliHint { "It looks like a channel list (CSV): bring it into a data file with "
                                       "program-cli import FILE.dat %1",
    "它看起来是信道列表 (CSV): 请用 program-cli import FILE.dat %1 导入到数据文件" };

QString foreignCount(qint64 value)
{
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

} // namespace

namespace ForeignFile {

QString Why(const QString &name, const QByteArray &start, qint64 size, bool chinese)
{
    const QByteArray first = start.left(kForeignBytesShown);
    QString shown = first.isEmpty() ? kForeignEmpty.Text(chinese) : QString::fromLatin1(first.toHex(' ').toUpper());
    // Printable ASCII is shown as text too: "Location" says more than its hex.
    const bool printable = !first.isEmpty()
        && std::all_of(first.begin(), first.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (printable)
        shown += QStringLiteral(" (\"%1\")").arg(QString::fromLatin1(first));
    return kForeignWhy.Text(chinese).arg(name, shown, foreignCount(size), foreignCount(DataFile::kFileSize));
}

bool LooksLikeChannelList(const QByteArray &start)
{
    QByteArray text = start;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    const qsizetype lineEnd = text.indexOf('\n');
    const QByteArray firstLine = lineEnd < 0 ? text : text.left(lineEnd);
    if (!firstLine.contains(','))
        return false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F)
            return false;
    }
    // The bytes were cut at a fixed count, which may split the last character: a decoder that keeps
    // state holds such a tail back instead of calling it an error, and only what comes before it has
    // to be valid UTF-8. Cutting a fixed number of bytes off instead would split a whole character.
    const bool cut = start.size() >= DataFile::kFileSize;
    QStringDecoder decoder(QStringDecoder::Utf8, cut ? QStringDecoder::Flag::Default : QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(text); // decodes only when taken as a QString
    return !decoder.hasError();
}

QString ImportHint(const QString &path, bool chinese)
{
    if (UserFront::Current() == UserFront::Kind::Window)
        return kForeignWindowHint.Text(chinese);
    // Quoted where the shell would split or act on it, so the line can be typed as it stands.
    return kForeignCliHint.Text(chinese).arg(ShellWord::Quoted(FileName::Display(path)));
}

} // namespace ForeignFile
