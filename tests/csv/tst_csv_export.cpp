// Writing channel files and comparing images: exported rows, round trips back into the image, and
// the differences program-cli reports.

#include "tests/csv/CsvTestSupport.h"

using namespace CsvTest;

class TestCsvExport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void exportRows_data();
    void exportRows();
    void exportRoundTripOfEveryKind();
    void roundTripKeepsOddBytes();
    void anyImageGoesBack();
    void diff_data();
    void diff();
    void cli();
    void cliExport_data();
    void cliExport();
};

void TestCsvExport::initTestCase()
{
    // The shipped configuration names the bands; the tool only reads it.
    CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR));
}

void TestCsvExport::exportRows_data()
{
    QTest::addColumn<QByteArray>("record"); // channel 1's 16 bytes
    QTest::addColumn<QByteArray>("row");    // what export writes for it
    QTest::addColumn<QString>("warning");

    // Bytes 12-13 as an import into a fresh image leaves them: busy lock off, wide or narrow, the level.
    QTest::newRow("no tone: the columns' defaults") << TestFiles::Hex("00206514 00206514 FFFF FFFF E7 BF FFFF")
        << QByteArray("1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,busy=Off,,,,") << QString();
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
void TestCsvExport::exportRows()
{
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, row);
    QFETCH(QString, warning);
    CRadioImage image = freshImage();
    setRecord(image, 1, record);
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
void TestCsvExport::exportRoundTripOfEveryKind()
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
void TestCsvExport::roundTripKeepsOddBytes()
{
    CRadioImage image = freshImage();
    setRecord(image, 1, TestFiles::Hex("00206514 00506514 7503 1328 08 50 1234"));
    setRecord(image, 2, TestFiles::Hex("0A206514 000000A0 ECA9 0F28 18 00 FFFF"));
    setRecord(image, 3, TestFiles::Hex("00206514 FFFFFFFF FFFF B602 00 00 0000"));
    setRecord(image, 6, TestFiles::Hex("00206514 00206514 FF29 FFFF 00 30 FFFF"));
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
void TestCsvExport::anyImageGoesBack()
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

void TestCsvExport::diff_data()
{
    QTest::addColumn<QStringList>("changes"); // offset=hex byte
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("same") << QStringList() << false << QStringList();
    QTest::newRow("receive frequency") << QStringList { "10=50" } << false
        << QStringList { "Channel 1 Rx Frequency: 146.52000 -> 146.52050" };
    QTest::newRow("scan bit of channel 9, Chinese") << QStringList { "17F=FE" } << true
        << QStringList { "信道 9 扫描: 是 -> 否" };
    // Two shown channels' bits of one byte: told by their channels, not again as a byte.
    QTest::newRow("scan bits of two channels") << QStringList { "17E=FA" } << false
        << QStringList { "Channel 1 Scan: Yes -> No", "Channel 3 Scan: Yes -> No" };
    // Bytes no column or option shows come last, under their heading, named by what they are.
    const QString others = "Other bytes, 1 difference(s):";
    const QString note = "  A write sends these bytes as they are, though no column or option shows them. They can "
                         "differ without any channel or setting differing, for example when the channels were "
                         "imported from a CSV list and the radio was programmed elsewhere.";
    QTest::newRow("scan bit of an empty channel") << QStringList { "17E=FD" } << false
        << QStringList { others, note, "  Scan list, byte 0x17E: FF -> FD (0x17E bit 1: scan of channel 2)" };
    QTest::newRow("bytes 14-15 have no column") << QStringList { "1E=00", "1F=01" } << false
        << QStringList { others, note, "  Channel 1 bytes 14-15 (0x01E-0x01F): FF FF -> 00 01" };
    // A radio programmed elsewhere keeps other bits in the flag bytes than an import leaves there.
    QTest::newRow("flag bits no column shows") << QStringList { "1C=00", "1D=30" } << false
        << QStringList { others, note,
               "  Channel 1 flag bytes 12-13 (0x01C-0x01D): E7 BF -> 00 30 (byte 12 bits 0-2, 5-7: not used by "
               "this program; byte 13 bits 0-3, 7: not used by this program)" };
    QTest::newRow("flag bits, Chinese") << QStringList { "1C=00", "1D=30" } << true
        << QStringList { "其他字节, 1 处不同:",
               "  写入时这些字节照原样发送, 但没有任何列或选项显示它们。即使信道和设置都相同, 它们也可能不同, "
               "例如信道是从 CSV 列表导入的, 而电台是在别处编程的。",
               "  信道 1 标志字节 12-13 (0x01C-0x01D): E7 BF -> 00 30 (字节 12 位 0-2, 5-7: 本程序不使用; "
               "字节 13 位 0-3, 7: 本程序不使用)" };
    QTest::newRow("busy lockout bit of an empty channel") << QStringList { "AC=E7" } << false
        << QStringList { others, note, "  Channel 10 flag byte 12 (0x0AC): FF -> E7 (byte 12 bits 3-4: busy-channel lockout)" };
    QTest::newRow("option and alignment") << QStringList { "134=07", "300=00", "301=00" } << false
        << QStringList { "Squelch Level: 5 -> 7", "Alignment, bytes 0x300-0x301: FF FF -> 00 00" };
    // Channels, then options, then the tables, then the other bytes, whatever their addresses.
    QTest::newRow("in order of what matters") << QStringList { "3E3=00", "1E=00", "134=07", "10=50", "390=B9" } << false
        << QStringList { "Channel 1 Rx Frequency: 146.52000 -> 146.52050", "Squelch Level: 5 -> 7",
               "Power table entry 2, byte 0x3E3: 4D -> 00", "Other bytes, 2 difference(s):", note,
               "  Channel 1 byte 14 (0x01E): FF -> 00",
               "  Side Key, byte 0x390: F9 -> B9 (0x390 bit 6: not used by this program)" };
}

void TestCsvExport::diff()
{
    QFETCH(QStringList, changes);
    QFETCH(bool, chinese);
    QFETCH(QStringList, lines);
    const CRadioImage first = gridImage({ { "146.52000", "146.52000", "None", "None", "Wide", "Yes", "Off", "High" },
        {}, { "146.55000", "146.55000", "None", "None", "Wide", "Yes", "Off", "High" }, {}, {}, {}, {}, {},
        { "146.52000", "146.52000", "None", "None", "Wide", "Yes", "Off", "High" } });
    CRadioImage second = first;
    for (const QString &change : changes) {
        const QStringList parts = change.split(QLatin1Char('='));
        second.SetByte(parts[0].toInt(nullptr, 16), static_cast<std::uint8_t>(parts[1].toInt(nullptr, 16)));
    }
    CIniFile ini;
    ini.OpenBesideExe(QStringLiteral("Program.ini"), false, true, false);
    const QStringList got = ImageDiff::Lines(ImageDiff::Compare(first, second, ini, chinese), chinese);
    QCOMPARE(got, lines);
}

void TestCsvExport::cli()
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

    // A list imported from CSV against a radio programmed elsewhere: the same channel, other flag bits.
    CRadioImage imported = gridImage({ {}, {}, {}, {}, {}, {}, {}, {}, {},
        { "146.52000", "146.52000", "None", "None", "Narrow", "Yes", "Off", "High" } });
    CRadioImage elsewhere = imported;
    elsewhere.SetByte(0x0AC, 0x00);
    elsewhere.SetByte(0x0AD, 0x20);
    QVERIFY(DataFile::Save(a, imported).ok() && DataFile::Save(b, elsewhere).ok());
    const Run flags = runCli({ "diff", a, b });
    QCOMPARE(flags.code, 1);
    QCOMPARE(flags.out, QStringLiteral("Other bytes, 1 difference(s):\n"
        "  A write sends these bytes as they are, though no column or option shows them. They can differ without "
        "any channel or setting differing, for example when the channels were imported from a CSV list and the "
        "radio was programmed elsewhere.\n"
        "  Channel 10 flag bytes 12-13 (0x0AC-0x0AD): E7 AF -> 00 20 (byte 12 bits 0-2, 5-7: not used by this "
        "program; byte 13 bits 0-3, 7: not used by this program)\n"));
}

void TestCsvExport::cliExport_data()
{
    QTest::addColumn<QStringList>("args"); // after program-cli; A.dat and OUT.csv stand for the files
    QTest::addColumn<QString>("out"); // CSV: the channel list itself
    QTest::addColumn<QString>("err");
    const QString odd = "Channel 2: not in the standard tone list: 69.4 Hz. Other programs may refuse this row.\n";
    using L = QStringList;
    // clang-format off
    // A tone outside the list is written as it is, and said once per channel.
    QTest::newRow("to a file") << L { "export", "A.dat", "-o", "OUT.csv" } << "Exported 1 channel(s) of A.dat to OUT.csv\n" << odd;
    QTest::newRow("to a file, Chinese") << L { "export", "A.dat", "-o", "OUT.csv", "--lang", "chinese" } << "已把 A.dat 的 1 个信道导出到 OUT.csv\n"
        << "信道 2: 69.4 Hz 不在标准亚音表中, 其他程序可能拒绝此行。\n";
    QTest::newRow("quiet") << L { "export", "A.dat", "-o", "OUT.csv", "-q" } << "" << odd;
    QTest::newRow("quiet, before the command") << L { "-q", "export", "A.dat", "-o", "OUT.csv" } << "" << odd;
    // stdout carries the list for a script: what was done goes to stderr.
    QTest::newRow("to stdout") << L { "export", "A.dat", "-o", "-" } << "CSV" << odd + "Exported 1 channel(s) of A.dat to standard output\n";
    QTest::newRow("to stdout, quiet") << L { "export", "A.dat", "--quiet", "-o", "-" } << "CSV" << odd;
    // clang-format on
}

// program-cli export: the list in the file or on stdout, the line saying so where it disturbs no
// script.
void TestCsvExport::cliExport()
{
    QFETCH(QStringList, args);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const QString a = dir.filePath("A.dat"), csv = dir.filePath("OUT.csv");
    CRadioImage odd = freshImage();
    setRecord(odd, 2, TestFiles::Hex("00206514 00206514 B602 B602 E7 BF FFFF"));
    QVERIFY(DataFile::Save(a, odd).ok());
    const Run e = runCli(args.replaceInStrings("OUT.csv", csv).replaceInStrings("A.dat", a));
    QCOMPARE(e.code, 0);
    QCOMPARE(e.err, QString(err).replace("A.dat", a));
    const QByteArray row = "\r\n2,,146.520000,,0.000000,TSQL,69.4,69.4,023,NN,023,Tone->Tone,";
    if (out == "CSV") {
        QVERIFY2(e.out.startsWith("Location,") && e.out.toUtf8().contains(row), qPrintable(e.out));
        QVERIFY(!QFile::exists(csv) && !QFile::exists(dir.filePath("-")));
        return;
    }
    QCOMPARE(e.out, QString(out).replace("A.dat", a).replace("OUT.csv", csv));
    QVERIFY(TestFiles::Read(csv).contains(row));
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csv_export.moc"
