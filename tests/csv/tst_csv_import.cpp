// Reading channel files: the text parser, rows taken into the image, refused rows and files, and
// program-cli importing them all or nothing.

#include "tests/csv/CsvTestSupport.h"

#include <QStringEncoder>

using namespace CsvTest;

namespace {

// Text as a spreadsheet's "Unicode text" saves it: UTF-16 behind its byte-order mark.
QByteArray utf16(const QByteArray& utf8, bool bigEndian)
{
    QStringEncoder encode(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    return (bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE")) + QByteArray(encode(QString::fromUtf8(utf8)));
}

} // namespace

class TestCsvImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void parse_data();
    void parse();
    void importRows_data();
    void importRows();
    void refusals_data();
    void refusals();
    void garbageIsRefusedWithoutHarm();
    void cliImport_data();
    void cliImport();
};

void TestCsvImport::initTestCase()
{
    // The shipped configuration names the bands; the tool only reads it.
    CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR));
}

void TestCsvImport::parse_data()
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
void TestCsvImport::parse()
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

void TestCsvImport::importRows_data()
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
    QTest::newRow("a header line wider than the first 64 KB, where the separator is looked for")
        << QByteArray("Location;Frequency;Power") + QByteArray(";spare").repeated(12000)
            + "\n3;146,520000;Low\n"
        << 3 << "146.52000|146.52000|None|None|Wide|Yes|Off|Low" << -1 << QString();
    QTest::newRow("watts: 2.0 W is the middle level") << kNewer + "6,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,2.0W,busy=Carrier,,,,\n"
        << 6 << "146.52000|146.52000|None|None|Wide|Yes|Carrier|Middle" << -1 << QString();
    QTest::newRow("watts: 4 W is the high level") << kNewer + "6,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,4 W,,,,,\n"
        << 6 << "146.52000|146.52000|None|None|Wide|Yes|Off|High" << -1 << QString();
    QTest::newRow("watts: 3.9 W is the middle level") << kNewer + "6,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,3.9w,,,,,\n"
        << 6 << "146.52000|146.52000|None|None|Wide|Yes|Off|Middle" << -1 << QString();
    QTest::newRow("a tone outside the list, taken with a note") << kNewer + "7,,146.520000,,0.000000,Tone,69.4,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 7 << "146.52000|146.52000|None|69.4|Wide|Yes|Off|High" << -1 << "Line 2: Taken as it stands, though not in the standard tone list: 69.4 Hz.";
    QTest::newRow("two codes outside the list") << kNewer + "8,,146.520000,,0.000000,Cross,88.5,88.5,017,NR,050,DTCS->DTCS,FM,5.00,,High,,,,,\n"
        << 8 << "146.52000|146.52000|D050I|D017N|Wide|Yes|Off|High" << -1 << "Line 2: Taken as it stands, though not in the standard tone list: DCS 017, DCS 050.";
    QTest::newRow("a spreadsheet's Unicode text: UTF-16, little-endian, tabs")
        << utf16("Location\tName\tFrequency\tTone\trToneFreq\tComment\r\n12\t\xE4\xBF\xB1\xE4\xB9\x90\xE9\x83\xA8\t146,520000\tTone\t88,5\tbusy=Carrier\r\n", false)
        << 12 << "146.52000|146.52000|None|88.5|Wide|Yes|Carrier|High" << -1 << QString();
    QTest::newRow("UTF-16, big-endian, commas")
        << utf16("Location,Frequency,Mode\n4,145.500000,NFM\n", true)
        << 4 << "145.50000|145.50000|None|None|Narrow|Yes|Off|High" << -1 << QString();
    QTest::newRow("from 0 in a file counted from 1") << kNewer + "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 2 << "146.52000|146.52000|None|None|Wide|Yes|Off|High" << 0 << QString();
}

void TestCsvImport::importRows()
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

void TestCsvImport::refusals_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("goodRows");

    const QByteArray good = "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n";
    // Channel 2 on line 3, as the good channel 1 but for one change.
    const auto second = [&](const char *from, const char *to) { return kNewer + good + QByteArray("2" + good.mid(1)).replace(from, to); };
    const QString band = QStringLiteral("lies outside the radio's band, 130\u2013175 MHz.");
    QTest::newRow("out of band") << second("146.520000", "446.000000") << 3 << "Receive frequency 446.000000 MHz " + band << 1;
    QTest::newRow("offset leaves the band") << second("146.520000,,0.000000", "174.000000,+,5.000000") << 3
        << "Transmit frequency 179.000000 MHz " + band << 1;
    QTest::newRow("split the radio cannot do") << second("146.520000,,0.000000", "146.000000,split,446.000000") << 3
        << "Transmit frequency 446.000000 MHz" << 1;
    QTest::newRow("off the step") << second("146.520000", "146.521000") << 3 << "off the 5 kHz and 6.25 kHz steps" << 1;
    QTest::newRow("1 Hz off the step") << second("146.520000", "146.520001") << 3 << "off the 5 kHz" << 1;
    QTest::newRow("CTCSS below what the tone word holds") << second(",,88.5,88.5", ",Tone,25.5,88.5") << 3
        << "The radio cannot hold the CTCSS tone 25.5 Hz." << 1;
    QTest::newRow("CTCSS that would read as DCS") << second(",,88.5,88.5", ",TSQL,88.5,1030.0") << 3
        << "The radio cannot hold the CTCSS tone 1030.0 Hz." << 1;
    QTest::newRow("CTCSS with two decimals") << second(",,88.5,88.5", ",Tone,88.55,88.5") << 3 << "rToneFreq \"88.55\" is not a tone in Hz" << 1;
    QTest::newRow("DCS code with a digit 8") << second(",,88.5,88.5,023", ",DTCS,88.5,88.5,028") << 3 << "DtcsCode \"028\" is not a DCS code" << 1;
    QTest::newRow("DTCS with no code") << second(",,88.5,88.5,023", ",DTCS,88.5,88.5,") << 3
        << "DtcsCode is empty, but the row's tone mode DTCS needs a value there." << 1;
    QTest::newRow("cross with no receive code") << second(",,88.5,88.5,023,NN,023,,", ",Cross,88.5,88.5,023,NN,,Tone->DTCS,") << 3
        << "RxDtcsCode is empty, but the row's tone mode Cross (Tone->DTCS) needs a value there." << 1;
    QTest::newRow("beyond 16") << second("2,,", "17,,") << 3 << "Location 17 lies beyond" << 1;
    QTest::newRow("0-based: 16 is the 17th") << kOlder + "0,,146.550000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,,\n"
                                                          "16,,146.550000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,,\n"
        << 3 << "Location 16 (counted from 0) lies beyond" << 1;
    QTest::newRow("duplex off") << second(",,0.000000", ",off,0.000000") << 3 << "cannot switch transmitting off" << 1;
    QTest::newRow("AM") << second(",FM,", ",AM,") << 3 << "Mode \"AM\"" << 1;
    QTest::newRow("reversed DTCS mode") << second(",,88.5", ",DTCS-R,88.5") << 3 << "Tone mode \"DTCS-R\"" << 1;
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
    // Line 4 (Location 3) opens a quote that line 8 closes: Locations 4-7 would vanish into one field.
    QTest::newRow("a quote closed lines later") << kNewer + good + QByteArray("2" + good.mid(1))
            + "3,\"club,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
              "4,,146.540000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n5,,146.560000\n6,,146.580000\n"
              "7,\",147.000000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n"
        << 4 << "The quote opened on this line closes only on line 8, so lines 4 to 8 would be read as one row." << 0;
    QTest::newRow("UTF-32") << QByteArray("\xFF\xFE\0\0L\0\0\0", 8) << 0
        << "This file is UTF-32 text, which is not read here." << 0;
    QTest::newRow("UTF-16 without its mark") << utf16(kNewer + good, false).mid(2) << 0
        << "This file is not text: the byte at offset 1 is zero" << 0;
    QTest::newRow("empty file") << QByteArray() << 0 << "This is no channel list" << 0;
}

// Each refusal names its line; a plan with refusals changes nothing until the rest is applied on
// purpose.
void TestCsvImport::refusals()
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

// Cut and scrambled files are refused row by row or taken whole; nothing outside the channels moves.
void TestCsvImport::garbageIsRefusedWithoutHarm()
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

void TestCsvImport::cliImport_data()
{
    QTest::addColumn<QByteArray>("csv"); // null: no file
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out"); // IN.csv and A.dat: the two files
    QTest::addColumn<QStringList>("err");      // what stderr holds; "!text": what it must not
    QTest::addColumn<QStringList>("channels"); // receive frequencies of channels 1 and 16 after a success

    // A shared list of 60 Locations: Location n on 145 MHz + n × 25 kHz.
    QByteArray list = kNewer;
    for (int n = 1; n <= 60; ++n)
        list += QByteArray::number(n) + ",," + QByteArray::number(145000000 + n * 25000).insert(3, '.') + ",,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,5.0W,,,,,\n";
    const QByteArray row = "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,,FM,5.00,,High,,,,,\n";
    const QByteArray oneBad = kNewer + row + QByteArray("2" + row.mid(1)).replace("146.52", "446.00");
    const QByteArray allBad = kNewer + QByteArray(row).replace("146.52", "446.00") + QByteArray("2" + row.mid(1)).replace("146.52", "446.50");
    using L = QStringList;
    QTest::newRow("one row out of band: all or nothing") << oneBad << L() << 1 << "" << L { "Line 3: Receive frequency 446.000000 MHz" } << L();
    QTest::newRow("one row out of band, --skip-bad") << oneBad << L { "--skip-bad" } << 0 << "Imported 1 channel(s) from IN.csv into A.dat, skipped 1 row(s).\n"
        << L() << L { "146.52000", "" };
    QTest::newRow("no such file") << QByteArray() << L() << 1 << "" << L { "in.csv" } << L();
    QTest::newRow("60 rows from Location 21") << list << L { "--from", "21" } << 0
        << "Imported 16 channel(s) from IN.csv into A.dat, left out 44 rows outside Locations 21\u201336.\n" << L()
        << L { "145.52500", "145.90000" };
    QTest::newRow("quiet") << list << L { "-q", "--from", "21" } << 0 << "" << L() << L { "145.52500", "145.90000" };
    QTest::newRow("60 rows from Location 21, Chinese") << list << L { "--from", "21", "--lang", "chinese" } << 0
        << "已从 IN.csv 导入 16 个信道到 A.dat, 略去 Location 21\u201336 之外的 44 行。\n" << L() << L { "145.52500", "145.90000" };
    QTest::newRow("60 rows without --from") << list << L() << 1 << ""
        << L { "Line 18: Location 17 lies beyond channel 16.",
               "The file's Locations run from 1 to 60: --from L puts Locations L to L+15 into channels 1 to 16." } << L();
    QTest::newRow("--from past the file's rows") << list << L { "--from", "100" } << 1 << ""
        << L { "Nothing was imported: the file has no row in Locations 100\u2013115." } << L();
    QTest::newRow("every row refused, --skip-bad") << allBad << L { "--skip-bad" } << 1 << ""
        << L { "Line 2: Receive frequency 446.000000 MHz lies outside the radio's band, 130\u2013161 MHz.",
               "--band N (N: 1 \"130 - 160MHz\", 2 \"136 - 174MHz\"", "Nothing was imported: none of the 2 row(s) can be placed.",
               "!--skip-bad imports the rest" } << L();
    QTest::newRow("a quote never closed") << kNewer + row + QByteArray("2" + row.mid(1)).replace("High,", "High,\"club") + "3" + row.mid(1)
        << L { "--skip-bad" } << 1 << "" << L { "Line 3: The quote opened on this line is never closed" } << L();
}

// program-cli import: the summary on stdout, refusals with what would help on stderr, the file
// untouched whenever the command fails.
void TestCsvImport::cliImport()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QStringList, err);
    QFETCH(QStringList, channels);
    QTemporaryDir dir;
    const QString dat = dir.filePath("a.dat"), in = dir.filePath("in.csv");
    QCOMPARE(runCli({ "new", dat }).code, 0);
    const QByteArray before = TestFiles::Read(dat);
    QVERIFY(csv.isNull() || TestFiles::Write(in, csv));
    const Run r = runCli(QStringList { "import", dat, in } + args);
    QCOMPARE(r.code, code);
    QCOMPARE(r.out, QString(out).replace("IN.csv", in).replace("A.dat", dat));
    for (const QString &line : err)
        QVERIFY2(r.err.contains(line.mid(line.startsWith('!'))) != line.startsWith('!'), qPrintable(r.err));
    if (code != 0) {
        QCOMPARE(TestFiles::Read(dat), before);
        return;
    }
    CRadioImage image;
    QVERIFY(DataFile::Load(dat, image).ok());
    QCOMPARE(DecodeChannel(image, 1, false)[0], channels.at(0));
    QCOMPARE(DecodeChannel(image, 16, false)[0], channels.at(1));
}

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csv_import.moc"
