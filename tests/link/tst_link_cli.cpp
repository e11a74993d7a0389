#include "LinkTestSupport.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include "config/AppPaths.h"
#include "cli/CliContext.h"
#include "link/SystemPorts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace LinkTest;

Q_DECLARE_METATYPE(CSystemPorts::Port)

// program-cli read and write run in-process against a virtual radio.
class TestLinkCli : public QObject {
    Q_OBJECT

private:
    static CliRun::Run Cli(const QStringList &args) { return CliRun::run(args); }
    // Program.ini in dir, in the given language, as the one the tool reads.
    static void UseLanguage(const QTemporaryDir &dir, const QString &language)
    {
        QVERIFY(TestFiles::Write(dir.filePath("Program.ini"), "[Setup]\nLanguage=" + language.toUtf8() + "\n"));
        CAppPaths::SetExecutableDir(dir.path());
    }

private slots:
    void init() { CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR)); }

    void writeByPlan_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<bool>("service");
        QTest::addColumn<QString>("err");
        QTest::newRow("ordinary") << QStringList {} << false << "";
        // The code alone never replaces a radio's calibration: it says how to.
        QTest::newRow("service access code alone")
            << QStringList { "--access-code", "k719wd" } << false
            << "The radio keeps its power and alignment tables; add --with-alignment to replace them with the "
               "file's.\n";
        QTest::newRow("service access code with alignment")
            << QStringList { "--with-alignment", "--access-code", "k719wd" } << true << "";
    }

    // The radio ends up holding the file by the plan and its own bytes elsewhere. (A pattern's channels
    // lie outside every band, hence --allow-out-of-band.)
    void writeByPlan()
    {
        QFETCH(QStringList, extra);
        QFETCH(bool, service);
        QFETCH(QString, err);
        const auto radio = StartRadio();
        const RadioMemory::Bytes before = Pattern(5);
        radio->SetMemory(before);
        QTemporaryDir dir;
        const RadioMemory::Bytes source = Pattern(6);

        const CliRun::Run result = Cli(
            QStringList { "write", "--port", Device(*radio), SaveSourceFile(dir.path(), source), "--allow-out-of-band" } + extra);
        QCOMPARE(result.code, 0);
        QCOMPARE(result.err, err);
        QVERIFY(radio->Memory() == Written(before, source, service));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args"); // PORT and FILE filled in
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QStringList>("lines"); // stderr, line by line (a prefix of each)
        QTest::addColumn<bool>("anythingSent");
        QTest::addColumn<bool>("chinese"); // in Program.ini
        const QString portOpen = QStringLiteral(
            "Could not Open the Port,Please check whether the Port are occupied or the device are ok");
        const QStringList read { "read", "--port", "PORT", "-o", "FILE" };
        const QStringList write { "write", "--port", "PORT", "SOURCE", "--allow-out-of-band" };
        // clang-format off
        QTest::newRow("read, radio silent") << read << QStringList { "wakeup-silent" }
            << QStringList { "Communication Error", "PORT: the radio did not answer the wake-up." } << true << false;
        QTest::newRow("read, block 20 lost") << read << QStringList { "read-silent:20" }
            << QStringList { "Communication Error", "PORT: block 20 of 64 (address 0x0130) did not arrive." } << true << false;
        QTest::newRow("write, block refused") << write << QStringList { "write-nak:3" }
            << QStringList { "Communication Error", "PORT: the radio refused block 3 of 60 (address 0x0020).",
                             "The radio may now hold part of the new data." } << true << false;
        QTest::newRow("write, radio silent before any block") << write << QStringList { "wakeup-silent" }
            << QStringList { "Communication Error", "PORT: the radio did not answer the wake-up." } << true << false;
        QTest::newRow("wrong access code") << QStringList { "write", "--port", "PORT", "SOURCE", "--access-code", "K719WD" }
            << QStringList {} << QStringList { "Wrong access code" } << false << false;
        QTest::newRow("verify finds a lost block") << write + QStringList { "--verify" } << QStringList { "write-lost:3" }
            << QStringList { "Verify failed at address 0x020: wrote 0x",
                             "PORT: 0x020 is channel 2's receive frequency. Write again; if the verify fails again, "
                             "the radio's memory is suspect." } << true << false;
        QTest::newRow("missing device") << QStringList { "read", "--port", "MISSING", "-o", "FILE" } << QStringList {}
            << QStringList { portOpen, "The device " } << false << false;
        // The language of Program.ini chooses the message.
        QTest::newRow("read, confirm refused, Chinese") << read << QStringList { "confirm-nak" }
            << QStringList { "通信出错", "PORT: 电台没有应答唤醒。电台是否已开机? 电缆两端是否插好? 电缆是否接在 PORT 上?" } << true << true;
        // clang-format on
    }

    // A transfer that does not finish says so, exits 1 and leaves no file behind.
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, faults);
        QFETCH(QStringList, lines);
        QFETCH(bool, anythingSent);
        QFETCH(bool, chinese);
        const auto radio = StartRadio(faults);
        QTemporaryDir dir;
        if (chinese)
            UseLanguage(dir, "Chinese");
        const QString file = dir.filePath(QStringLiteral("radio.dat"));
        args.replaceInStrings(QStringLiteral("MISSING"), dir.filePath(QStringLiteral("ttyUSB0")));
        args.replaceInStrings(QStringLiteral("PORT"), Device(*radio));
        args.replaceInStrings(QStringLiteral("SOURCE"), SaveSourceFile(dir.path(), Pattern(7)));
        args.replaceInStrings(QStringLiteral("FILE"), file);
        lines.replaceInStrings(QStringLiteral("PORT"), Device(*radio));

        const CliRun::Run result = Cli(args);
        QCOMPARE(result.code, 1);
        const QStringList err = result.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(err.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(err[i].startsWith(lines[i]), qPrintable(err[i]));
        QVERIFY(!QFile::exists(file));
        QCOMPARE(!radio->Received().empty(), anythingSent);
    }

    void writeChecksTheBand_data()
    {
        QTest::addColumn<QList<QByteArray>>("channels"); // channel n: rx then tx bytes, low digit pair first
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");
        const QByteArray none = QByteArray::fromHex("FFFFFFFF");
        const QByteArray mhz150 = QByteArray::fromHex("00250115"); // 150.12500
        const QString outside = "Channel(s) %1 lie outside the band 130 - 160MHz: nothing was sent. Correct them, or "
                                "add --allow-out-of-band to write them anyway.\n";
        using Channels = QList<QByteArray>;
        // clang-format off
        QTest::newRow("inside the band") << Channels { mhz150 + none } << QStringList {} << 0 << "";
        // The band's upper limit lies one MHz above "160MHz", as the grid accepts it.
        QTest::newRow("at the upper limit") << Channels { QByteArray::fromHex("00001016") + none } << QStringList {} << 0 << "";
        QTest::newRow("receive outside") << Channels { mhz150 + none, none + none, QByteArray::fromHex("00000045") + none }
                                         << QStringList {} << 1 << outside.arg("3");
        QTest::newRow("just above the limit, transmit outside")
            << Channels { QByteArray::fromHex("00051016") + none, mhz150 + QByteArray::fromHex("00000017") }
            << QStringList {} << 1 << outside.arg("1, 2");
        QTest::newRow("allowed") << Channels { QByteArray::fromHex("00000045") + none } << QStringList { "--allow-out-of-band" } << 0 << "";
        QTest::newRow("alignment without the code") << Channels { mhz150 + none } << QStringList { "--with-alignment" } << 2 << "";
        // clang-format on
    }

    // A file whose channels lie outside its band (130 - 160MHz here) is refused before anything is sent.
    void writeChecksTheBand()
    {
        QFETCH(QList<QByteArray>, channels);
        QFETCH(QStringList, extra);
        QFETCH(int, code);
        QFETCH(QString, err);
        const auto radio = StartRadio();
        RadioMemory::Bytes bytes;
        bytes.fill(0xFF);
        bytes[0x32E] = 0; // QR-260
        bytes[0x32F] = 0; // 130 - 160MHz
        for (int n = 1; n <= channels.size(); ++n)
            std::copy_n(channels[n - 1].begin(), 8, bytes.begin() + 16 * n);
        QTemporaryDir dir;

        const CliRun::Run result
            = Cli(QStringList { "write", "--port", Device(*radio), SaveSourceFile(dir.path(), bytes) } + extra);
        QCOMPARE(result.code, code);
        if (code != 2)
            QCOMPARE(result.err, err);
        QCOMPARE(radio->Received().empty(), code != 0);
        if (code == 0)
            QVERIFY(std::equal(bytes.begin() + 16, bytes.begin() + 48, radio->Memory().begin() + 16));
    }

    void ports_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QList<CSystemPorts::Port>>("ports");
        QTest::addColumn<QString>("out");
        using Port = CSystemPorts::Port;
        const QList<Port> found { Port { "/dev/ttyUSB0", "CP2102 USB to UART", "Silicon Labs", "0001" },
            Port { "/dev/ttyACM0", "USB Serial", " ", "" }, Port { "/dev/ttyS0", "", "", "" } };
        QTest::newRow("English, sorted, what is known")
            << "English" << found
            << "/dev/ttyACM0  (USB Serial)\n/dev/ttyS0\n"
               "/dev/ttyUSB0  (CP2102 USB to UART, maker Silicon Labs, serial number 0001)\n";
        QTest::newRow("Chinese") << "Chinese" << found.mid(0, 1)
                                 << "/dev/ttyUSB0  (CP2102 USB to UART, 制造商 Silicon Labs, 序列号 0001)\n";
        QTest::newRow("none") << "English" << QList<Port> {} << "No serial ports found.\n";
    }

    // program-cli ports lists what Com Setup offers, in the configured language.
    void ports()
    {
        QFETCH(QString, language);
        QFETCH(QList<CSystemPorts::Port>, ports);
        QFETCH(QString, out);
        QTemporaryDir dir;
        UseLanguage(dir, language);
        CSystemPorts::SetSource([ports] { return ports; });
        const CliRun::Run result = Cli({ "ports" });
        CSystemPorts::SetSource({});
        QCOMPARE(result.code, 0);
        QCOMPARE(result.out, out);
        QCOMPARE(Cli({ "ports", "extra" }).code, 2);
    }
};

QTEST_GUILESS_MAIN(TestLinkCli)
#include "tst_link_cli.moc"
