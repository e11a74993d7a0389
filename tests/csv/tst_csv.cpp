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
    void parse_data();
    void parse();
    void importRows_data();
    void importRows();
    void refusals_data();
    void refusals();
    void exportRows_data();
    void exportRows();
    void exportRoundTripOfEveryKind();
    void roundTripKeepsOddBytes();
    void anyImageGoesBack();
    void garbageIsRefusedWithoutHarm();
    void diff_data();
    void diff();
    void cliImportAllOrNothing();
    void cliImport_data();
    void cliImport();
    void cliDiffExitCodes();
};

void TestCsv::initTestCase()
{
    // The shipped configuration names the bands; the tool only reads it.
    CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR));
}

void TestCsv::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("records"); // "line: field|field"
    QTest::addColumn<int>("openQuoteLine");

    QTest::newRow("quotes, doubled quotes, breaks inside, BOM, empty line")
        << QByteArray("\xEF\xBB\xBF" "a,b\r\n\r\n\"x,\"\"y\"\"\",\"two\nlines\"\nlast,\n") << ","
        << QStringList { "1: a|b", "3: x,\"y\"|two\nlines", "5: last|" } << 0;
    QTest::newRow("semicolons, commas stay in fields") << QByteArray("a;b\n1,5;\"x;y\"\n") << ";"
        << QStringList { "1: a|b", "2: 1,5|x;y" } << 0;
    QTest::newRow("tabs") << QByteArray("a\tb\r\n1\t 2\r\n") << "\t" << QStringList { "1: a|b", "2: 1| 2" } << 0;
    QTest::newRow("quote open to the end: the line it opened on") << QByteArray("a,b\n1,\"x\n2,y\n3,z\n") << ","
        << QStringList { "1: a|b", "2: 1|x\n2,y\n3,z\n" } << 2;
    QTest::newRow("a doubled quote inside a closed field is no open quote") << QByteArray("a\n\"say \"\"hi\"\"\"\n") << ","
        << QStringList { "1: a", "2: say \"hi\"" } << 0;
    QTest::newRow("long runs around quotes, CR LF inside a quote, letters beyond ASCII")
        << QByteArray("Kanal,\xC3\xBC\xC3\xA9\n\"ab,cd\r\nef\"\"g\",xy\"z\nend\n") << ","
        << QStringList { "1: Kanal|\u00FC\u00E9", "2: ab,cd\r\nef\"g|xy\"z", "4: end" } << 0;
}

// Records keep the line they start on; a quote left open is reported with the line it opened on.
void TestCsv::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, separator);
    QFETCH(QStringList, records);
    QFETCH(int, openQuoteLine);
    const CsvText::Table table = CsvText::Parse(text, separator.at(0));
    QStringList got;
    for (const CsvText::Record &record : table.records)
        got << QStringLiteral("%1: %2").arg(record.line).arg(record.fields.join(QLatin1Char('|')));
    QCOMPARE(got, records);
    QCOMPARE(table.openQuoteLine, openQuoteLine);
    QCOMPARE(CsvText::Parse(CsvText::Line({ "a,b", "\"q\"", " s" })).records[0].fields, QStringList({ "a,b", "\"q\"", " s" }));
}

void TestCsv::importRows_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("row"); // the grid's texts, English
    QTest::addColumn<int>("first");    // the Location of channel 1, -1 as the file counts
    QTest::addColumn<QString>("note"); // what the plan says of a row it takes

    QTest::newRow("repeater +, encode tone") << kNewer + "1,N0CALL,147.060000,+,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
        << 1 << "147.06000|147.66000|None|100.0|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("repeater -, TSQL") << kNewer + "2,TSQ,145.210000,-,0.600000,TSQL,88.5,103.5,023,NN,023,Tone->Tone,FM,5.00,,Low,,,,,\n"
        << 2 << "145.21000|144.61000|103.5|103.5|Wide|Yes|Off|Low" << -1 << QString();
    QTest::newRow("cross DTCS->DTCS, polarities") << kNewer + "3,XD,146.400000,,0.000000,Cross,88.5,88.5,065,RN,131,DTCS->DTCS,NFM,5.00,S,High,,,,,\n"
        << 3 << "146.40000|146.40000|D131N|D065I|Narrow|No|Off|High" << -1 << QString();
    QTest::newRow("DTCS both ways") << kNewer + "4,,146.400000,,0.000000,DTCS,88.5,88.5,754,NR,023,Tone->Tone,FM,5.00,,Middle,,,,,\n"
        << 4 << "146.40000|146.40000|D754I|D754N|Wide|Yes|Off|Middle" << -1 << QString();
    QTest::newRow("cross Tone->DTCS") << kNewer + "5,,146.400000,,0.000000,Cross,123.0,88.5,023,NR,047,Tone->DTCS,FM,5.00,,High,,,,,\n"
        << 5 << "146.40000|146.40000|D047I|123.0|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("cross DTCS->Tone") << kNewer + "6,,146.400000,,0.000000,Cross,88.5,71.9,606,RN,023,DTCS->Tone,FM,5.00,,High,,,,,\n"
        << 6 << "146.40000|146.40000|71.9|D606I|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("cross Tone->Tone") << kNewer + "7,,146.400000,,0.000000,Cross,67.0,254.1,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
        << 7 << "146.40000|146.40000|254.1|67.0|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("cross ->Tone") << kNewer + "8,,146.400000,,0.000000,Cross,88.5,77.0,023,NN,023,->Tone,FM,5.00,,High,,,,,\n"
        << 8 << "146.40000|146.40000|77.0|None|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("cross ->DTCS") << kNewer + "9,,146.400000,,0.000000,Cross,88.5,88.5,023,NN,025,->DTCS,FM,5.00,,High,,,,,\n"
        << 9 << "146.40000|146.40000|D025N|None|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("cross DTCS->") << kNewer + "10,,146.400000,,0.000000,Cross,88.5,88.5,031,RR,025,DTCS->,FM,5.00,,High,,,,,\n"
        << 10 << "146.40000|146.40000|None|D031I|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("older layout, 0-based") << kOlder + "0,SIMPLEX,146.550000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,,\n"
        << 1 << "146.55000|146.55000|None|None|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("older layout cross: tone both ways") << kOlder + "3,,146.550000,,0.000000,Cross,88.5,94.8,023,NN,FM,5.00,,,,,,\n"
        << 3 << "146.55000|146.55000|94.8|88.5|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("older layout DTCS, receive code from DtcsCode") << kOlder + "2,,146.550000,,0.000000,DTCS,88.5,88.5,023,RN,NFM,5.00,,,,,,\n"
        << 2 << "146.55000|146.55000|D023N|D023I|Narrow|Yes|Off|High" << -1 << QString();
    QTest::newRow("split, 6.25 kHz step") << kNewer + "11,,145.006250,split,170.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,\n"
        << 11 << "145.00625|170.00000|None|None|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("columns reordered, unknown column, quoted comment, busy lock")
        << QByteArray("\xEF\xBB\xBF" "Frequency,Extra,Location,Comment,Mode,Skip,Power\r\n"
                      "146.520000,x,16,\"club, busy=QT/DQT\",NFM,P,1.0W\r\n")
        << 16 << "146.52000|146.52000|None|None|Narrow|Yes|QT/DQT|Low" << -1 << QString();
    QTest::newRow("hand-written: lower case, blanks") << kNewer + " 13 ,, 146.52 , - ,0.6,cross,88.5,88.5,023,nr,047,tone->dtcs,nfm,5.00,s,low,,,,,\n"
        << 13 << "146.52000|145.92000|D047I|88.5|Narrow|No|Off|Low" << -1 << QString();
    QTest::newRow("watts for the middle level") << kNewer + "12,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,2.5W,busy=Carrier,,,,\n"
        << 12 << "146.52000|146.52000|None|None|Wide|Yes|Carrier|Middle" << -1 << QString();
    QTest::newRow("semicolons, as European spreadsheets save") << QByteArray(
        "Location;Name;Frequency;Duplex;Offset;Tone;rToneFreq;cToneFreq;DtcsCode;DtcsPolarity;Mode;Power;Comment\r\n"
        "4;\"a;b\";146.520000;+;0.600000;TSQL;88.5;103.5;023;NN;NFM;Med;\"busy=QT/DQT; club\"\r\n")
        << 4 << "146.52000|147.12000|103.5|103.5|Narrow|Yes|QT/DQT|Middle" << -1 << QString();
    QTest::newRow("semicolons with decimal commas") << QByteArray("Location;Frequency;Duplex;Offset;Tone;rToneFreq;Power\n"
                                                                 "9;146,520000;-;0,600000;Tone;88,5;2,5W\n")
        << 9 << "146.52000|145.92000|None|88.5|Wide|Yes|Off|Middle" << -1 << QString();
    QTest::newRow("tabs") << QByteArray("Location\tFrequency\tDuplex\tOffset\tTone\tDtcsCode\tDtcsPolarity\tPower\n"
                                       "5\t145.500000\tsplit\t150.000000\tDTCS\t114\tRN\t1.9W\n")
        << 5 << "145.50000|150.00000|D114N|D114I|Wide|Yes|Off|Low" << -1 << QString();
    QTest::newRow("watts: 2.0 W is the middle level") << kNewer + "6,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,2.0W,,,,,\n"
        << 6 << "146.52000|146.52000|None|None|Wide|Yes|Off|Middle" << -1 << QString();
    QTest::newRow("watts: 4 W is the high level") << kNewer + "6,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,4 W,,,,,\n"
        << 6 << "146.52000|146.52000|None|None|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("watts: 3.9 W is the middle level") << kNewer + "6,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,3.9w,,,,,\n"
        << 6 << "146.52000|146.52000|None|None|Wide|Yes|Off|Middle" << -1 << QString();
    QTest::newRow("a tone outside the list, taken with a note") << kNewer + "7,,146.520000,,0.000000,Tone,69.4,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 7 << "146.52000|146.52000|None|69.4|Wide|Yes|Off|High" << -1 << "Line 2: Taken as it stands, though not in the standard tone list: 69.4 Hz.";
    QTest::newRow("two codes outside the list") << kNewer + "8,,146.520000,,0.000000,Cross,88.5,88.5,017,NR,050,DTCS->DTCS,FM,5.00,,High,,,,,\n"
        << 8 << "146.52000|146.52000|D050I|D017N|Wide|Yes|Off|High" << -1 << "Line 2: Taken as it stands, though not in the standard tone list: DCS 017, DCS 050.";
    QTest::newRow("Location 21 into channel 1") << kNewer + "21,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
                                                           "20,,146.000000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
                                                           "37,,146.000000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 1 << "146.52000|146.52000|None|None|Wide|Yes|Off|High" << 21 << QString();
    QTest::newRow("Location 36 into channel 16") << kNewer + "36,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 16 << "146.52000|146.52000|None|None|Wide|Yes|Off|High" << 21 << QString();
    QTest::newRow("from 0 in a file counted from 1") << kNewer + "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 2 << "146.52000|146.52000|None|None|Wide|Yes|Off|High" << 0 << QString();
}

void TestCsv::importRows()
{
    QFETCH(QByteArray, csv);
    QFETCH(int, channel);
    QFETCH(QString, row);
    QFETCH(int, first);
    QFETCH(QString, note);
    CRadioImage image = freshImage();
    const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(csv, image, kLimits, false, first);
    QVERIFY2(plan.IsClean(), plan.refusals.empty() ? "" : qPrintable(plan.refusals.front().reason));
    QCOMPARE(ChannelCsv::Apply(plan, image, false), 1);
    QCOMPARE(rowText(image, channel), row);
    QCOMPARE(plan.notes.empty() ? QString() : ChannelCsv::Describe(plan.notes.front(), false), note);
    // The Chinese grid places the same bytes.
    CRadioImage chinese = freshImage();
    ChannelCsv::Apply(ChannelCsv::Plan(csv, chinese, kLimits, true, first), chinese, true);
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
        << 3 << "Receive frequency 446.000000 MHz lies outside the radio's band, 130\u2013175 MHz." << 1;
    QTest::newRow("offset leaves the band") << kNewer + good + "2,,174.000000,+,5.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Transmit frequency 179.000000 MHz lies outside the radio's band, 130\u2013175 MHz." << 1;
    QTest::newRow("split the radio cannot do") << kNewer + good + "2,,146.000000,split,446.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "Transmit frequency 446.000000 MHz" << 1;
    QTest::newRow("off the step") << kNewer + good + "2,,146.521000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "off the 5 kHz and 6.25 kHz steps" << 1;
    QTest::newRow("1 Hz off the step") << kNewer + good + "2,,146.520001,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "off the 5 kHz" << 1;
    QTest::newRow("CTCSS below what the tone word holds") << kNewer + good + "2,,146.520000,,0.000000,Tone,25.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "The radio cannot hold the CTCSS tone 25.5 Hz." << 1;
    QTest::newRow("CTCSS that would read as DCS") << kNewer + good + "2,,146.520000,,0.000000,TSQL,88.5,1030.0,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "The radio cannot hold the CTCSS tone 1030.0 Hz." << 1;
    QTest::newRow("CTCSS with two decimals") << kNewer + good + "2,,146.520000,,0.000000,Tone,88.55,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "rToneFreq \"88.55\" is not a tone in Hz" << 1;
    QTest::newRow("DCS code with a digit 8") << kNewer + good + "2,,146.520000,,0.000000,DTCS,88.5,88.5,028,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "DtcsCode \"028\" is not a DCS code" << 1;
    QTest::newRow("DTCS with no code") << kNewer + good + "2,,146.520000,,0.000000,DTCS,88.5,88.5,,NN,023,,FM,5.00,,High,,,,,\n"
        << 3 << "DtcsCode is empty, but the row's tone mode DTCS needs a value there." << 1;
    QTest::newRow("cross with no receive code") << kNewer + good + "2,,146.520000,,0.000000,Cross,88.5,88.5,023,NN,,Tone->DTCS,FM,5.00,,High,,,,,\n"
        << 3 << "RxDtcsCode is empty, but the row's tone mode Cross (Tone->DTCS) needs a value there." << 1;
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
    QTest::newRow("no header") << QByteArray("1,,146.520000\n") << 0 << "This is no channel list: its first line, split at \",\"" << 0;
    QTest::newRow("semicolons without the columns") << QByteArray("Loc;Freq;Tone\n1;146.52;\n") << 0
        << "This is no channel list: its first line, split at \";\", does not name" << 0;
    QTest::newRow("tabs without the columns") << QByteArray("Loc\tFreq\n1\t146.52\n") << 0 << "split at tabs" << 0;
    QTest::newRow("a column named twice") << QByteArray("Location,Frequency,Tone,frequency\n1,146.52,,145.5\n") << 1
        << "The first line names the column \"Frequency\" twice." << 0;
    QTest::newRow("a column named twice in other cases, the first known name reported")
        << QByteArray(" LOCATION ,Frequency,tone,Tone ,FREQUENCY\n1,146.52,,,\n") << 1
        << "The first line names the column \"Frequency\" twice." << 0;
    QTest::newRow("a column named twice, once with a Kelvin sign for its k")
        << QByteArray("Location,Frequency,Skip,S\xE2\x84\xAAIP\n1,146.52,,\n") << 1
        << "The first line names the column \"Skip\" twice." << 0;
    QTest::newRow("a quote never closed") << kNewer + good + "2,\"club,146.520000,,0.000000\n3,,146.520000\n" << 3
        << "The quote opened on this line is never closed" << 0;
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

void TestCsv::exportRows_data()
{
    QTest::addColumn<QByteArray>("record"); // channel 1's 16 bytes
    QTest::addColumn<QByteArray>("row");    // what export writes for it
    QTest::addColumn<QString>("warning");

    // Bytes 12-13 as an import into a fresh image leaves them: busy lock off, wide or narrow, the level.
    QTest::newRow("TSQL: both CTCSS columns, high in watts") << TestFiles::Hex("00206514 00206514 E803 E803 E7 BF FFFF")
        << QByteArray("1,,146.520000,,0.000000,TSQL,100.0,100.0,023,NN,023,Tone->Tone,FM,5.00,,5.0W,busy=Off,,,,") << QString();
    QTest::newRow("Tone: the tone in both columns, middle") << TestFiles::Hex("00206514 00205914 FFFF E803 E7 DF FFFF")
        << QByteArray("1,,146.520000,-,0.600000,Tone,100.0,100.0,023,NN,023,Tone->Tone,FM,5.00,,2.5W,busy=Off,,,,") << QString();
    QTest::newRow("->DTCS: the code and its polarity on both sides, low") << TestFiles::Hex("00206514 00206514 27A8 FFFF E7 8F FFFF")
        << QByteArray("1,,146.520000,,0.000000,Cross,88.5,88.5,047,RR,047,->DTCS,NFM,5.00,,1.0W,busy=Off,,,,") << QString();
    QTest::newRow("Tone->DTCS") << TestFiles::Hex("00206514 00206514 27A8 CE04 E7 BF FFFF")
        << QByteArray("1,,146.520000,,0.000000,Cross,123.0,123.0,047,RR,047,Tone->DTCS,FM,5.00,,5.0W,busy=Off,,,,") << QString();
    QTest::newRow("DTCS->Tone, a code with bit 8") << TestFiles::Hex("00206514 00206514 CF02 86A9 E7 BF FFFF")
        << QByteArray("1,,146.520000,,0.000000,Cross,71.9,71.9,606,RR,606,DTCS->Tone,FM,5.00,,5.0W,busy=Off,,,,") << QString();
    QTest::newRow("69.4 Hz and a code outside the table, as they are") << TestFiles::Hex("00206514 00206514 0528 B602 E7 BF FFFF")
        << QByteArray("1,,146.520000,,0.000000,Cross,69.4,69.4,005,NN,005,Tone->DTCS,FM,5.00,,5.0W,busy=Off,,,,")
        << "Channel 1: not in the standard tone list: 69.4 Hz, DCS 005. Other programs may refuse this row.";
    QTest::newRow("017 both ways, named once") << TestFiles::Hex("00206514 00206514 0FA8 0F28 E7 BF FFFF")
        << QByteArray("1,,146.520000,,0.000000,DTCS,88.5,88.5,017,NR,017,Tone->Tone,FM,5.00,,5.0W,busy=Off,,,,")
        << "Channel 1: not in the standard tone list: DCS 017. Other programs may refuse this row.";
}

// Every tone column carries the row's tone of its kind and power is in watts; the row goes into a
// fresh image byte for byte, tones outside the list included.
void TestCsv::exportRows()
{
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, row);
    QFETCH(QString, warning);
    CRadioImage image = freshImage();
    image.CopyIn(ImageMap::channelOffset(1), std::span(reinterpret_cast<const std::uint8_t *>(record.data()), record.size()));
    const QByteArray csv = ChannelCsv::Export(image);
    QCOMPARE(csv.split('\n').value(1).trimmed(), row);
    QCOMPARE(ChannelCsv::ExportWarnings(image, false), warning.isEmpty() ? QStringList() : QStringList { warning });
    QCOMPARE(ChannelCsv::ExportWarnings(image, true).size(), warning.isEmpty() ? 0 : 1);

    CRadioImage back = freshImage();
    const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(csv, back, kLimits, false);
    QVERIFY2(plan.IsClean(), plan.refusals.empty() ? "" : qPrintable(plan.refusals.front().reason));
    QCOMPARE(plan.notes.size(), std::size_t(warning.isEmpty() ? 0 : 1));
    ChannelCsv::Apply(plan, back, false);
    const auto got = back.ChannelRecord(1);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(got.data()), got.size()).toHex(' '), record.toHex(' '));
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
    QVERIFY2(csv.contains("1,,146.520000,+,0.030000,Cross,88.5,88.5,023,NN,023,DTCS->Tone,FM,5.00,,2.5W,busy=Carrier,"), csv.constData());
    // A code outside the table is the radio's own: 777 in the tone word FF 29.
    QVERIFY2(csv.contains("6,,146.520000,,0.000000,Cross,88.5,88.5,777,NN,777,->DTCS,FM,5.00,"), csv.constData());
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
    QVERIFY(TestFiles::Read(out).contains("\r\n1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,busy=Off,,,,\r\n"));
    QCOMPARE(runCli({ "import", dat, dir.filePath("missing.csv") }).code, 1);
    const QByteArray imported = TestFiles::Read(dat);
    QVERIFY(TestFiles::Write(csv, kNewer + "2,,446.000000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"));
    QCOMPARE(runCli({ "import", dat, csv, "--skip-bad" }).code, 1); // nothing left to import
    QCOMPARE(TestFiles::Read(dat), imported);

    // A tone outside the list is written as it is, and said once per channel.
    CRadioImage odd = freshImage();
    odd.CopyIn(ImageMap::channelOffset(2), std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t *>(TestFiles::Hex("00206514 00206514 B602 B602 E7 BF FFFF").constData()), 16));
    QVERIFY(DataFile::Save(dat, odd).ok());
    r = runCli({ "export", dat, "-o", out });
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QStringLiteral("Channel 2: not in the standard tone list: 69.4 Hz. Other programs may refuse this row.\n"));
    QVERIFY(TestFiles::Read(out).contains("\r\n2,,146.520000,,0.000000,TSQL,69.4,69.4,023,NN,023,Tone->Tone,FM,5.00,,5.0W,"));
}

void TestCsv::cliImport_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QStringList>("err");      // lines stderr must hold
    QTest::addColumn<QString>("notInErr");
    QTest::addColumn<QStringList>("channels"); // receive frequencies of channels 1 and 16 after

    // A shared list of 60 Locations: Location n on 145 MHz + n × 25 kHz.
    QByteArray list = kNewer;
    for (int n = 1; n <= 60; ++n)
        list += QByteArray::number(n) + ",," + QByteArray::number(145000000 + n * 25000).insert(3, '.') + ",,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,5.0W,,,,,\n";
    const QByteArray outOfBand = kNewer + "1,,446.000000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
                                          "2,,446.500000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n";

    QTest::newRow("60 rows from Location 21") << list << QStringList { "--from", "21" } << 0
        << "Imported 16 channel(s), left out 44 rows outside Locations 21\u201336.\n" << QStringList() << QString()
        << QStringList { "145.52500", "145.90000" };
    QTest::newRow("60 rows from Location 21, Chinese") << list << QStringList { "--from", "21", "--lang", "chinese" } << 0
        << "已导入 16 个信道, 略去 Location 21\u201336 之外的 44 行。\n" << QStringList() << QString()
        << QStringList { "145.52500", "145.90000" };
    QTest::newRow("60 rows without --from") << list << QStringList() << 1 << QString()
        << QStringList { "Line 18: Location 17 lies beyond channel 16.",
               "The file's Locations run from 1 to 60: --from L puts Locations L to L+15 into channels 1 to 16." }
        << QString() << QStringList { "", "" };
    QTest::newRow("--from past the file's rows") << list << QStringList { "--from", "100" } << 1 << QString()
        << QStringList { "Nothing was imported: the file has no row in Locations 100\u2013115." } << QString()
        << QStringList { "", "" };
    QTest::newRow("every row refused, --skip-bad") << outOfBand << QStringList { "--skip-bad" } << 1 << QString()
        << QStringList { "Line 2: Receive frequency 446.000000 MHz lies outside the radio's band, 130\u2013161 MHz.",
               "--band N (N: 1 \"130 - 160MHz\", 2 \"136 - 174MHz\"", "Nothing was imported: none of the 2 row(s) can be placed." }
        << "--skip-bad imports the rest" << QStringList { "", "" };
    QTest::newRow("a quote never closed") << kNewer + "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
                                                      "2,,146.550000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,\"club,,,,\n"
                                                      "3,,146.600000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << QStringList { "--skip-bad" } << 1 << QString()
        << QStringList { "Line 3: The quote opened on this line is never closed" } << QString() << QStringList { "", "" };
}

// program-cli import: the summary on stdout, refusals with what would help on stderr, the file
// untouched whenever the command fails.
void TestCsv::cliImport()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QStringList, err);
    QFETCH(QString, notInErr);
    QFETCH(QStringList, channels);
    QTemporaryDir dir;
    const QString dat = dir.filePath("a.dat"), in = dir.filePath("in.csv");
    QCOMPARE(runCli({ "new", dat }).code, 0);
    const QByteArray before = TestFiles::Read(dat);
    QVERIFY(TestFiles::Write(in, csv));
    const Run r = runCli(QStringList { "import", dat, in } + args);
    QCOMPARE(r.code, code);
    QCOMPARE(r.out, out);
    for (const QString &line : err)
        QVERIFY2(r.err.contains(line), qPrintable(r.err));
    if (!notInErr.isEmpty())
        QVERIFY2(!r.err.contains(notInErr), qPrintable(r.err));
    if (code != 0)
        QCOMPARE(TestFiles::Read(dat), before);
    CRadioImage image;
    QVERIFY(DataFile::Load(dat, image).ok());
    QCOMPARE(DecodeChannel(image, 1, false)[0], channels.at(0));
    QCOMPARE(DecodeChannel(image, 16, false)[0], channels.at(1));
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
