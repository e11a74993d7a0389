#include "config/FileName.h"

#include <QDir>
#include <QStringDecoder>

namespace FileName {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// An escaped byte is a lone low surrogate U+DC80..U+DCFF; the same unit after a high surrogate is the
// second half of a real character (many emoji end in one) and stays text.
bool isEscapeAt(const QString &name, qsizetype i)
{
    const char16_t c = name.at(i).unicode();
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF && (i == 0 || !name.at(i - 1).isHighSurrogate());
}

// Length of the valid UTF-8 sequence at bytes[i], or 0 when none starts there.
int validSequence(const QByteArray &bytes, qsizetype i)
{
    const auto at = [&bytes](qsizetype k) { return static_cast<unsigned char>(bytes.at(k)); };
    const unsigned char lead = at(i);
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else
        return 0;
    if (i + length > bytes.size())
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    return length;
}

} // namespace

QString FromBytes(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = validSequence(bytes, i);
        if (length == 0) {
            name += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes.at(i))));
            ++i;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + i, length);
        i += length;
    }
    return name;
}

QByteArray ToBytes(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype from = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isEscapeAt(name, i))
            continue;
        bytes += name.mid(from, i - from).toUtf8();
        if (i < name.size())
            bytes += char(name.at(i).unicode() - kEscapeBase);
        from = i + 1;
    }
    return bytes;
}

QString Display(const QString &name)
{
    QString shown;
    const QString native = QDir::toNativeSeparators(name);
    for (qsizetype i = 0; i < native.size(); ++i) {
        if (isEscapeAt(native, i))
            shown += QStringLiteral("\\x%1").arg(native.at(i).unicode() - kEscapeBase, 2, 16, QLatin1Char('0'));
        else
            shown += native.at(i);
    }
    return shown;
}

} // namespace FileName
