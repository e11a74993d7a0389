#include "config/IniFile.h"
#include "config/UserSettings.h"
#include "editor/ChannelGrid.h"
#include "editor/DecimalMultiply.h"
#include "editor/ToneTable.h"
#include "tests/common/TestFiles.h"
#include "tests/editor/StandardTones.h"

#include <QPoint>
#include <QTest>

using namespace ChannelCodec;
using TestFiles::Hex;

namespace {

// Channel n's record as hex, and written from hex (as many bytes as given).
QByteArray recordHex(const CRadioImage& image, int channel)
{
    return QByteArray(reinterpret_cast<const char*>(image.ChannelRecord(channel).data()), 16)
        .toHex(' ')
        .toUpper();
}

void setRecord(CRadioImage& image, int channel, const char* hex)
{
    const QByteArray bytes = Hex(hex);
    image.CopyIn(channel * 16,
        { reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()) });
}

QString joined(const RowTexts& texts)
{
    return QStringList(texts.begin(), texts.end()).join('|');
}

constexpr BandLimits kBand130to160 { 13000000, 16100000 };

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

private slots:
    void decimalMultiply_data();
    void decimalMultiply();
    void frequencyCheck_data();
    void frequencyCheck();
    void frequencyBytes_data();
    void frequencyBytes();
    void toneWord_data();
    void toneWord();
    void toneListAndDcsTable();
    void flagFields_data();
    void flagFields();
    void storeKeepsUntouchedFields_data();
    void storeKeepsUntouchedFields();
    void commit_data();
    void commit();
    void enterWalk();
    void bandFromImage_data();
    void bandFromImage();
};

// clang-format off
void TestEditor::decimalMultiply_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("product");
    QTest::newRow("146.52 MHz") << 146.52 << 100000.0 << 14652000.0;
    QTest::newRow("tone 254.1") << 254.1 << 10.0 << 2541.0;
    QTest::newRow("negative") << -146.52 << 100000.0 << -14652000.0;
    QTest::newRow("16th digit rounded away") << 1.0000000000000002 << 100000.0 << 100000.0;
    // Non-round factors: every part of the 30-digit product carries into the next one. The exact
    // products (12193263.1137021071359..., 25.9259259259258740740..., 85.3528425640908488035...)
    // round to the doubles given; a carry lost anywhere moves the result by many units in the last place.
    QTest::newRow("30-digit product") << 123.456789012345 << 98765.4321098765 << 12193263.113702107;
    QTest::newRow("sevens by threes") << 7.77777777777777 << 3.33333333333333 << 25.925925925925874;
    QTest::newRow("below one by tens") << 0.987654321098765 << 86.4197530864198 << 85.35284256409085;
    QTest::newRow("all nines") << 999999999999999.0 << 999999999999999.0 << 9.99999999999998e+29;
    QTest::newRow("overflow") << 1e300 << 1e300 << qInf();
    QTest::newRow("underflow") << 1e-300 << 1e-300 << 0.0;
    QTest::newRow("infinity") << qInf() << 10.0 << 0.0;
    QTest::newRow("nan") << qQNaN() << 10.0 << 0.0;
}
// clang-format on

void TestEditor::decimalMultiply()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, product);
    // To the last bit: a plain comparison of doubles would let a difference in the 14th digit pass.
    QCOMPARE(QString::number(DecimalMultiply(a, b), 'g', 17), QString::number(product, 'g', 17));
}

// clang-format off
void TestEditor::frequencyCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("upper"); // the lower limit is 0 where the upper one is not 161 MHz
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("display");
    const auto ok = int(FrequencyVerdict::Accepted), out = int(FrequencyVerdict::OutOfRange),
               step = int(FrequencyVerdict::OffStep);
    const qint64 band = kBand130to160.upper, noBand = 100000, wide = qint64(1) << 40;
    QTest::newRow("plain") << "146.52" << band << ok << "146.52000";
    QTest::newRow("blanks, sign, exponent") << " \t+1.4652e2" << band << ok << "146.52000";
    QTest::newRow("trailing junk") << "146.52abc" << band << ok << "146.52000";
    QTest::newRow("dangling exponent") << "146.5e" << band << ok << "146.50000";
    QTest::newRow("hexadecimal") << "0x92" << band << ok << "146.00000";
    QTest::newRow("hexadecimal fraction") << "0x92.8p0" << band << ok << "146.50000";
    QTest::newRow("6.25 kHz step") << "136.0125" << band << ok << "136.01250";
    QTest::newRow("sixth decimal cut, not rounded up off step") << "146.520009" << band << ok << "146.52000";
    QTest::newRow("upper limit inclusive") << "161" << band << ok << "161.00000";
    QTest::newRow("lower limit inclusive") << "130" << band << ok << "130.00000";
    QTest::newRow("leading point") << ".5" << band << out << "0.50000";
    QTest::newRow("above band") << "161.005" << band << out << "161.00500";
    QTest::newRow("below band") << "129.995" << band << out << "129.99500";
    QTest::newRow("no number") << "abc" << band << out << "0.00000";
    QTest::newRow("decimal comma") << "146,5" << band << ok << "146.50000";
    QTest::newRow("decimal comma, off step") << "146,5123" << band << step << "146.51230";
    QTest::newRow("off step") << "146.5123" << band << step << "146.51230";
    QTest::newRow("off step near top") << "160.99999" << band << step << "160.99999";
    QTest::newRow("exponent overflow") << "1e400" << band << out << "inf";
    QTest::newRow("no band: 1 MHz") << "1" << noBand << ok << "1.00000";
    QTest::newRow("no band: negative zero") << "-0" << noBand << ok << "0.00000";
    QTest::newRow("no band: tiny negative") << "-0.000001" << noBand << ok << "0.00000";
    QTest::newRow("no band: inf") << "inf" << noBand << out << "inf";
    QTest::newRow("no band: -nan") << "-nan" << noBand << out << "-nan";
    // Four BCD pairs end below 1000 MHz, whatever a wide band allows.
    QTest::newRow("wide band: 1000") << "1000" << wide << out << "1000.00000";
    QTest::newRow("wide band: 999.995") << "999.995" << wide << ok << "999.99500";
}
// clang-format on

void TestEditor::frequencyCheck()
{
    QFETCH(QString, typed);
    QFETCH(qint64, upper);
    QFETCH(int, verdict);
    QFETCH(QString, display);
    const FrequencyCheck check
        = CheckFrequency(typed, upper == kBand130to160.upper ? kBand130to160.lower : 0, upper);
    QCOMPARE(int(check.verdict), verdict);
    QCOMPARE(check.displayText, display);
}

// clang-format off
void TestEditor::frequencyBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("storedBack");
    QTest::newRow("146.52") << Hex("00 20 65 14") << "146.52000" << Hex("00 20 65 14");
    QTest::newRow("136.0125") << Hex("50 12 60 13") << "136.01250" << Hex("50 12 60 13");
    QTest::newRow("top of BCD") << Hex("99 99 99 99") << "999.99999" << Hex("99 99 99 99");
    QTest::newRow("top pair 00") << Hex("00 20 65 00") << "" << Hex("FF FF FF FF");
    QTest::newRow("top pair FF") << Hex("00 20 65 FF") << "" << Hex("FF FF FF FF");
    QTest::newRow("odd low nibble") << Hex("0A 20 65 14") << "146.52010" << Hex("10 20 65 14");
    QTest::newRow("odd nibbles below top") << Hex("FF FF FF 14") << "156.66665" << Hex("65 66 66 15");
    QTest::newRow("odd top nibble, 100 MHz") << Hex("00 00 00 0A") << "100.00000" << Hex("00 00 00 10");
    // 1000 MHz and up has no BCD form: the bytes it came from stay.
    QTest::newRow("1000 MHz") << Hex("00 00 00 A0") << "1000.00000" << Hex("00 00 00 A0");
    QTest::newRow("highest") << Hex("FF FF FF FE") << "1656.66665" << Hex("FF FF FF FE");
}
// clang-format on

void TestEditor::frequencyBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, storedBack);
    auto* field = reinterpret_cast<std::uint8_t*>(bytes.data());
    QCOMPARE(DecodeFrequency(std::span<const std::uint8_t, 4>(field, 4)), text);
    EncodeFrequency(text, std::span<std::uint8_t, 4>(field, 4));
    QCOMPARE(bytes, storedBack);
}

// clang-format off
void TestEditor::toneWord_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<bool>("emptyChannel");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QByteArray>("storedBack");
    QTest::newRow("88.5") << Hex("75 03") << false << "88.5" << "88.5" << Hex("75 03");
    QTest::newRow("254.1") << Hex("ED 09") << false << "254.1" << "254.1" << Hex("ED 09");
    QTest::newRow("unlisted 69.4") << Hex("B6 02") << false << "69.4" << "69.4" << Hex("B6 02");
    QTest::newRow("tone on empty channel") << Hex("00 01") << true << "25.6" << "25.6" << Hex("00 01");
    QTest::newRow("D023N") << Hex("13 28") << false << "D023N" << "D023N" << Hex("13 28");
    QTest::newRow("D411N") << Hex("09 29") << false << "D411N" << "D411N" << Hex("09 29");
    QTest::newRow("D754I") << Hex("EC A9") << false << "D754I" << "D754I" << Hex("EC A9");
    QTest::newRow("unlisted D017N") << Hex("0F 28") << false << "D017N" << "D017N" << Hex("0F 28");
    QTest::newRow("unlisted D050I") << Hex("28 A8") << false << "D050I" << "D050I" << Hex("28 A8");
    QTest::newRow("unknown value 0") << Hex("00 28") << false << "D000N" << "D000N" << Hex("00 28");
    QTest::newRow("unknown high value") << Hex("FF A9") << false << "D000I" << "D000I" << Hex("00 A8");
    QTest::newRow("no tone") << Hex("FF FF") << false << "None" << "无" << Hex("FF FF");
    QTest::newRow("no tone, kind 00") << Hex("55 00") << false << "None" << "无" << Hex("FF FF");
    QTest::newRow("no tone, empty channel") << Hex("FF FF") << true << "" << "" << Hex("FF FF");
}
// clang-format on

void TestEditor::toneWord()
{
    QFETCH(QByteArray, word);
    QFETCH(bool, emptyChannel);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    QFETCH(QByteArray, storedBack);
    QCOMPARE(DecodeTone(std::uint8_t(word[0]), std::uint8_t(word[1]), emptyChannel, false), english);
    QCOMPARE(DecodeTone(std::uint8_t(word[0]), std::uint8_t(word[1]), emptyChannel, true), chinese);
    for (const QString& text : { english, chinese }) {
        auto* stored = reinterpret_cast<std::uint8_t*>(word.data());
        EncodeTone(text, stored[0], stored[1]);
        QCOMPARE(word, storedBack);
    }
}

// The list and the code table against the standard lists typed out above; every list item is
// stored as its tone word and read back as itself.
void TestEditor::toneListAndDcsTable()
{
    QStringList expected { "None" };
    for (const char* tone : kStandardCtcss)
        expected << QString::fromLatin1(tone);
    for (const char* polarity : { "N", "I" })
        for (const StandardDcs& dcs : kStandardDcs)
            expected << QStringLiteral("D%1%2").arg(QLatin1String(dcs.code), QLatin1String(polarity));
    QCOMPARE(ToneTable::BuildToneList(false), expected);
    expected[0] = QStringLiteral("无");
    QCOMPARE(ToneTable::BuildToneList(true), expected);

    for (const char* tone : kStandardCtcss) {
        const int tenths = QString::fromLatin1(tone).remove('.').toInt(); // "173.8": 1738 = 0x06CA
        std::uint8_t low = 0, kind = 0;
        EncodeTone(QString::fromLatin1(tone), low, kind);
        QCOMPARE(QList<int>({ low, kind }), QList<int>({ tenths % 256, tenths / 256 }));
        QCOMPARE(DecodeTone(low, kind, false, false), QString::fromLatin1(tone));
    }
    // Bit 8 of the value goes to bit 0 of the kind byte: 28/29 normal, A8/A9 inverted.
    for (const StandardDcs& dcs : kStandardDcs) {
        const int code = QString::fromLatin1(dcs.code).toInt();
        QCOMPARE(DcsValueToCode(dcs.value), code);
        QCOMPARE(DcsCodeToValue(code), dcs.value % 256);
        for (const bool inverted : { false, true }) {
            const QString text = QStringLiteral("D%1%2").arg(QLatin1String(dcs.code), inverted ? "I" : "N");
            std::uint8_t low = 0, kind = 0;
            EncodeTone(text, low, kind);
            QCOMPARE(QList<int>({ low, kind }),
                QList<int>({ dcs.value % 256, (inverted ? 0xA8 : 0x28) + dcs.value / 256 }));
            QCOMPARE(DecodeTone(low, kind, false, false), text);
        }
    }
    // Besides the listed codes only 017 (value 15) and 050 (value 40) are known.
    QCOMPARE(DcsValueToCode(15), 17);
    QCOMPARE(DcsValueToCode(40), 50);
    QCOMPARE(DcsCodeToValue(50), 40);
    int known = 0;
    for (int value = 0; value < 512; ++value)
        known += DcsValueToCode(value) != 0 ? 1 : 0;
    QCOMPARE(known, 107);
    QCOMPARE(DcsCodeToValue(24), 0);
    QCOMPARE(DcsValueToCode(20), 0); // octal 024, no code
}

// clang-format off
void TestEditor::flagFields_data()
{
    QTest::addColumn<int>("flagsA");
    QTest::addColumn<int>("flagsB");
    QTest::addColumn<bool>("scan");
    QTest::addColumn<QString>("english"); // W/N, Scan, Busy Lock, Power
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<int>("storedA"); // after encoding the decoded texts again
    QTest::addColumn<int>("storedB");
    QTest::newRow("all clear") << 0x00 << 0x00 << false << "Narrow|No|Off|Low" << "窄|否|关|低" << 0x00 << 0x00;
    QTest::newRow("wide carrier high") << 0x08 << 0x30 << true << "Wide|Yes|Carrier|High" << "宽|是|载波|高" << 0x08 << 0x30;
    QTest::newRow("tone lock middle") << 0x10 << 0x40 << true << "Narrow|Yes|QT/DQT|Middle"
                                      << "窄|是|QT/DQT|中" << 0x10 << 0x40;
    QTest::newRow("both bits set: tone, high") << 0xFF << 0xFF << false << "Wide|No|QT/DQT|High"
                                               << "宽|否|QT/DQT|高" << 0xF7 << 0xBF;
    QTest::newRow("carried bits kept") << 0xE7 << 0x8F << true << "Narrow|Yes|Off|Low" << "窄|是|关|低" << 0xE7 << 0x8F;
}
// clang-format on

void TestEditor::flagFields()
{
    QFETCH(int, flagsA);
    QFETCH(int, flagsB);
    QFETCH(bool, scan);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    QFETCH(int, storedA);
    QFETCH(int, storedB);
    for (int channel : { 1, 8, 9, 16 }) {
        CRadioImage image;
        setRecord(image, channel, "00 20 65 14 00 20 65 14 FF FF FF FF");
        image.SetByte(channel * 16 + 12, std::uint8_t(flagsA));
        image.SetByte(channel * 16 + 13, std::uint8_t(flagsB));
        image.SetScanFlag(channel, scan);
        for (bool zh : { false, true }) {
            const RowTexts texts = DecodeChannel(image, channel, zh);
            QCOMPARE(joined(texts).section('|', 4), zh ? chinese : english);
            CRadioImage copy = image;
            EncodeChannel(copy, channel, texts);
            QCOMPARE(int(copy.Byte(channel * 16 + 12)), storedA);
            QCOMPARE(int(copy.Byte(channel * 16 + 13)), storedB);
            QVERIFY(copy.Range(ImageMap::kScanFlags, 2)[0] == image.Range(ImageMap::kScanFlags, 2)[0]
                && copy.Range(ImageMap::kScanFlags, 2)[1] == image.Range(ImageMap::kScanFlags, 2)[1]);
        }
    }
}

// clang-format off
void TestEditor::storeKeepsUntouchedFields_data()
{
    QTest::addColumn<QByteArray>("record"); // bytes 0-13 of channel 5, scan flag clear
    QTest::addColumn<int>("column"); // the one cell typed or chosen in; 0 for none
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // the row's texts afterwards
    QTest::addColumn<QByteArray>("stored"); // bytes 0-13 after the grid is stored
    QTest::addColumn<bool>("scan");
    const QByteArray rxOnly = Hex("00206514 FFFFFFFF FFFF B602 00 00");
    const QByteArray dcs777 = Hex("00206514 00206514 FF29 FFFF 1F EF");
    const QByteArray blank = Hex("FFFFFFFF FFFFFFFF FFFF FFFF FF FF");
    QTest::newRow("receive-only channel shows its fields") << rxOnly << 0 << ""
        << "146.52000||None|69.4|Narrow|No|Off|Low" << rxOnly << false;
    QTest::newRow("receive-only channel, power chosen") << rxOnly << 8 << "High"
        << "146.52000||None|69.4|Narrow|No|Off|High" << Hex("00206514 FFFFFFFF FFFF B602 00 20") << false;
    QTest::newRow("DCS 777 and odd flag bits") << dcs777 << 0 << ""
        << "146.52000|146.52000|D000N|None|Narrow|No|QT/DQT|High" << dcs777 << false;
    QTest::newRow("DCS 777, another field chosen") << dcs777 << 5 << "Wide"
        << "146.52000|146.52000|D000N|None|Wide|No|QT/DQT|High" << Hex("00206514 00206514 FF29 FFFF 1F FF") << false;
    QTest::newRow("DCS 777, the tone chosen") << dcs777 << 3 << "D023N"
        << "146.52000|146.52000|D023N|None|Narrow|No|QT/DQT|High" << Hex("00206514 00206514 1328 FFFF 1F EF") << false;
    QTest::newRow("empty channel keeps its bytes") << blank << 0 << "" << "|||||||" << blank << false;
    QTest::newRow("tone on an empty channel") << Hex("00000000 FFFFFFFF 7503 FFFF 00 00") << 0 << ""
        << "||88.5|||||" << Hex("00000000 FFFFFFFF 7503 FFFF 00 00") << false;
    QTest::newRow("new channel over 0xFF") << blank << 1 << "146,5"
        << "146.50000|146.50000|None|None|Wide|Yes|Off|High" << Hex("00006514 00006514 FFFF FFFF E7 BF") << true;
    QTest::newRow("deleted channel") << dcs777 << 1 << "" << "|||||||"
        << Hex("FFFFFFFF FFFFFFFF FFFF FFFF 17 BF") << true;
}
// clang-format on

// What the user did not change is stored back byte for byte, whatever the grid can show of it; what
// the user changed is stored alone.
void TestEditor::storeKeepsUntouchedFields()
{
    QFETCH(QByteArray, record);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QByteArray, stored);
    QFETCH(bool, scan);
    CRadioImage image;
    image.CopyIn(5 * 16,
        { reinterpret_cast<const std::uint8_t*>(record.constData()), std::size_t(record.size()) });
    image.SetScanFlag(5, false);
    for (bool zh : { false, true }) {
        CChannelGrid grid(zh);
        grid.SetBandLimits(kBand130to160);
        grid.LoadImage(image);
        if (column != 0)
            QCOMPARE(grid.Commit(5, column, text, CChannelGrid::Trigger::LeaveCell),
                CChannelGrid::Outcome::Accepted);
        if (!zh)
            QCOMPARE(joined(grid.RowTexts(5)), shown);
        CRadioImage copy = image;
        grid.StoreGrid(copy);
        QCOMPARE(recordHex(copy, 5).left(14 * 3 - 1), stored.toHex(' ').toUpper());
        QCOMPARE(copy.ScanFlag(5), scan);
    }
}

// clang-format off
void TestEditor::commit_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("before"); // columns 1-8 of the row, '|' between
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("after");
    const QString empty = "|||||||", row = "146.50000|147.00000|88.5|None|Narrow|No|Carrier|Low";
    const int ok = int(CChannelGrid::Outcome::Accepted), out = int(CChannelGrid::Outcome::OutOfRange),
              step = int(CChannelGrid::Outcome::OffStep), format = int(CChannelGrid::Outcome::BadFormat);
    QTest::newRow("new channel") << false << empty << 1 << "146.5" << true << ok
                                 << "146.50000|146.50000|None|None|Wide|Yes|Off|High";
    QTest::newRow("new channel, Chinese")
        << true << empty << 1 << "146.5" << false << ok << "146.50000|146.50000|无|无|宽|是|关|高";
    QTest::newRow("rx changed") << false << row << 1 << "150" << true << ok << "150.00000" + row.mid(9);
    QTest::newRow("rx emptied deletes") << false << row << 1 << "" << false << ok << empty;
    // A refused receive frequency keeps the channel, tones included; an empty row stays empty.
    QTest::newRow("rx out of range keeps") << false << row << 1 << "165" << false << out << row;
    QTest::newRow("rx off step keeps") << false << row << 1 << "146.5123" << true << step << row;
    QTest::newRow("rx blank is no number") << false << row << 1 << " " << true << format << row;
    QTest::newRow("rx letters are no number") << false << row << 1 << "abc" << true << format << row;
    QTest::newRow("rx signed point number") << false << row << 1 << " -.5" << true << out << row;
    QTest::newRow("rx out of range, empty row") << false << empty << 1 << "165" << true << out << empty;
    QTest::newRow("tx letters keep the row") << false << row << 2 << "abc" << false << format << row;
    QTest::newRow("tx emptied follows rx")
        << false << row << 2 << "" << true << ok << "146.50000|146.50000|88.5|None|Narrow|No|Carrier|Low";
    QTest::newRow("tx on empty row") << false << empty << 2 << "146.5" << true << ok << empty;
    // A refused transmit frequency leaves the row as it was, however the cell was confirmed.
    QTest::newRow("tx out of range, leave") << false << row << 2 << "165" << false << out << row;
    QTest::newRow("tx out of range, Enter") << false << row << 2 << "165" << true << out << row;
    QTest::newRow("tx off step, leave") << false << row << 2 << "146.5123" << false << step << row;
    QTest::newRow("tx off step, Enter") << false << row << 2 << "146,5123" << true << step << row;
    QTest::newRow("tx decimal comma") << false << row << 2 << "147,125" << true << ok
                                      << "146.50000|147.12500" + row.mid(19);
    QTest::newRow("list item") << false << row << 8 << "High" << false << ok << row.chopped(3) + "High";
    QTest::newRow("list item on empty row") << false << empty << 8 << "Low" << true << ok << empty;
    QTest::newRow("list item, tx only")
        << false << "|147.00000||||||" << 3 << "88.5" << true << ok << "|147.00000|88.5|||||";
}
// clang-format on

void TestEditor::commit()
{
    QFETCH(bool, chinese);
    QFETCH(QString, before);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(int, outcome);
    QFETCH(QString, after);
    CChannelGrid grid(chinese);
    grid.SetBandLimits(kBand130to160);
    for (int col = 1; col <= 8; ++col)
        grid.SetText(5, col, before.section('|', col - 1, col - 1));
    const auto result = grid.Commit(
        5, column, typed, enter ? CChannelGrid::Trigger::Enter : CChannelGrid::Trigger::LeaveCell);
    QCOMPARE(int(result), outcome);
    QCOMPARE(joined(grid.RowTexts(5)), after);
    QCOMPARE(grid.Text(4, 1) + grid.Text(6, 1), QString()); // neighbours untouched
    // The range message says what the band allows, in the grid's language.
    const QStringList messages = { "",
        chinese ? "Out of range,please input again.\n允许范围: 130 至 161 MHz"
                : "Out of range,please input again.\nAllowed: 130 to 161 MHz",
        "Error data Value, please input according the step value(6.25K/5k).",
        "Error Data Format, please input again." };
    QCOMPARE(grid.MessageFor(result), messages.at(outcome));
    QCOMPARE(CChannelGrid::RangeLine({ 40000000, 47012500 }, false), QStringLiteral("Allowed: 400 to 470.125 MHz"));
    QCOMPARE(CChannelGrid::RangeLine({ 13600001, 17400000 }, false), QStringLiteral("Allowed: 136.00001 to 174 MHz"));
}

void TestEditor::enterWalk()
{
    using Moves = std::vector<std::pair<int, int>>;
    QCOMPARE(CChannelGrid::EnterMoves(5, 1), Moves({ { 5, 2 } }));
    QCOMPARE(CChannelGrid::EnterMoves(5, 8), Moves({ { 5, 1 }, { 6, 1 } }));
    QCOMPARE(CChannelGrid::EnterMoves(16, 8), Moves({ { 1, 8 }, { 1, 1 } }));

    // Enter through the whole grid commits every cell as it stands and keeps the channels as they were.
    CRadioImage image;
    setRecord(image, 7, "00 20 65 14 00 50 65 14 13 28 75 03 08 40");
    CChannelGrid grid(false);
    grid.SetBandLimits(kBand130to160);
    grid.LoadImage(image);
    QCOMPARE(grid.Text(0, 1) + grid.Text(9, 0) + grid.Text(16, 0), QStringLiteral("Rx Frequency 916"));
    int row = 1, col = 1;
    for (int step = 0; step < 16 * 8; ++step) {
        QCOMPARE(grid.Commit(row, col, grid.Text(row, col), CChannelGrid::Trigger::Enter),
            CChannelGrid::Outcome::Accepted);
        const Moves moves = CChannelGrid::EnterMoves(row, col);
        // On the wrap the first cell of the row is entered and left on the way, committing itself.
        if (const auto [r, c] = moves.front(); moves.size() > 1)
            grid.Commit(r, c, grid.Text(r, c), CChannelGrid::Trigger::LeaveCell);
        std::tie(row, col) = moves.back();
    }
    QCOMPARE(std::pair(row, col), std::pair(1, 1));
    CRadioImage stored = image;
    grid.StoreGrid(stored);
    QCOMPARE(recordHex(stored, 7), recordHex(image, 7));
    QCOMPARE(stored.Byte(ImageMap::kGridStoredMark), std::uint8_t(0x50));
}

// clang-format off
void TestEditor::bandFromImage_data()
{
    QTest::addColumn<bool>("newDocument");
    QTest::addColumn<QPoint>("image"); // type and band bytes
    QTest::addColumn<QPoint>("settings"); // the user's Type and Field before
    QTest::addColumn<QPoint>("imageAfter");
    QTest::addColumn<QPoint>("settingsAfter");
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint64>("lower");
    QTest::addColumn<qint64>("upper");
    const qint64 mhz = 100000;
    QTest::newRow("first band") << false << QPoint(0, 0) << QPoint(1, 0) << QPoint(0, 0) << QPoint(0, 0)
                                << "R  [ Type:QR-260  Fre:130 - 160MHz ]" << 130 * mhz << 161 * mhz;
    QTest::newRow("second band") << false << QPoint(0, 1) << QPoint(1, 0) << QPoint(0, 1) << QPoint(0, 1)
                                 << "R  [ Type:QR-260  Fre: 136-174 MHz ]" << 136 * mhz << 175 * mhz;
    QTest::newRow("band without a dash") << false << QPoint(1, 0) << QPoint(0, 0) << QPoint(1, 0) << QPoint(1, 0)
                                         << "R  [ Type:QR-460  Fre:400MHz ]" << 400 * mhz << 401 * mhz;
    // A type or band the lists lack: the image keeps its bytes, the settings keep the last valid pair
    // and frequencies are checked against its band.
    QTest::newRow("band past the list") << false << QPoint(0, 9) << QPoint(1, 0) << QPoint(0, 9) << QPoint(1, 0)
                                        << "R  [ Type:QR-260  Fre:Unknown 0x09 ]" << 400 * mhz << 401 * mhz;
    QTest::newRow("unknown type") << false << QPoint(0x45, 0x4C) << QPoint(0, 1) << QPoint(0x45, 0x4C) << QPoint(0, 1)
                                  << "R  [ Type:Unknown 0x45  Fre:Unknown 0x4C ]" << 136 * mhz << 175 * mhz;
    QTest::newRow("unknown type, Chinese") << false << QPoint(0xFF, 0) << QPoint(0, 0) << QPoint(0xFF, 0) << QPoint(0, 0)
                                           << "R  [ 类型:未知 0xFF  频率:未知 0x00 ]" << 130 * mhz << 161 * mhz;
    QTest::newRow("new document takes the settings") << true << QPoint(0xFF, 0xFF) << QPoint(0, 1) << QPoint(0, 1)
        << QPoint(0, 1) << "R  [ Type:QR-260  Fre: 136-174 MHz ]" << 136 * mhz << 175 * mhz;
    // Settings an earlier version wrote after reading a radio of an unknown type.
    QTest::newRow("new document, settings outside the lists") << true << QPoint(0xFF, 0xFF) << QPoint(69, 76)
        << QPoint(0, 0) << QPoint(69, 76) << "R  [ Type:QR-260  Fre:130 - 160MHz ]" << 130 * mhz << 161 * mhz;
}
// clang-format on

void TestEditor::bandFromImage()
{
    QFETCH(bool, newDocument);
    QFETCH(QPoint, image);
    QFETCH(QPoint, settings);
    QFETCH(QPoint, imageAfter);
    QFETCH(QPoint, settingsAfter);
    QFETCH(QString, title);
    const bool chinese = title.contains(QStringLiteral("类型"));
    QFETCH(qint64, lower);
    QFETCH(qint64, upper);
    CIniFile ini;
    ini.LoadText("[Setup]\nType1=QR-260\nField1=130 - 160MHz| 136-174 MHz\nType2=QR-460\nField2=400MHz\n");
    CUserSettings user(QStringLiteral("tst_editor"));
    user.SetTypeAndField(std::uint32_t(settings.x()), std::uint32_t(settings.y()));
    CRadioImage radio;
    radio.SetByte(ImageMap::kProductType, std::uint8_t(image.x()));
    radio.SetByte(ImageMap::kFrequencyBand, std::uint8_t(image.y()));

    ProductCatalog::SyncTypeAndBand(ini, radio, user, newDocument);
    QCOMPARE(QPoint(radio.Byte(ImageMap::kProductType), radio.Byte(ImageMap::kFrequencyBand)), imageAfter);
    QCOMPARE(QPoint(int(user.Type()), int(user.Field())), settingsAfter);
    const std::uint8_t type = radio.Byte(ImageMap::kProductType);
    const std::uint8_t band = radio.Byte(ImageMap::kFrequencyBand);
    QCOMPARE(ProductCatalog::WindowTitle("R", ProductCatalog::ShownTypeText(ini, type, chinese),
                 ProductCatalog::ShownBandText(ini, type, band, chinese), chinese),
        title);
    const BandLimits limits = ProductCatalog::CheckedLimits(ini, radio, user);
    QCOMPARE(qint64(limits.lower), lower);
    QCOMPARE(qint64(limits.upper), upper);
}

QTEST_GUILESS_MAIN(TestEditor)
#include "tst_editor.moc"
