#include "config/IniText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace IniText {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr const char *kChineseCodePage = "GB18030";

} // namespace

QString Decode(const QByteArray &bytes, Format &format)
{
    format = Format {};
    const qsizetype firstBreak = bytes.indexOf('\n');
    if (firstBreak >= 0)
        format.crlf = firstBreak > 0 && bytes.at(firstBreak - 1) == '\r';

    format.byteOrderMark = bytes.startsWith(kBom);
    const QByteArray body = format.byteOrderMark ? bytes.mid(3) : bytes;
    // Stateless: a sequence cut off at the end of the file is an error, not bytes silently held back.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;

    format.byteOrderMark = false;
    format.encoding = Encoding::Gb18030;
    QStringDecoder chinese(kChineseCodePage);
    if (!chinese.isValid())
        return QString::fromUtf8(bytes); // a Qt without ICU: the old way rather than nothing
    return chinese(bytes);
}

QByteArray Encode(const QString &text, const Format &format)
{
    QString lines = text;
    if (format.crlf)
        lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (format.encoding == Encoding::Gb18030) {
        QStringEncoder chinese(kChineseCodePage);
        if (chinese.isValid())
            return chinese(lines);
    }
    QByteArray bytes = lines.toUtf8();
    if (format.byteOrderMark)
        bytes.prepend(kBom);
    return bytes;
}

} // namespace IniText
