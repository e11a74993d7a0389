#include "LinkTestSupport.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include "config/AppPaths.h"
#include "cli/CliContext.h"
#include "link/ProgramLog.h"
#include "link/SystemPorts.h"

#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

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
    // The shipped Program.ini in dir, its [Ports] mapping the COM names of mapped ("COM3=DEVICE").
    static void UsePorts(const QTemporaryDir &dir, const QStringList &mapped, bool chinese = false)
    {
        QByteArray ini = TestFiles::Read(QStringLiteral(PROGRAM_BIN_DIR "/Program.ini")).trimmed();
        QVERIFY(ini.endsWith("[Ports]") && ini.contains("\nLanguage=English\n"));
        if (chinese)
            ini.replace("\nLanguage=English\n", "\nLanguage=Chinese\n");
        QVERIFY(TestFiles::Write(dir.filePath("Program.ini"), ini + "\n" + mapped.join('\n').toUtf8() + "\n"));
        CAppPaths::SetExecutableDir(dir.path());
    }

private slots:
    void init() { CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR)); }

    void writeByPlan_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<bool>("service");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("out"); // SOURCE and PORT: the file and the port as given
        // [0, 0x300) and [0x320, 0x3E0) are 960 bytes; with the tables, [0, 0x3FB) is 1019.
        const QString wrote = "Wrote 960 bytes from SOURCE to PORT\n";
        QTest::newRow("ordinary") << QStringList {} << false << "" << wrote;
        // The code alone never replaces a radio's calibration: it says how to.
        QTest::newRow("service access code alone")
            << QStringList { "--access-code", "k719wd" } << false
            << "The radio keeps its power and alignment tables; add --with-alignment to replace them with the "
               "file's.\n" << wrote;
        QTest::newRow("service access code with alignment")
            << QStringList { "--with-alignment", "--access-code", "k719wd" } << true << ""
            << "Wrote 1019 bytes from SOURCE to PORT\n";
        QTest::newRow("verified") << QStringList { "--verify" } << false << ""
                                  << "Wrote 960 bytes from SOURCE to PORT and verified them\n";
        QTest::newRow("verified, quiet") << QStringList { "--verify", "-q" } << false << "" << "";
        // The COM name the user gave, with the device Program.ini maps it to.
        QTest::newRow("to COM3") << QStringList { "--port", "COM3" } << false << ""
                                 << "Wrote 960 bytes from SOURCE to COM3 (PORT)\n";
    }

    // The radio ends up holding the file by the plan and its own bytes elsewhere. (A pattern's channels
    // lie outside every band, hence --allow-out-of-band.)
    void writeByPlan()
    {
        QFETCH(QStringList, extra);
        QFETCH(bool, service);
        QFETCH(QString, err);
        QFETCH(QString, out);
        const auto radio = StartRadio();
        const RadioMemory::Bytes before = Pattern(5);
        radio->SetMemory(before);
        QTemporaryDir dir;
        const RadioMemory::Bytes source = Pattern(6);
        QStringList args { "write", "--port", Device(*radio), SaveSourceFile(dir.path(), source), "--allow-out-of-band" };
        if (extra.contains("COM3")) {
            args.removeAt(1), args.removeAt(1);
            UsePorts(dir, { "COM3=" + Device(*radio) });
        }

        const CliRun::Run result = Cli(args + extra);
        QCOMPARE(result.code, 0);
        QCOMPARE(result.err, err);
        QCOMPARE(result.out, QString(out).replace("SOURCE", args.at(args.indexOf("--allow-out-of-band") - 1)).replace("PORT", Device(*radio)));
        QVERIFY(radio->Memory() == Written(before, source, service));
    }

    void readSays_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("out"); // FILE and PORT: the file and the device
        // [0, 0x3FB): 1019 bytes.
        QTest::newRow("a device path") << QStringList {} << "Read 1019 bytes from PORT into FILE\n";
        QTest::newRow("COM3, Chinese") << QStringList { "COM3" } << "已从 COM3 (PORT) 读取 1019 字节, 存入 FILE\n";
        QTest::newRow("quiet") << QStringList { "--quiet" } << "";
    }

    // A read that saved its file says so in one line: what, from where, into which file.
    void readSays()
    {
        QFETCH(QStringList, extra);
        QFETCH(QString, out);
        const auto radio = StartRadio();
        QTemporaryDir dir;
        const QString file = dir.filePath("radio.dat");
        QString port = Device(*radio);
        if (extra.removeAll("COM3") > 0) {
            UsePorts(dir, { "COM3=" + port }, true);
            port = "COM3";
        }
        const CliRun::Run result = Cli(QStringList { "read", "--port", port, "-o", file } + extra);
        QCOMPARE(result.code, 0);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.out, QString(out).replace("FILE", file).replace("PORT", Device(*radio)));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args"); // PORT and FILE filled in
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QStringList>("lines"); // stderr, line by line (a prefix of each)
        QTest::addColumn<bool>("anythingSent");
        QTest::addColumn<bool>("chinese"); // in Program.ini
        QTest::addColumn<int>("onlyDifference"); // the radio holds SOURCE but for this byte; -1: factory memory
        const QString portOpen = QStringLiteral(
            "Could not Open the Port,Please check whether the Port are occupied or the device are ok");
        const QStringList read { "read", "--port", "PORT", "-o", "FILE" };
        const QStringList write { "write", "--port", "PORT", "SOURCE", "--allow-out-of-band" };
        // clang-format off
        QTest::newRow("read, radio silent") << read << QStringList { "wakeup-silent" }
            << QStringList { "Communication Error", "PORT: the radio did not answer the wake-up." } << true << false << -1;
        QTest::newRow("read, block 20 lost") << read << QStringList { "read-silent:20" }
            << QStringList { "Communication Error", "PORT: block 20 of 64 (address 0x0130) did not arrive." } << true << false << -1;
        QTest::newRow("write, block refused") << write << QStringList { "write-nak:3" }
            << QStringList { "Communication Error", "PORT: the radio refused block 3 of 60 (address 0x0020).",
                             "The radio may now hold part of the new data." } << true << false << -1;
        QTest::newRow("write, radio silent before any block") << write << QStringList { "wakeup-silent" }
            << QStringList { "Communication Error", "PORT: the radio did not answer the wake-up." } << true << false << -1;
        QTest::newRow("wrong access code") << QStringList { "write", "--port", "PORT", "SOURCE", "--access-code", "K719WD" }
            << QStringList {} << QStringList { "Wrong access code" } << false << false << -1;
        QTest::newRow("verify finds a lost block") << write + QStringList { "--verify" } << QStringList { "write-lost:3" }
            << QStringList { "Verify failed at address 0x020: wrote 0x",
                             "PORT: 0x020 is channel 2's receive frequency. Write again; if the verify fails again, "
                             "the radio's memory is suspect." } << true << false << -1;
        // The last byte of a block is compared too: the radio differs from the file only at 0x02F, the
        // last byte of block 3, which it loses.
        QTest::newRow("verify finds the last byte of a lost block") << write + QStringList { "--verify" } << QStringList { "write-lost:3" }
            << QStringList { "Verify failed at address 0x02F: wrote 0x",
                             "PORT: 0x02F is channel 2 (byte 15 of its record). Write again;" } << true << false << 0x02F;
        // Every block went out but none was checked: said as such, not as a plain stop or a read.
        QTest::newRow("verify's read-back cut short") << write + QStringList { "--verify" } << QStringList { "read-silent:5" }
            << QStringList { "Communication Error", "PORT: block 5 of 60 (address 0x0040) did not arrive.",
                             "All 960 bytes went out to PORT, but the verify did not finish: the radio's memory is not verified." }
            << true << false << -1;
        QTest::newRow("missing device") << QStringList { "read", "--port", "MISSING", "-o", "FILE" } << QStringList {}
            << QStringList { portOpen, "The device MISSING does not exist." } << false << false << -1;
        // The port as the user gave it, with the device it stands for (by Program.ini's [Ports]).
        QTest::newRow("missing device behind COM3") << QStringList { "read", "--port", "COM3", "-o", "FILE" } << QStringList {}
            << QStringList { portOpen, "The device COM3 (MISSING) does not exist." } << false << false << -1;
        QTest::newRow("COM17, as Program.ini names a device for it")
            << QStringList { "write", "--port", "COM17", "SOURCE", "--allow-out-of-band" } << QStringList {}
            << QStringList { portOpen, "The device COM17 (MISSING) does not exist." } << false << false << -1;
        // The language of Program.ini chooses the message.
        QTest::newRow("read, confirm refused, Chinese") << read << QStringList { "confirm-nak" }
            << QStringList { "通信出错", "PORT: 电台没有应答唤醒。电台是否已开机? 电缆两端是否插好? 电缆是否接在 PORT 上?" } << true << true << -1;
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
        QFETCH(int, onlyDifference);
        const auto radio = StartRadio(faults);
        if (onlyDifference >= 0) {
            RadioMemory::Bytes memory = Pattern(7);
            memory[std::size_t(onlyDifference)] ^= 0xFF;
            radio->SetMemory(memory);
        }
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("ttyUSB0"));
        if (chinese)
            UseLanguage(dir, "Chinese");
        else if (args.contains("COM3") || args.contains("COM17"))
            UsePorts(dir, { "COM3=" + missing, "COM17=" + missing });
        const QString file = dir.filePath(QStringLiteral("radio.dat"));
        args.replaceInStrings(QStringLiteral("MISSING"), missing);
        lines.replaceInStrings(QStringLiteral("MISSING"), missing);
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
        QTest::addColumn<QPoint>("product"); // type and band bytes; else 0, 0 (QR-260, 130 - 160MHz)
        const QByteArray none = QByteArray::fromHex("FFFFFFFF");
        const QByteArray mhz150 = QByteArray::fromHex("00250115"); // 150.12500
        const QString outside = "Channel(s) %1 lie outside the band 130 - 160MHz: nothing was sent. Correct them, or "
                                "add --allow-out-of-band to write them anyway.\n";
        using Channels = QList<QByteArray>;
        // clang-format off
        QTest::newRow("inside the band") << Channels { mhz150 + none } << QStringList {} << 0 << "" << QPoint(0, 0);
        // The band's upper limit lies one MHz above "160MHz", as the grid accepts it.
        QTest::newRow("at the upper limit") << Channels { QByteArray::fromHex("00001016") + none } << QStringList {} << 0 << "" << QPoint(0, 0);
        QTest::newRow("receive outside") << Channels { mhz150 + none, none + none, QByteArray::fromHex("00000045") + none }
                                         << QStringList {} << 1 << outside.arg("3") << QPoint(0, 0);
        QTest::newRow("just above the limit, transmit outside")
            << Channels { QByteArray::fromHex("00051016") + none, mhz150 + QByteArray::fromHex("00000017") }
            << QStringList {} << 1 << outside.arg("1, 2") << QPoint(0, 0);
        // Many radios at once are refused alike, before any of them gets a byte.
        QTest::newRow("two radios at once, receive outside") << Channels { mhz150 + none, QByteArray::fromHex("00000045") + none }
                                                            << QStringList { "--port", "SECOND" } << 1 << outside.arg("2") << QPoint(0, 0);
        QTest::newRow("allowed") << Channels { QByteArray::fromHex("00000045") + none } << QStringList { "--allow-out-of-band" } << 0 << "" << QPoint(0, 0);
        QTest::newRow("alignment without the code") << Channels { mhz150 + none } << QStringList { "--with-alignment" } << 2 << "" << QPoint(0, 0);
        // Bytes the configuration does not list: checked against the band they select, and named.
        const QString unlisted = "%1 is not among the %2; channel(s) 1 lie outside %3: nothing was sent. "
                                 "Choose the band with: program-cli product FILE --band TEXT, or add "
                                 "--allow-out-of-band to write them anyway.\n";
        QTest::newRow("band past the list") << Channels { mhz150 + none } << QStringList {} << 1
            << unlisted.arg("Band byte 0x68", "bands configured for QR-260", "450 - 520MHz") << QPoint(0, 0x68);
        QTest::newRow("band past the list, inside its last band") << Channels { QByteArray::fromHex("00000046") + none }
            << QStringList {} << 0 << "" << QPoint(0, 0x68);
        QTest::newRow("unlisted type") << Channels { mhz150 + none } << QStringList {} << 1
            << unlisted.arg("Product type byte 0x05", "configured types", "0 to 1 MHz, as no band is configured for it")
            << QPoint(5, 0);
        // clang-format on
    }

    // A file whose channels lie outside its band (130 - 160MHz here) is refused before anything is sent.
    void writeChecksTheBand()
    {
        QFETCH(QList<QByteArray>, channels);
        QFETCH(QStringList, extra);
        QFETCH(int, code);
        QFETCH(QString, err);
        QFETCH(QPoint, product);
        const auto radio = StartRadio();
        const auto second = extra.contains("SECOND") ? StartRadio() : nullptr;
        if (second)
            extra.replaceInStrings("SECOND", Device(*second));
        RadioMemory::Bytes bytes;
        bytes.fill(0xFF);
        bytes[0x32E] = std::uint8_t(product.x());
        bytes[0x32F] = std::uint8_t(product.y());
        for (int n = 1; n <= channels.size(); ++n)
            std::copy_n(channels[n - 1].begin(), 8, bytes.begin() + 16 * n);
        QTemporaryDir dir;

        const CliRun::Run result
            = Cli(QStringList { "write", "--port", Device(*radio), SaveSourceFile(dir.path(), bytes) } + extra);
        QCOMPARE(result.code, code);
        if (code != 2)
            QCOMPARE(result.err, err);
        QCOMPARE(radio->Received().empty(), code != 0);
        if (second)
            QCOMPARE(second->Received().empty(), code != 0);
        if (code == 0)
            QVERIFY(std::equal(bytes.begin() + 16, bytes.begin() + 48, radio->Memory().begin() + 16));
    }

    void stoppedBySignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("command"); // write, read, batch (two radios at once) or repeat
        QTest::addColumn<QString>("stderrTo"); // pipe, closed pipe or closed terminal
        QTest::newRow("SIGTERM, write") << int(SIGTERM) << "write" << "pipe";
        QTest::newRow("SIGINT, write") << int(SIGINT) << "write" << "pipe";
        // The hang-up of a dropped ssh session: the terminal is gone (EIO) or the `| tee` reading
        // stderr ended with it (EPIPE, SIGPIPE).
        QTest::newRow("SIGHUP, write, terminal gone") << int(SIGHUP) << "write" << "closed terminal";
        QTest::newRow("SIGHUP, write, pipe gone") << int(SIGHUP) << "write" << "closed pipe";
        QTest::newRow("SIGTERM, read") << int(SIGTERM) << "read" << "pipe";
        QTest::newRow("SIGTERM, two radios at once") << int(SIGTERM) << "batch" << "pipe";
        QTest::newRow("SIGHUP, repeat loop mid-write, pipe gone") << int(SIGHUP) << "repeat" << "closed pipe";
    }

    // A real program-cli stopped by a real signal mid-transfer ends between blocks as Ctrl+C does:
    // the radio holds the blocks that went out and nothing more, each radio has its record, the user
    // is told (when anyone can still hear), the exit status is 1, never death by the signal.
    void stoppedBySignal()
    {
        QFETCH(int, signal);
        QFETCH(QString, command);
        QFETCH(QString, stderrTo);
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        const bool write = command != "read";
        // Paced like a real line: 60 blocks take more than a second.
        std::vector<std::unique_ptr<CVirtualRadio>> radios;
        for (int i = 0; i < (command == "batch" ? 2 : 1); ++i)
            radios.push_back(StartRadio({}, 9600));
        const RadioMemory::Bytes before = Pattern(4), source = Pattern(5);
        for (const auto &radio : radios)
            radio->SetMemory(before);
        QTemporaryDir dir;
        const QString output = dir.filePath("radio.dat");
        QStringList args = write ? QStringList { "write", SaveSourceFile(dir.path(), source), "--allow-out-of-band" }
                                 : QStringList { "read", "-o", output };
        for (const auto &radio : radios)
            args << "--port" << Device(*radio);
        if (command == "repeat")
            args << "--repeat";

        // stderr on a line of our own that dies before the signal comes.
        int deadEnd = -1, childEnd = -1;
        if (stderrTo == "closed pipe") {
            int fds[2];
            QCOMPARE(::pipe2(fds, O_CLOEXEC), 0);
            deadEnd = fds[0];
            childEnd = fds[1];
        } else if (stderrTo == "closed terminal") {
            deadEnd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
            QVERIFY(deadEnd >= 0 && ::grantpt(deadEnd) == 0 && ::unlockpt(deadEnd) == 0);
            childEnd = ::open(::ptsname(deadEnd), O_RDWR | O_NOCTTY | O_CLOEXEC);
            QVERIFY(childEnd >= 0);
        }
        QProcess cli;
        if (childEnd >= 0)
            cli.setChildProcessModifier([childEnd] { ::dup2(childEnd, STDERR_FILENO); });
        cli.start(QStringLiteral(PROGRAM_BIN_DIR "/program-cli"), args);
        QVERIFY(cli.waitForStarted());
        if (childEnd >= 0)
            ::close(childEnd);
        // Ten blocks in: a read frame and its acknowledgement take 5 bytes, a write frame 20, after the
        // 10 of the link opening (and, for the repeat loop, the 10 of the opening that found the radio).
        const std::size_t tenBlocks = (command == "repeat" ? 20 : 10) + (write ? 200 : 50);
        for (const auto &radio : radios)
            QVERIFY(radio->WaitForReceived(tenBlocks, 20000));
        if (deadEnd >= 0)
            ::close(deadEnd);
        QCOMPARE(::kill(pid_t(cli.processId()), signal), 0);
        QVERIFY(cli.waitForFinished(20000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 1);

        const QList<CLogRecord> records = CProgramLog().Read(false).records;
        QCOMPARE(records.size(), qsizetype(radios.size()));
        for (const CLogRecord &record : records) {
            QCOMPARE(record.outcome, QStringLiteral("stopped"));
            QCOMPARE(record.direction, write ? QStringLiteral("write") : QStringLiteral("read"));
            const int blocks = record.blocks;
            QVERIFY2(blocks >= 10 && blocks < (write ? 60 : 64), qPrintable(QString::number(blocks)));
            const auto radio = std::find_if(radios.begin(), radios.end(), [&](const auto &r) { return Device(*r) == record.port; });
            QVERIFY(radio != radios.end());
            // A write's first 48 blocks cover [0, 0x300), the next ones [0x320, 0x3E0), in order.
            const QList<int> sent
                = blocks <= 48 ? QList<int> { 0, 16 * blocks } : QList<int> { 0, 0x300, 0x320, 0x320 + 16 * (blocks - 48) };
            QVERIFY((*radio)->Memory() == (write ? Overlay(before, source, sent) : before));
        }
        QVERIFY(!QFile::exists(output));
        if (stderrTo != "pipe")
            return;
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        const QString out = QString::fromUtf8(cli.readAllStandardOutput());
        QVERIFY2(!write || (out + err).contains("The radio may now hold part of the new data."), qPrintable(out + err));
        QVERIFY2((out + err).contains(command == "batch" ? "stopped after" : "Stopped."), qPrintable(out + err));
        const QString named = QStringLiteral("%1 asked the program to end; the transfer stopped between blocks.\n");
        QCOMPARE(err.contains(named.arg("SIGTERM")), signal == SIGTERM);
        QVERIFY(!err.contains("SIGINT"));
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
