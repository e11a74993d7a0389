#include "cli/CliContext.h"
#include "config/AppPaths.h"
#include "csv/ChannelCsv.h"
#include "csv/CsvText.h"
#include "csv/ImageDiff.h"
#include "editor/ChannelGrid.h"
#include "editor/ToneTable.h"
#include "image/DataFile.h"
#include "tests/common/TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace ChannelCodec;

namespace {

constexpr BandLimits kLimits { 13000000, 17500000 };
const QByteArray kNewer = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                          "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";
const QByteArray kOlder = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                          "Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

CRadioImage freshImage()
{
    CRadioImage image;
    image.ApplyDefaults();
    return image;
}

QString rowText(const CRadioImage &image, int channel)
{
    const RowTexts t = DecodeChannel(image, channel, false);
    return QStringList(t.begin(), t.end()).join(QLatin1Char('|'));
}

// Channels as the grid makes them: a receive frequency typed, then every other field chosen.
CRadioImage gridImage(const std::vector<RowTexts> &rows)
{
    CRadioImage image = freshImage();
    CChannelGrid grid(false);
    grid.SetBandLimits(kLimits);
    grid.LoadImage(image);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int channel = static_cast<int>(i) + 1;
        if (rows[i][0].isEmpty())
            continue;
        for (int col = 1; col < CChannelGrid::kCols; ++col)
            grid.Commit(channel, col, rows[i][col - 1], CChannelGrid::Trigger::Enter);
    }
    grid.StoreGrid(image);
    return image;
}

struct Run
{
    int code;
    QString out, err;
};

Run runCli(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = RunCli(args, o, e);
    o.flush();
    e.flush();
    return { code, out, err };
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parseQuoting();
    void importRows_data();
    void importRows();
    void refusals_data();
    void refusals();
    void exportRoundTripOfEveryKind();
    void roundTripKeepsOddBytes();
    void anyImageGoesBack();
    void garbageIsRefusedWithoutHarm();
    void diff_data();
    void diff();
    void cliImportAllOrNothing();
    void cliDiffExitCodes();
};

void TestCsv::initTestCase()
{
    // The shipped configuration names the bands; the tool only reads it.
    CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR));
}

// Quotes, doubled quotes, commas and line breaks inside fields; a record's line is where it starts.
void TestCsv::parseQuoting()
{
    const auto records = CsvText::Parse("\xEF\xBB\xBF" "a,b\r\n\r\n\"x,\"\"y\"\"\",\"two\nlines\"\nlast,\n");
    QCOMPARE(records.size(), std::size_t(3));
    QCOMPARE(records[0].fields, QStringList({ "a", "b" }));
    QCOMPARE(records[1].line, 3);
    QCOMPARE(records[1].fields, QStringList({ "x,\"y\"", "two\nlines" }));
    QCOMPARE(records[2].line, 5);
    QCOMPARE(records[2].fields, QStringList({ "last", "" }));
    QCOMPARE(CsvText::Parse(CsvText::Line({ "a,b", "\"q\"", " s" }))[0].fields, QStringList({ "a,b", "\"q\"", " s" }));
}

void TestCsv::importRows_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("row"); // the grid's texts, English

    QTest::newRow("repeater +, encode tone") << kNewer + "1,N0CALL,147.060000,+,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
        << 1 << "147.06000|147.66000|None|100.0|Wide|Yes|Off|High";
    QTest::newRow("repeater -, TSQL") << kNewer + "2,TSQ,145.210000,-,0.600000,TSQL,88.5,103.5,023,NN,023,Tone->Tone,FM,5.00,,Low,,,,,\n"
        << 2 << "145.21000|144.61000|103.5|103.5|Wide|Yes|Off|Low";
    QTest::newRow("cross DTCS->DTCS, polarities") << kNewer + "3,XD,146.400000,,0.000000,Cross,88.5,88.5,065,RN,131,DTCS->DTCS,NFM,5.00,S,High,,,,,\n"
        << 3 << "146.40000|146.40000|D131N|D065I|Narrow|No|Off|High";
    QTest::newRow("DTCS both ways") << kNewer + "4,,146.400000,,0.000000,DTCS,88.5,88.5,754,NR,023,Tone->Tone,FM,5.00,,Middle,,,,,\n"
        << 4 << "146.40000|146.40000|D754I|D754N|Wide|Yes|Off|Middle";
    QTest::newRow("cross Tone->DTCS") << kNewer + "5,,146.400000,,0.000000,Cross,123.0,88.5,023,NR,047,Tone->DTCS,FM,5.00,,High,,,,,\n"
        << 5 << "146.40000|146.40000|D047I|123.0|Wide|Yes|Off|High";
    QTest::newRow("cross DTCS->Tone") << kNewer + "6,,146.400000,,0.000000,Cross,88.5,71.9,606,RN,023,DTCS->Tone,FM,5.00,,High,,,,,\n"
        << 6 << "146.40000|146.40000|71.9|D606I|Wide|Yes|Off|High";
    QTest::newRow("cross Tone->Tone") << kNewer + "7,,146.400000,,0.000000,Cross,67.0,254.1,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
        << 7 << "146.40000|146.40000|254.1|67.0|Wide|Yes|Off|High";
    QTest::newRow("cross ->Tone") << kNewer + "8,,146.400000,,0.000000,Cross,88.5,77.0,023,NN,023,->Tone,FM,5.00,,High,,,,,\n"
        << 8 << "146.40000|146.40000|77.0|None|Wide|Yes|Off|High";
    QTest::newRow("cross ->DTCS") << kNewer + "9,,146.400000,,0.000000,Cross,88.5,88.5,023,NN,025,->DTCS,FM,5.00,,High,,,,,\n"
        << 9 << "146.40000|146.40000|D025N|None|Wide|Yes|Off|High";
    QTest::newRow("cross DTCS->") << kNewer + "10,,146.400000,,0.000000,Cross,88.5,88.5,031,RR,025,DTCS->,FM,5.00,,High,,,,,\n"
        << 10 << "146.40000|146.40000|None|D031I|Wide|Yes|Off|High";
    QTest::newRow("older layout, 0-based") << kOlder + "0,SIMPLEX,146.550000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,,\n"
        << 1 << "146.55000|146.55000|None|None|Wide|Yes|Off|High";
    QTest::newRow("older layout cross: tone both ways") << kOlder + "3,,146.550000,,0.000000,Cross,88.5,94.8,023,NN,FM,5.00,,,,,,\n"
        << 3 << "146.55000|146.55000|94.8|88.5|Wide|Yes|Off|High";
    QTest::newRow("older layout DTCS, receive code from DtcsCode") << kOlder + "2,,146.550000,,0.000000,DTCS,88.5,88.5,023,RN,NFM,5.00,,,,,,\n"
        << 2 << "146.55000|146.55000|D023N|D023I|Narrow|Yes|Off|High";
    QTest::newRow("split, 6.25 kHz step") << kNewer + "11,,145.006250,split,170.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,\n"
        << 11 << "145.00625|170.00000|None|None|Wide|Yes|Off|High";
    QTest::newRow("columns reordered, unknown column, quoted comment, busy lock")
        << QByteArray("\xEF\xBB\xBF" "Frequency,Extra,Location,Comment,Mode,Skip,Power\r\n"
                      "146.520000,x,16,\"club, busy=QT/DQT\",NFM,P,1.0W\r\n")
        << 16 << "146.52000|146.52000|None|None|Narrow|Yes|QT/DQT|Low";
    QTest::newRow("hand-written: lower case, blanks") << kNewer + " 13 ,, 146.52 , - ,0.6,cross,88.5,88.5,023,nr,047,tone->dtcs,nfm,5.00,s,low,,,,,\n"
        << 13 << "146.52000|145.92000|D047I|88.5|Narrow|No|Off|Low";
    QTest::newRow("watts for the middle level") << kNewer + "12,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,2.5W,busy=Carrier,,,,\n"
        << 12 << "146.52000|146.52000|None|None|Wide|Yes|Carrier|Middle";
}

void TestCsv::importRows()
{
    QFETCH(QByteArray, csv);
    QFETCH(int, channel);
    QFETCH(QString, row);
    CRadioImage image = freshImage();
    const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(csv, image, kLimits, false);
    QVERIFY2(plan.IsClean(), plan.refusals.empty() ? "" : qPrintable(plan.refusals.front().reason));
    QCOMPARE(ChannelCsv::Apply(plan, image, false), 1);
    QCOMPARE(rowText(image, channel), row);
    // The Chinese grid places the same bytes.
    CRadioImage chinese = freshImage();
    ChannelCsv::Apply(ChannelCsv::Plan(csv, chinese, kLimits, true), chinese, true);
    QCOMPARE(chinese, image);
}

void TestCsv::refusals_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("goodRows");

    const QByteArray good = "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n";
    QTest::newRow("out of band") << kNewer + good + "2,,446.000000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Receive frequency 446.000000 MHz lies outside" << 1;
    QTest::newRow("offset leaves the band") << kNewer + good + "2,,174.000000,+,5.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Transmit frequency 179.000000 MHz lies outside" << 1;
    QTest::newRow("split the radio cannot do") << kNewer + good + "2,,146.000000,split,446.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Transmit frequency 446.000000 MHz" << 1;
    QTest::newRow("off the step") << kNewer + good + "2,,146.521000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "off the 5 kHz and 6.25 kHz steps" << 1;
    QTest::newRow("1 Hz off the step") << kNewer + good + "2,,146.520001,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "off the 5 kHz" << 1;
    QTest::newRow("unknown CTCSS") << kNewer + good + "2,,146.520000,,0.000000,Tone,89.0,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Tone \"89.0\" is not in" << 1;
    QTest::newRow("unknown DCS") << kNewer + good + "2,,146.520000,,0.000000,DTCS,88.5,88.5,024,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Tone \"D024N\"" << 1;
    QTest::newRow("beyond 16") << kNewer + good + "17,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Location 17 lies beyond" << 1;
    QTest::newRow("0-based: 16 is the 17th") << kOlder + "0,,146.550000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,,\n"
                                                          "16,,146.550000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,,\n"
        << 3 << "Location 16 (counted from 0) lies beyond" << 1;
    QTest::newRow("duplex off") << kNewer + good + "2,,146.520000,off,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "cannot switch transmitting off" << 1;
    QTest::newRow("AM") << kNewer + good + "2,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,AM,5.00,,High,,,,,\n"
        << 3 << "Mode \"AM\"" << 1;
    QTest::newRow("reversed DTCS mode") << kNewer + good + "2,,146.520000,,0.000000,DTCS-R,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Tone mode \"DTCS-R\"" << 1;
    QTest::newRow("same channel twice") << kNewer + good + good << 3 << "Channel 1 is already given on line 2" << 1;
    QTest::newRow("not a number") << kNewer + good + "two,,146.520000\n" << 3 << "Location \"two\"" << 1;
    QTest::newRow("no frequency") << kNewer + good + "2,,,,\n" << 3 << "Frequency \"\"" << 1;
    QTest::newRow("no header") << QByteArray("1,,146.520000\n") << 0 << "This is no channel list" << 0;
    QTest::newRow("empty file") << QByteArray() << 0 << "This is no channel list" << 0;
}

// Each refusal names its line; a plan with refusals changes nothing until the rest is applied on
// purpose.
void TestCsv::refusals()
{
    QFETCH(QByteArray, csv);
    QFETCH(int, line);
    QFETCH(QString, reason);
    QFETCH(int, goodRows);
    const CRadioImage image = freshImage();
    const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(csv, image, kLimits, false);
    QVERIFY(!plan.IsClean());
    QCOMPARE(plan.refusals.size(), std::size_t(1));
    QCOMPARE(plan.refusals.front().line, line);
    QVERIFY2(plan.refusals.front().reason.contains(reason), qPrintable(plan.refusals.front().reason));
    QCOMPARE(int(plan.rows.size()), goodRows);
    QVERIFY(!ChannelCsv::Plan(csv, image, kLimits, true).refusals.front().reason.isEmpty());
}

// Random channels of every kind the grid can make survive export and import into a new image byte for byte.
void TestCsv::exportRoundTripOfEveryKind()
{
    QRandomGenerator random(1207);
    const QStringList tones = ToneTable::BuildToneList(false);
    for (int round = 0; round < 40; ++round) {
        std::vector<RowTexts> rows(ImageMap::kChannelCount);
        for (RowTexts &r : rows) {
            if (random.bounded(5) == 0)
                continue; // left empty
            const auto frequency = [&] {
                const bool step625 = random.bounded(2);
                const std::int64_t units = 13000000 + (step625 ? 625 : 500) * random.bounded(step625 ? 7000 : 9000);
                return QString::asprintf("%.5f", units / 100000.0);
            };
            const auto pick = [&](int column) {
                const QStringList items = ListItems(column, false);
                return items.at(random.bounded(int(items.size())));
            };
            r = { frequency(), frequency(), tones.at(random.bounded(int(tones.size()))),
                tones.at(random.bounded(int(tones.size()))), pick(kBandwidth), pick(kScan), pick(kBusyLock), pick(kPower) };
        }
        const CRadioImage source = gridImage(rows);
        const QByteArray csv = ChannelCsv::Export(source);
        CRadioImage target = freshImage();
        const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(csv, target, kLimits, round % 2);
        QVERIFY2(plan.IsClean(), plan.refusals.empty() ? "" : qPrintable(plan.refusals.front().reason));
        ChannelCsv::Apply(plan, target, round % 2);
        for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel)
            QVERIFY2(std::ranges::equal(source.ChannelRecord(channel), target.ChannelRecord(channel)),
                qPrintable(QStringLiteral("round %1 channel %2: %3").arg(round).arg(channel).arg(QString::fromUtf8(csv))));
        QCOMPARE(source.Byte(ImageMap::kScanFlags), target.Byte(ImageMap::kScanFlags));
        QCOMPARE(source.Byte(ImageMap::kScanFlags + 1), target.Byte(ImageMap::kScanFlags + 1));
    }
}

// Bytes the grid cannot make (a receive-only channel, odd nibbles, codes outside the tone list, a
// transmit frequency out of band) still go back into the image they came from unchanged.
void TestCsv::roundTripKeepsOddBytes()
{
    CRadioImage image = freshImage();
    const auto set = [&](int channel, const char *hex) {
        const QByteArray row = TestFiles::Hex(hex);
        image.CopyIn(ImageMap::channelOffset(channel), std::span(reinterpret_cast<const std::uint8_t *>(row.data()), row.size()));
    };
    set(1, "00206514 00506514 7503 1328 08 50 1234");
    set(2, "0A206514 000000A0 ECA9 0F28 18 00 FFFF");
    set(3, "00206514 FFFFFFFF FFFF B602 00 00 0000");
    set(6, "00206514 00206514 FF29 FFFF 00 30 FFFF");
    image.SetByte(ImageMap::kGridStoredMark, 0x50);
    const QByteArray csv = ChannelCsv::Export(image);
    QCOMPARE(csv.count('\n'), 5); // header and four programmed channels
    CRadioImage back = image;
    const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(csv, back, kLimits, false);
    QVERIFY2(plan.IsClean(), plan.refusals.empty() ? "" : qPrintable(plan.refusals.front().reason));
    ChannelCsv::Apply(plan, back, false);
    QCOMPARE(back, image);
    QVERIFY2(csv.contains("1,,146.520000,+,0.030000,Cross,88.5,88.5,023,NN,023,DTCS->Tone,FM,5.00,,Middle,busy=Carrier,"), csv.constData());
    QVERIFY(csv.contains(",off,0.000000,"));
}

// Whatever bytes a radio holds, its export goes back into it without a refusal and without a change.
void TestCsv::anyImageGoesBack()
{
    QRandomGenerator random(88);
    for (int round = 0; round < 300; ++round) {
        CRadioImage image = freshImage();
        for (int at = ImageMap::channelOffset(1); at < ImageMap::channelOffset(17); ++at)
            image.SetByte(at, static_cast<std::uint8_t>(random.bounded(256)));
        image.SetByte(ImageMap::kScanFlags, static_cast<std::uint8_t>(random.bounded(256)));
        image.SetByte(ImageMap::kGridStoredMark, ImageMap::kGridStoredValue);
        const QByteArray csv = ChannelCsv::Export(image);
        CRadioImage back = image;
        const bool chinese = round % 2;
        const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(csv, back, { 0, 0 }, chinese);
        QVERIFY2(plan.IsClean(), plan.refusals.empty() ? "" : qPrintable(plan.refusals.front().reason + QLatin1Char('\n') + QString::fromUtf8(csv)));
        ChannelCsv::Apply(plan, back, chinese);
        QVERIFY2(back == image, csv.constData());
    }
}

// Cut and scrambled files are refused row by row or taken whole; nothing outside the channels moves.
void TestCsv::garbageIsRefusedWithoutHarm()
{
    QRandomGenerator random(5);
    const QByteArray valid = kNewer + "1,,147.060000,+,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,busy=Carrier,,,,\n"
        "2,,145.210000,-,0.600000,Cross,88.5,103.5,065,RN,131,DTCS->Tone,NFM,5.00,S,Low,\"a,\"\"b\",,,,\n";
    const QByteArray alphabet = ",\"\r\n.-+0123456789STDCRN>W \xEF\xBB\xBF\xFF";
    for (int round = 0; round < 500; ++round) {
        QByteArray csv = valid;
        for (int k = random.bounded(1, 12); k > 0; --k) {
            const int at = random.bounded(int(csv.size()));
            const char c = alphabet.at(random.bounded(int(alphabet.size())));
            switch (random.bounded(3)) {
            case 0: csv[at] = c; break;
            case 1: csv.insert(at, c); break;
            default: csv.remove(at, random.bounded(1, 8)); break;
            }
        }
        const CRadioImage image = freshImage();
        CRadioImage after = image;
        const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(csv, after, kLimits, false);
        ChannelCsv::Apply(plan, after, false);
        for (int at = 0; at < ImageMap::kImageSize; ++at) {
            const bool channelByte = at >= ImageMap::channelOffset(1) && at < ImageMap::channelOffset(17);
            if (!channelByte && at != ImageMap::kScanFlags && at != ImageMap::kScanFlags + 1 && at != ImageMap::kGridStoredMark)
                QCOMPARE(after.Byte(at), image.Byte(at));
        }
        for (const ChannelCsv::Refusal &refusal : plan.refusals)
            QVERIFY(!refusal.reason.isEmpty() && refusal.line >= 0);
    }
}

void TestCsv::diff_data()
{
    QTest::addColumn<QStringList>("changes"); // offset=hex byte
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("same") << QStringList() << false << QStringList();
    QTest::newRow("receive frequency") << QStringList { "10=50" } << false
        << QStringList { "Channel 1 Rx Frequency: 146.52000 -> 146.52050" };
    QTest::newRow("scan bit of channel 9, Chinese") << QStringList { "17F=FE" } << true
        << QStringList { "信道 9 扫描: 是 -> 否" };
    QTest::newRow("scan bit of an empty channel") << QStringList { "17E=FD" } << false
        << QStringList { "Byte 0x17E: FF -> FD" };
    QTest::newRow("bytes 14-15 have no column") << QStringList { "1E=00", "1F=01" } << false
        << QStringList { "Bytes 0x01E-0x01F: FF FF -> 00 01" };
    QTest::newRow("option and alignment") << QStringList { "134=07", "300=00", "301=00" } << false
        << QStringList { "Squelch Level: 5 -> 7", "Bytes 0x300-0x301: FF FF -> 00 00" };
}

void TestCsv::diff()
{
    QFETCH(QStringList, changes);
    QFETCH(bool, chinese);
    QFETCH(QStringList, lines);
    const CRadioImage first = gridImage({ { "146.52000", "146.52000", "None", "None", "Wide", "Yes", "Off", "High" },
        {}, {}, {}, {}, {}, {}, {},
        { "146.52000", "146.52000", "None", "None", "Wide", "Yes", "Off", "High" } });
    CRadioImage second = first;
    for (const QString &change : changes) {
        const QStringList parts = change.split(QLatin1Char('='));
        second.SetByte(parts[0].toInt(nullptr, 16), static_cast<std::uint8_t>(parts[1].toInt(nullptr, 16)));
    }
    CIniFile ini;
    ini.OpenBesideExe(QStringLiteral("Program.ini"), false, true, false);
    const QStringList got = ImageDiff::Lines(ImageDiff::Compare(first, second, ini, chinese));
    for (const QString &line : lines)
        QVERIFY2(got.contains(line), qPrintable(got.join(QLatin1Char('\n'))));
    QCOMPARE(got.size(), lines.size());
}

void TestCsv::cliImportAllOrNothing()
{
    QTemporaryDir dir;
    const QString dat = dir.filePath("a.dat"), csv = dir.filePath("in.csv");
    QCOMPARE(runCli({ "new", dat }).code, 0);
    const QByteArray before = TestFiles::Read(dat);
    QVERIFY(TestFiles::Write(csv, kNewer + "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
                                           "2,,446.000000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"));
    Run r = runCli({ "import", dat, csv });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("Line 3: Receive frequency 446.000000 MHz"), qPrintable(r.err));
    QCOMPARE(TestFiles::Read(dat), before);

    r = runCli({ "import", dat, csv, "--skip-bad" });
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains("Imported 1 channel(s), skipped 1 row(s)."), qPrintable(r.out + r.err));
    const QString out = dir.filePath("out.csv");
    QCOMPARE(runCli({ "export", dat, "-o", out }).code, 0);
    QVERIFY(TestFiles::Read(out).contains("\r\n1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,busy=Off,,,,\r\n"));
    QCOMPARE(runCli({ "import", dat, dir.filePath("missing.csv") }).code, 1);
    const QByteArray imported = TestFiles::Read(dat);
    QVERIFY(TestFiles::Write(csv, kNewer + "2,,446.000000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"));
    QCOMPARE(runCli({ "import", dat, csv, "--skip-bad" }).code, 1); // nothing left to import
    QCOMPARE(TestFiles::Read(dat), imported);
}

void TestCsv::cliDiffExitCodes()
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.dat"), b = dir.filePath("b.dat");
    runCli({ "new", a });
    runCli({ "new", b });
    QCOMPARE(runCli({ "diff", a, b }).code, 0);
    runCli({ "set", b, "4", "rx=146.52" });
    const Run r = runCli({ "diff", a, b, "--lang", "chinese" });
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.contains("信道 4 接收频率: (空) -> 146.52000"), qPrintable(r.out));
    QCOMPARE(runCli({ "diff", a, dir.filePath("none.dat") }).code, 2);
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
