#pragma once

#include <QByteArray>
#include <QFont>
#include <QFontDatabase>
#include <QList>
#include <QPair>
#include <QString>

#include <algorithm>

// A TrueType face made on the spot, far taller for its size than Times: text height 1.9 em (ascent
// 1.4, descent 0.5) and 0.3 em of leading. Its glyphs for the printable ASCII characters are blank but
// keep their own numbers, so a PDF drawn with it still reads back as text. Installing it as the face
// that stands in for Times New Roman makes the report's layout the same on every machine, and as
// awkward as any real face could make it.
namespace TallFace {

inline const QString kFamily = QStringLiteral("Tall Report Test");

namespace detail {

// Big-endian 16-bit words, and a 32-bit one.
inline QByteArray words(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int v : values)
        out.append(char((v >> 8) & 0xFF)).append(char(v & 0xFF));
    return out;
}

inline QByteArray long32(int value)
{
    return words({ value >> 16, value & 0xFFFF });
}

} // namespace detail

inline QByteArray Make()
{
    using namespace detail;
    constexpr int kEm = 1000, kAscent = 1400, kDescent = 500, kGap = 300, kAdvance = 500;
    constexpr int kFirst = 0x20, kLast = 0x7E, kGlyphs = kLast - kFirst + 2; // .notdef first
    QList<QPair<QByteArray, QByteArray>> tables;

    QByteArray head = words({ 1, 0, 1, 0, 0, 0, 0x5F0F, 0x3CF5, 0x000B, kEm });
    head += QByteArray(16, '\0'); // created, modified
    head += words({ 0, -kDescent, kAdvance, kAscent, 0, 8, 2, 0, 0 }); // box, style, ppem, hints, loca
    tables.append({ "head", head });
    tables.append({ "hhea",
        words(
            { 1, 0, kAscent, -kDescent, kGap, kAdvance, 0, 0, kAdvance, 1, 0, 0, 0, 0, 0, 0, 0, kGlyphs }) });
    tables.append({ "maxp", words({ 1, 0, kGlyphs, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0 }) });
    QByteArray os2 = words({ 3, kAdvance, 400, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 50, 250, 0 });
    os2 += QByteArray(10 + 16 + 4, '\0'); // panose, unicode ranges, vendor
    os2 += words({ 0x40, kFirst, kLast, kAscent, -kDescent, kGap, kAscent, kDescent });
    os2 += QByteArray(8, '\0') + words({ 700, 1000, 0, kFirst, 0 });
    tables.append({ "OS/2", os2 });
    QByteArray hmtx;
    for (int g = 0; g < kGlyphs; ++g)
        hmtx += words({ kAdvance, 0 });
    tables.append({ "hmtx", hmtx });
    // One segment maps 0x20..0x7E onto glyphs 1..95; the closing segment is required.
    QByteArray cmap = words({ 0, 1, 3, 1, 0, 12 });
    cmap += words({ 4, 32, 0, 4, 4, 1, 0, kLast, 0xFFFF, 0, kFirst, 0xFFFF, 1 - kFirst, 1, 0, 0 });
    tables.append({ "cmap", cmap });
    tables.append({ "loca", QByteArray((kGlyphs + 1) * 2, '\0') });
    tables.append({ "glyf", QByteArray(4, '\0') });
    QByteArray strings, records;
    const QList<QPair<int, QString>> names { { 1, kFamily }, { 2, QStringLiteral("Regular") }, { 4, kFamily },
        { 6, QStringLiteral("TallReportTest") } };
    for (const auto& [id, text] : names) {
        QByteArray utf16;
        for (const QChar ch : text)
            utf16 += words({ ch.unicode() });
        records += words({ 3, 1, 0x409, id, int(utf16.size()), int(strings.size()) });
        strings += utf16;
    }
    tables.append(
        { "name", words({ 0, int(names.size()), 6 + 12 * int(names.size()) }) + records + strings });
    tables.append({ "post", words({ 3, 0, 0, 0, 0, 0 }) + QByteArray(20, '\0') });
    std::sort(tables.begin(), tables.end());

    QByteArray font = words({ 1, 0, int(tables.size()), 128, 3, int(tables.size()) * 16 - 128 });
    int offset = 12 + 16 * int(tables.size());
    QByteArray data;
    for (const auto& [tag, table] : tables) {
        // Checksums are not read by anything that loads it here.
        font += tag + long32(0) + long32(offset + int(data.size())) + long32(int(table.size()));
        data += table + QByteArray((4 - table.size() % 4) % 4, '\0');
    }
    return font + data;
}

// Adds the face and lets it stand in for Times New Roman; false when the font system refuses it.
inline bool Install()
{
    if (QFontDatabase::addApplicationFontFromData(Make()) < 0)
        return false;
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), kFamily);
    return true;
}

} // namespace TallFace
