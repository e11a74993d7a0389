#include "app/StringTable.h"
#include "editor/ChannelCodec.h"
#include "editor/ChannelGrid.h"
#include "editor/DecimalMultiply.h"
#include "editor/ToneTable.h"

#include <QTest>
#include <cmath>

using namespace ChannelCodec;

namespace {

// "00 20 65 14" -> bytes
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray recordBytes(const CRadioImage &image, int channel, int from, int count)
{
    const auto row = image.ChannelRecord(channel);
    return QByteArray(reinterpret_cast<const char *>(row.data()) + from, count);
}

void setRecordBytes(CRadioImage &image, int channel, int from, const QByteArray &bytes)
{
    image.CopyIn(channel * 16 + from, { reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()) });
}

constexpr BandLimits kBand130to160 { 13000000, 16100000 };

} // namespace

class TestEditor : public QObject
{
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
    void emptyChannels();
    void commit_data();
    void commit();
    void enterWalk();
};

void TestEditor::decimalMultiply_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("product");
    QTest::newRow("146.52 MHz") << 146.52 << 100000.0 << 14652000.0;
    QTest::newRow("136.0125 MHz") << 136.0125 << 100000.0 << 13601250.0;
    QTest::newRow("tone 254.1") << 254.1 << 10.0 << 2541.0;
    QTest::newRow("negative") << -146.52 << 100000.0 << -14652000.0;
    QTest::newRow("0.1 x 3") << 0.1 << 3.0 << 0.3;
    QTest::newRow("16th digit rounded away") << 1.0000000000000002 << 100000.0 << 100000.0;
    QTest::newRow("15 digits kept") << 123.456789012345 << 1000.0 << 123456.789012345;
    QTest::newRow("overflow") << 1e300 << 1e300 << qInf();
    QTest::newRow("underflow") << 1e-300 << 1e-300 << 0.0;
    QTest::newRow("infinity") << qInf() << 10.0 << 0.0;
    QTest::newRow("nan") << qQNaN() << 10.0 << 0.0;
}

void TestEditor::decimalMultiply()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, product);
    QCOMPARE(DecimalMultiply(a, b), product);
}

void TestEditor::frequencyCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("lower");
    QTest::addColumn<qint64>("upper");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("display");
    const auto ok = int(FrequencyVerdict::Accepted), out = int(FrequencyVerdict::OutOfRange),
               step = int(FrequencyVerdict::OffStep);
    const qint64 lo = kBand130to160.lower, hi = kBand130to160.upper;
    QTest::newRow("plain") << "146.52" << lo << hi << ok << "146.52000";
    QTest::newRow("blanks, sign, exponent") << " \t+1.4652e2" << lo << hi << ok << "146.52000";
    QTest::newRow("trailing junk") << "146.52abc" << lo << hi << ok << "146.52000";
    QTest::newRow("dangling exponent") << "146.5e" << lo << hi << ok << "146.50000";
    QTest::newRow("hexadecimal") << "0x92" << lo << hi << ok << "146.00000";
    QTest::newRow("hexadecimal fraction") << "0x92.8p0" << lo << hi << ok << "146.50000";
    QTest::newRow("6.25 kHz step") << "136.0125" << lo << hi << ok << "136.01250";
    QTest::newRow("upper limit inclusive") << "161" << lo << hi << ok << "161.00000";
    QTest::newRow("lower limit inclusive") << "130" << lo << hi << ok << "130.00000";
    QTest::newRow("leading point") << ".5" << lo << hi << out << "0.50000";
    QTest::newRow("above band") << "161.005" << lo << hi << out << "161.00500";
    QTest::newRow("below band") << "129.995" << lo << hi << out << "129.99500";
    QTest::newRow("no number") << "abc" << lo << hi << out << "0.00000";
    QTest::newRow("zero") << "0" << lo << hi << out << "0.00000";
    QTest::newRow("off step") << "146.5123" << lo << hi << step << "146.51230";
    QTest::newRow("off step near top") << "160.99999" << lo << hi << step << "160.99999";
    QTest::newRow("exponent overflow") << "1e400" << lo << hi << out << "inf";
    // Without a band the limits are 0 and 1 MHz.
    QTest::newRow("no band: 1 MHz") << "1" << qint64(0) << qint64(100000) << ok << "1.00000";
    QTest::newRow("no band: negative zero") << "-0" << qint64(0) << qint64(100000) << ok << "-0.00000";
    QTest::newRow("no band: inf") << "inf" << qint64(0) << qint64(100000) << out << "inf";
    QTest::newRow("no band: nan") << "nan" << qint64(0) << qint64(100000) << out << "nan";
    QTest::newRow("no band: -nan") << "-nan" << qint64(0) << qint64(100000) << out << "-nan";
    QTest::newRow("no band: tiny negative") << "-0.000001" << qint64(0) << qint64(100000) << ok << "-0.00000";
    // Four BCD pairs end below 1000 MHz, whatever a wide band allows.
    QTest::newRow("wide band: 1000") << "1000" << qint64(0) << (qint64(1) << 40) << out << "1000.00000";
    QTest::newRow("wide band: 999.995") << "999.995" << qint64(0) << (qint64(1) << 40) << ok << "999.99500";
}

void TestEditor::frequencyCheck()
{
    QFETCH(QString, typed);
    QFETCH(qint64, lower);
    QFETCH(qint64, upper);
    QFETCH(int, verdict);
    QFETCH(QString, display);
    const FrequencyCheck check = CheckFrequency(typed, lower, upper);
    QCOMPARE(int(check.verdict), verdict);
    QCOMPARE(check.displayText, display);
}

void TestEditor::frequencyBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("storedBack");
    QTest::newRow("146.52") << hex("00 20 65 14") << "146.52000" << hex("00 20 65 14");
    QTest::newRow("136.0125") << hex("50 12 60 13") << "136.01250" << hex("50 12 60 13");
    QTest::newRow("top of BCD") << hex("99 99 99 99") << "999.99999" << hex("99 99 99 99");
    QTest::newRow("top pair 00") << hex("00 20 65 00") << "" << hex("FF FF FF FF");
    QTest::newRow("top pair FF") << hex("00 20 65 FF") << "" << hex("FF FF FF FF");
    QTest::newRow("odd low nibble") << hex("0A 20 65 14") << "146.52010" << hex("10 20 65 14");
    QTest::newRow("odd nibbles below top") << hex("FF FF FF 14") << "156.66665" << hex("65 66 66 15");
    QTest::newRow("odd top nibble, 100 MHz") << hex("00 00 00 0A") << "100.00000" << hex("00 00 00 10");
    // 1000 MHz and up has no BCD form: the bytes it came from stay.
    QTest::newRow("1000 MHz") << hex("00 00 00 A0") << "1000.00000" << hex("00 00 00 A0");
    QTest::newRow("highest") << hex("FF FF FF FE") << "1656.66665" << hex("FF FF FF FE");
}

void TestEditor::frequencyBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, storedBack);
    std::array<std::uint8_t, 4> field;
    std::copy(bytes.begin(), bytes.end(), field.begin());
    QCOMPARE(DecodeFrequency(field), text);
    EncodeFrequency(text, field);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(field.data()), 4), storedBack);
}

void TestEditor::toneWord_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<bool>("emptyChannel");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QByteArray>("storedBack");
    QTest::newRow("88.5") << hex("75 03") << false << "88.5" << "88.5" << hex("75 03");
    QTest::newRow("254.1") << hex("ED 09") << false << "254.1" << "254.1" << hex("ED 09");
    QTest::newRow("unlisted 69.4") << hex("B6 02") << false << "69.4" << "69.4" << hex("B6 02");
    QTest::newRow("unlisted 25.6") << hex("00 01") << true << "25.6" << "25.6" << hex("00 01");
    QTest::newRow("D023N") << hex("13 28") << false << "D023N" << "D023N" << hex("13 28");
    QTest::newRow("D411N") << hex("09 29") << false << "D411N" << "D411N" << hex("09 29");
    QTest::newRow("D754I") << hex("EC A9") << false << "D754I" << "D754I" << hex("EC A9");
    QTest::newRow("D023I") << hex("13 A8") << false << "D023I" << "D023I" << hex("13 A8");
    QTest::newRow("unlisted D017N") << hex("0F 28") << false << "D017N" << "D017N" << hex("0F 28");
    QTest::newRow("unlisted D050I") << hex("28 A8") << false << "D050I" << "D050I" << hex("28 A8");
    QTest::newRow("unknown value 0") << hex("00 28") << false << "D000N" << "D000N" << hex("00 28");
    QTest::newRow("unknown high value") << hex("FF 29") << false << "D000N" << "D000N" << hex("00 28");
    QTest::newRow("no tone") << hex("FF FF") << false << "None" << "无" << hex("FF FF");
    QTest::newRow("no tone, kind 00") << hex("55 00") << false << "None" << "无" << hex("FF FF");
    QTest::newRow("no tone, empty channel") << hex("FF FF") << true << "" << "" << hex("FF FF");
    QTest::newRow("tone on empty channel") << hex("75 03") << true << "88.5" << "88.5" << hex("75 03");
}

void TestEditor::toneWord()
{
    QFETCH(QByteArray, word);
    QFETCH(bool, emptyChannel);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    QFETCH(QByteArray, storedBack);
    const std::uint8_t low = std::uint8_t(word[0]), kind = std::uint8_t(word[1]);
    QCOMPARE(DecodeTone(low, kind, emptyChannel, false), english);
    QCOMPARE(DecodeTone(low, kind, emptyChannel, true), chinese);
    for (const QString &text : { english, chinese }) {
        std::uint8_t l = 0, k = 0;
        EncodeTone(text, l, k);
        QCOMPARE(QByteArray(1, char(l)) + char(k), storedBack);
    }
}

void TestEditor::toneListAndDcsTable()
{
    const QStringList en = ToneTable::BuildToneList(false), zh = ToneTable::BuildToneList(true);
    QCOMPARE(en.size(), 264);
    QCOMPARE(en.mid(0, 3), QStringList({ "None", "62.5", "64.0" }));
    QCOMPARE(zh.at(0), QStringLiteral("无"));
    QCOMPARE(en.mid(53, 2), QStringList({ "254.1", "D023N" }));
    QCOMPARE(en.mid(158, 2), QStringList({ "D754N", "D023I" }));
    QCOMPARE(en.at(263), QStringLiteral("D754I"));
    QVERIFY(en.contains("D645N") && !en.contains("D017N") && !en.contains("D050N"));
    // Every item is stored and read back as itself, so a decoded cell finds its item again.
    for (int i = 1; i < en.size(); ++i) {
        std::uint8_t low = 0, kind = 0;
        EncodeTone(en.at(i), low, kind);
        QCOMPARE(DecodeTone(low, kind, false, false), en.at(i));
    }
    // The code table: 107 codes, the 41 from 411 up with bit 8 of the value set.
    int known = 0, highBit = 0;
    for (int code = 0; code <= 777; ++code) {
        const int value = (code / 100) * 64 + (code / 10 % 10) * 8 + code % 10;
        if (code % 10 > 7 || code / 10 % 10 > 7 || DcsValueToCode(value) != code || code == 0)
            continue;
        ++known;
        highBit += value > 255;
        QCOMPARE(DcsCodeToValue(code), value & 0xFF);
    }
    QCOMPARE(known, 107);
    QCOMPARE(highBit, 41);
    QCOMPARE(DcsCodeToValue(24), 0);
    QCOMPARE(DcsValueToCode(0x1FF), 0);
}

void TestEditor::flagFields_data()
{
    QTest::addColumn<int>("flagsA");
    QTest::addColumn<int>("flagsB");
    QTest::addColumn<bool>("scan");
    QTest::addColumn<QStringList>("english"); // W/N, Scan, Busy Lock, Power
    QTest::addColumn<QStringList>("chinese");
    QTest::addColumn<int>("storedA"); // after encoding the decoded texts again
    QTest::addColumn<int>("storedB");
    QTest::newRow("all clear") << 0x00 << 0x00 << false << QStringList { "Narrow", "No", "Off", "Low" }
                               << QStringList { "窄", "否", "关", "低" } << 0x00 << 0x00;
    QTest::newRow("wide carrier high") << 0x08 << 0x30 << true << QStringList { "Wide", "Yes", "Carrier", "High" }
                                       << QStringList { "宽", "是", "载波", "高" } << 0x08 << 0x30;
    QTest::newRow("tone lock middle") << 0x10 << 0x40 << true << QStringList { "Narrow", "Yes", "QT/DQT", "Middle" }
                                      << QStringList { "窄", "是", "QT/DQT", "中" } << 0x10 << 0x40;
    QTest::newRow("both bits set read as tone / high")
        << 0xFF << 0xFF << false << QStringList { "Wide", "No", "QT/DQT", "High" }
        << QStringList { "宽", "否", "QT/DQT", "高" } << 0xF7 << 0xBF;
    QTest::newRow("carried bits kept") << 0xE7 << 0x8F << true << QStringList { "Narrow", "Yes", "Off", "Low" }
                                       << QStringList { "窄", "是", "关", "低" } << 0xE7 << 0x8F;
}

void TestEditor::flagFields()
{
    QFETCH(int, flagsA);
    QFETCH(int, flagsB);
    QFETCH(bool, scan);
    QFETCH(QStringList, english);
    QFETCH(QStringList, chinese);
    QFETCH(int, storedA);
    QFETCH(int, storedB);
    for (int channel : { 1, 8, 9, 16 }) {
        CRadioImage image;
        setRecordBytes(image, channel, 0, hex("00 20 65 14 00 20 65 14 FF FF FF FF"));
        image.SetByte(channel * 16 + 12, std::uint8_t(flagsA));
        image.SetByte(channel * 16 + 13, std::uint8_t(flagsB));
        image.SetScanFlag(channel, scan);
        for (bool zh : { false, true }) {
            const RowTexts texts = DecodeChannel(image, channel, zh);
            QCOMPARE(QStringList(texts.begin() + 4, texts.end()), zh ? chinese : english);
            CRadioImage copy = image;
            EncodeChannel(copy, channel, texts);
            QCOMPARE(int(copy.Byte(channel * 16 + 12)), storedA);
            QCOMPARE(int(copy.Byte(channel * 16 + 13)), storedB);
            QCOMPARE(copy.Range(ImageMap::kScanFlags, 2)[0], image.Range(ImageMap::kScanFlags, 2)[0]);
            QCOMPARE(copy.Range(ImageMap::kScanFlags, 2)[1], image.Range(ImageMap::kScanFlags, 2)[1]);
        }
    }
}

void TestEditor::emptyChannels()
{
    CRadioImage image;
    // Receive set, transmit bytes unset: no flags shown, the tones only where the words hold one.
    setRecordBytes(image, 2, 0, hex("00 20 65 14 FF FF FF FF 75 03 FF FF"));
    RowTexts texts = DecodeChannel(image, 2, false);
    QCOMPARE(QStringList(texts.begin(), texts.end()), QStringList({ "146.52000", "", "88.5", "", "", "", "", "" }));
    // A grid row left empty, written over 0xFF.
    CRadioImage blank;
    blank.SetScanFlag(5, false);
    EncodeChannel(blank, 5, RowTexts {});
    QCOMPARE(recordBytes(blank, 5, 0, 16), hex("FFFFFFFF FFFFFFFF FFFFFFFF F7 BF FFFF"));
    QVERIFY(blank.ScanFlag(5));
    // Bytes 14 and 15 are the radio's own.
    setRecordBytes(image, 3, 14, hex("12 34"));
    EncodeChannel(image, 3, DecodeChannel(image, 3, false));
    QCOMPARE(recordBytes(image, 3, 14, 2), hex("12 34"));
}

void TestEditor::commit_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("before"); // columns 1-8 of the row, '|' between
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("after");
    const QString empty = "|||||||";
    const QString row = "146.50000|147.00000|88.5|None|Narrow|No|Carrier|Low";
    const int ok = int(CChannelGrid::Outcome::Accepted), out = int(CChannelGrid::Outcome::OutOfRange),
              step = int(CChannelGrid::Outcome::OffStep);
    QTest::newRow("new channel") << false << empty << 1 << "146.5" << true << ok
                                 << "146.50000|146.50000|None|None|Wide|Yes|Off|High";
    QTest::newRow("new channel, Chinese") << true << empty << 1 << "146.5" << false << ok
                                          << "146.50000|146.50000|无|无|宽|是|关|高";
    QTest::newRow("rx changed") << false << row << 1 << "150" << true << ok
                                << "150.00000|147.00000|88.5|None|Narrow|No|Carrier|Low";
    QTest::newRow("rx emptied deletes") << false << row << 1 << "" << false << ok << empty;
    QTest::newRow("rx out of range deletes") << false << row << 1 << "165" << false << out << empty;
    QTest::newRow("rx off step deletes") << false << row << 1 << "146.5123" << true << step << empty;
    QTest::newRow("rx blank is no number") << false << row << 1 << " " << true << out << empty;
    QTest::newRow("tx emptied follows rx") << false << row << 2 << "" << true << ok
                                           << "146.50000|146.50000|88.5|None|Narrow|No|Carrier|Low";
    QTest::newRow("tx on empty row") << false << empty << 2 << "146.5" << true << ok << empty;
    QTest::newRow("tx emptied on empty row") << false << empty << 2 << "" << true << ok << empty;
    QTest::newRow("tx out of range, leave") << false << row << 2 << "165" << false << out
                                            << "146.50000||88.5|None|Narrow|No|Carrier|Low";
    QTest::newRow("tx out of range, Enter") << false << row << 2 << "165" << true << out << empty;
    QTest::newRow("tx off step, leave") << false << row << 2 << "146.5123" << false << step << empty;
    QTest::newRow("tx off step, Enter") << false << row << 2 << "146.5123" << true << step
                                        << "146.50000||88.5|None|Narrow|No|Carrier|Low";
    QTest::newRow("list item") << false << row << 8 << "High" << false << ok
                               << "146.50000|147.00000|88.5|None|Narrow|No|Carrier|High";
    QTest::newRow("list item on empty row") << false << empty << 8 << "Low" << true << ok << empty;
    QTest::newRow("list item, tx only") << false << "|147.00000||||||" << 3 << "88.5" << true << ok
                                        << "|147.00000|88.5|||||";
}

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
    const QStringList cells = before.split('|');
    for (int col = 1; col <= 8; ++col)
        grid.SetText(5, col, cells.at(col - 1));
    const auto result = grid.Commit(5, column, typed, enter ? CChannelGrid::Trigger::Enter : CChannelGrid::Trigger::LeaveCell);
    QCOMPARE(int(result), outcome);
    const RowTexts texts = grid.RowTexts(5);
    QCOMPARE(QStringList(texts.begin(), texts.end()).join('|'), after);
    QCOMPARE(grid.Text(4, 1), QString()); // neighbours untouched
    if (outcome == int(CChannelGrid::Outcome::OutOfRange))
        QCOMPARE(CChannelGrid::Message(result), QStringLiteral("Out of range,please input again."));
    if (outcome == int(CChannelGrid::Outcome::OffStep))
        QCOMPARE(CChannelGrid::Message(result),
                 QStringLiteral("Error data Value, please input according the step value(6.25K/5k)."));
}

void TestEditor::enterWalk()
{
    using Moves = std::vector<std::pair<int, int>>;
    QCOMPARE(CChannelGrid::EnterMoves(5, 1), Moves({ { 5, 2 } }));
    QCOMPARE(CChannelGrid::EnterMoves(5, 8), Moves({ { 5, 1 }, { 6, 1 } }));
    QCOMPARE(CChannelGrid::EnterMoves(16, 8), Moves({ { 1, 8 }, { 1, 1 } }));

    // A walk over the whole grid keeps a channel as it was, and storing marks the image.
    CRadioImage image;
    setRecordBytes(image, 7, 0, hex("00 20 65 14 00 50 65 14 13 28 75 03"));
    image.SetByte(7 * 16 + 12, 0x08);
    image.SetByte(7 * 16 + 13, 0x40);
    CChannelGrid grid(false);
    grid.SetBandLimits(kBand130to160);
    grid.LoadImage(image);
    QCOMPARE(grid.Text(0, 1), QStringLiteral("Rx Frequency"));
    QCOMPARE(grid.Text(16, 0), QStringLiteral("16"));
    QCOMPARE(grid.Text(9, 0), QStringLiteral(" 9"));
    int row = 1, col = 1;
    for (int step = 0; step < 16 * 8; ++step) {
        QCOMPARE(grid.Commit(row, col, grid.Text(row, col), CChannelGrid::Trigger::Enter), CChannelGrid::Outcome::Accepted);
        const auto moves = CChannelGrid::EnterMoves(row, col);
        // On the wrap the first cell of the row is entered and left on the way, committing itself.
        for (std::size_t m = 0; m + 1 < moves.size(); ++m)
            grid.Commit(moves[m].first, moves[m].second, grid.Text(moves[m].first, moves[m].second),
                        CChannelGrid::Trigger::LeaveCell);
        std::tie(row, col) = moves.back();
    }
    QCOMPARE(std::pair(row, col), std::pair(1, 1));
    CRadioImage stored = image;
    grid.StoreGrid(stored);
    QCOMPARE(recordBytes(stored, 7, 0, 14), recordBytes(image, 7, 0, 14));
    QCOMPARE(stored.Byte(ImageMap::kGridStoredMark), std::uint8_t(0x50));
}

QTEST_GUILESS_MAIN(TestEditor)
#include "tst_editor.moc"
