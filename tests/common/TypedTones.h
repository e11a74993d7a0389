// Tone texts as users type them, and what a tone cell then holds: one table that the grid's editor and
// program-cli set both run, so the two take and refuse exactly the same texts.
#pragma once

#include <QString>
#include <QTest>

namespace TypedTones {

// What both front ends say to a refused tone.
inline const QString kRefused = QStringLiteral("Error Data Format, please input again.\n"
                                               "A tone is None, a listed CTCSS tone in Hz (62.5 to 254.1) or a "
                                               "listed DCS code as DnnnN or DnnnI (D023N).");

// Columns "typed" and "stored": the cell's text afterwards (English), empty when the text is refused.
inline void AddRows()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    // Near a listed tone is not a listed tone: never the nearest item, always a refusal.
    QTest::newRow("between two tones") << "100.5" << "";
    QTest::newRow("a prefix of a tone") << "10" << "";
    QTest::newRow("a tone the radio holds but the list lacks") << "69.4" << "";
    QTest::newRow("a code the radio holds but the list lacks") << "D017N" << "";
    QTest::newRow("a code without its polarity") << "D023" << "";
    QTest::newRow("nothing") << "" << "";
    QTest::newRow("whole hertz") << "67" << "67.0";
    QTest::newRow("decimal comma and zeros") << "100,00" << "100.0";
    QTest::newRow("blanks around") << " 88.5 " << "88.5";
    QTest::newRow("a code in small letters") << "d023n" << "D023N";
    QTest::newRow("a code without its leading zero, inverted") << "D25i" << "D025I";
    QTest::newRow("no tone, small letters") << "none" << "None";
    QTest::newRow("no tone in Chinese") << "无" << "None";
}

} // namespace TypedTones
