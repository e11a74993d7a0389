#include "LinkTestSupport.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include "cli/CliContext.h"
#include "config/AppPaths.h"
#include "config/SafeFile.h"
#include "image/DataFile.h"
#include "link/BatchTransfer.h"
#include "link/RepeatWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <optional>
#include <thread>

using namespace LinkTest;

// Several radios at once and one radio after another, against virtual radios on pseudo-terminals.
class TestLinkBatch : public QObject {
    Q_OBJECT

private:
    static CliRun::Run Cli(const QStringList &args) { return CliRun::run(args); }
    static std::vector<std::unique_ptr<CVirtualRadio>> Radios(const QStringList &faults)
    {
        std::vector<std::unique_ptr<CVirtualRadio>> radios;
        for (const QString &fault : faults)
            radios.push_back(StartRadio(fault.isEmpty() ? QStringList() : QStringList { fault }));
        return radios;
    }

private slots:
    void init() { CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR)); }

    // Every radio gets the file; a fault on one ends only that one; the exit status says whether all
    // went through.
    void writeMany_data()
    {
        QTest::addColumn<QStringList>("faults"); // one radio per entry, "" for a sound one
        QTest::addColumn<bool>("verify");
        QTest::addColumn<QString>("failure"); // what the failed radio's line says, "" when all pass
        QTest::addColumn<bool>("partial"); // the line warns that the radio holds part of the new data
        QTest::addColumn<QString>("step"); // the failed radio's second line, after "DEVICE: "
        // clang-format off
        QTest::newRow("two sound radios") << QStringList { "", "" } << false << QString() << false << QString();
        QTest::newRow("four sound radios, verified") << QStringList { "", "", "", "" } << true << QString() << false << QString();
        QTest::newRow("second goes silent mid-write") << QStringList { "", "write-silent:20", "" } << false << "Communication Error" << true
                                                      << "block 20 of 60 (address 0x0130) did not arrive.";
        QTest::newRow("first refuses a block") << QStringList { "write-nak:3", "", "" } << true << "Communication Error" << true
                                               << "the radio refused block 3 of 60 (address 0x0020).";
        QTest::newRow("second refuses the wake-up: nothing sent") << QStringList { "", "wakeup-nak" } << false << "Communication Error" << false
                                                                  << "the radio did not answer the wake-up.";
        QTest::newRow("third loses a block, verify names it") << QStringList { "", "", "write-lost:2" } << true << "Verify failed at address 0x010: wrote 0x" << false << "0x010 is channel 1's receive frequency. Write again; if the verify fails again, the radio's memory is suspect.";
        // clang-format on
    }

    void writeMany()
    {
        QFETCH(QStringList, faults);
        QFETCH(bool, verify);
        QFETCH(QString, failure);
        QFETCH(bool, partial);
        QFETCH(QString, step);
        const auto radios = Radios(faults);
        QTemporaryDir dir;
        const RadioMemory::Bytes pattern = Pattern(7);
        QStringList args { "write", SaveSourceFile(dir.path(), pattern), "--allow-out-of-band" }; // a pattern fits no band
        for (const auto &radio : radios)
            args << "--port" << Device(*radio);
        if (verify)
            args << "--verify";

        const CliRun::Run result = Cli(args);
        QCOMPARE(result.code, failure.isEmpty() ? 0 : 1);
        const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), radios.size() + (step.isEmpty() ? 1 : 2));
        const int failed = failure.isEmpty() ? 0 : 1;
        QCOMPARE(lines.last(), QStringLiteral("%1 radios: %2 succeeded, %3 failed.")
                                   .arg(radios.size())
                                   .arg(int(radios.size()) - failed)
                                   .arg(failed));
        for (std::size_t i = 0; i < radios.size(); ++i) {
            const QString device = Device(*radios[i]);
            const auto line = std::find_if(lines.begin(), lines.end(),
                [&](const QString &l) { return l.startsWith(device + QLatin1Char(':')); });
            QVERIFY2(line != lines.end(), qPrintable(result.out));
            if (faults[int(i)].isEmpty()) {
                QVERIFY2(line->contains(verify ? "done and verified in" : "done in"), qPrintable(*line));
                QVERIFY(radios[i]->Memory() == Written(RadioMemory::Factory(), pattern));
                QCOMPARE(radios[i]->LinksOpened(), verify ? 2 : 1);
            } else {
                QVERIFY2(line->contains("failed after") && line->contains(failure), qPrintable(*line));
                QCOMPARE(line->contains("The radio may now hold part of the new data."), partial);
                if (!step.isEmpty())
                    QVERIFY2((line + 1)->startsWith(device + ": " + step), qPrintable(result.out));
            }
        }
    }

    // Each radio's image lands in its own file; a missing port fails alone.
    void readMany_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("missingPort");
        QTest::newRow("by number") << "radio-{n}.dat" << false;
        QTest::newRow("by port, one port missing") << "radio-{port}.dat" << true;
    }

    void readMany()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, missingPort);
        const auto radios = Radios({ "", "" });
        radios[0]->SetMemory(Pattern(1));
        radios[1]->SetMemory(Pattern(2));
        QTemporaryDir dir;
        QStringList args { "read", "-o", dir.filePath(pattern) };
        QStringList ports;
        for (const auto &radio : radios)
            ports << Device(*radio);
        if (missingPort)
            ports << dir.filePath("no-such-port");
        for (const QString &port : ports)
            args << "--port" << port;

        const CliRun::Run result = Cli(args);
        QCOMPARE(result.code, missingPort ? 1 : 0);
        QCOMPARE(result.err, QString());
        // Each file: the header, the radio's bytes 0..1018 and a new image's last five (FF, with no
        // Default.dat beside the tool).
        for (int i = 0; i < 2; ++i) {
            // {n} counts the ports from 1; {port} is the device's last name, /dev/pts/7 -> 7.
            const QString name = pattern.contains("{n}") ? QString::number(i + 1) : ports[i].section('/', -1);
            const RadioMemory::Bytes memory = Pattern(i + 1);
            const QByteArray image = QByteArray(reinterpret_cast<const char *>(memory.data()), 1019) + QByteArray(5, '\xFF');
            QCOMPARE(TestFiles::Read(dir.filePath(QString(pattern).replace(QRegularExpression("\\{.*\\}"), name))).toHex(),
                TestFiles::DataFileBytes(image).toHex());
        }
        if (missingPort)
            QVERIFY2(result.out.contains("no-such-port: failed after"), qPrintable(result.out));
    }

    void refusedArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("read pattern without a place holder") << QStringList { "read", "--port", "A", "--port", "B", "-o", "x.dat" };
        QTest::newRow("same port twice") << QStringList { "write", "--port", "A", "--port", "A", "f.dat" };
        QTest::newRow("repeat on two ports") << QStringList { "write", "--port", "A", "--port", "B", "f.dat", "--repeat" };
        QTest::newRow("count without a number") << QStringList { "write", "--port", "A", "f.dat", "--repeat", "--count", "x" };
        QTest::newRow("trace without a file") << QStringList { "write", "--port", "A", "f.dat", "--trace" };
        QTest::newRow("alignment without a code")
            << QStringList { "write", "--port", "A", "--port", "B", "f.dat", "--with-alignment" };
    }

    void refusedArguments()
    {
        QFETCH(QStringList, args);
        QCOMPARE(Cli(args).code, 2);
    }

    // Three radios swapped on one cable: each written exactly once, none written again while it was
    // still on the cable. The swaps follow the tool's own link openings, not a clock: each radio stays
    // on until the tool has asked twice whether it is still there, and the cable stays empty for one
    // whole link opening (four unanswered wake-ups), however slowly the tool runs.
    void repeatOverSwappedRadios()
    {
        const auto radio = StartRadio();
        radio->SetSwapByLinks(4);
        QTemporaryDir dir;
        const RadioMemory::Bytes pattern = Pattern(9);
        const CliRun::Run result
            = Cli({ "write", "--port", Device(*radio), SaveSourceFile(dir.path(), pattern), "--repeat", "--count", "3", "--verify",
                "--allow-out-of-band" });
        QVERIFY2(result.code == 0, qPrintable(result.out + result.err));
        QVERIFY2(result.out.contains("#1 ") && result.out.contains("#2 ") && result.out.contains("#3 "),
            qPrintable(result.out));
        QVERIFY(result.out.endsWith("Written: 3, failed: 0.\n"));
        QVERIFY(result.err.contains("Take the radio off"));

        const std::vector<CVirtualRadio::CRetired> retired = radio->Retired();
        QCOMPARE(int(retired.size()), 2);
        for (const CVirtualRadio::CRetired &r : retired) {
            QCOMPARE(r.writeLinks, 1);
            QVERIFY(r.memory == Written(RadioMemory::Factory(), pattern));
        }
        QVERIFY(radio->Memory() == Written(RadioMemory::Factory(), pattern));
    }

    void repeatEndsOnThePort_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("out"); // DEV: the device
        // clang-format off
        QTest::newRow("cable pulled while the radio just written is on it") << "gone"
            << "#1 DEV: done in S s\nDEV: stopped: the port went away (The device DEV does not exist.)\nWritten: 1, failed: 0.\n";
        QTest::newRow("held by another program from the start") << "busy"
            << "DEV: stopped: the port is in use (DEV is in use by another program.)\nWritten: 0, failed: 0.\n";
        QTest::newRow("no device from the start") << "missing"
            << "DEV: stopped: the port could not be opened (The device DEV does not exist.)\nWritten: 0, failed: 0.\n";
        // clang-format on
    }

    // A port lost by the repeat loop ends it with the reason and counts no radio it never talked to;
    // between radios the loop holds the port, so no other program can write the radio just finished.
    void repeatEndsOnThePort()
    {
        QFETCH(QString, how);
        QFETCH(QString, out);
        std::unique_ptr<CVirtualRadio> radio = StartRadio();
        QTemporaryDir dir;
        const QString device = how == "missing" ? dir.filePath("ttyUSB9") : Device(*radio);
        std::optional<CPortHolder> holder;
        if (how == "busy") {
            holder.emplace(device);
            QVERIFY(holder->Holds());
        }
        bool heldByLoop = false;
        // A QThread: the second program is started with QProcess.
        std::unique_ptr<QThread> puller;
        if (how == "gone") {
            puller.reset(QThread::create([&] {
                // The link opening that found it, the write's 10 + 60 * 20 bytes, and the first link
                // opening that asks whether it is still there.
                radio->WaitForReceived(10 + 1210 + 10, 20000);
                heldByLoop = !CPortHolder(device).Holds();
                radio.reset();
            }));
            puller->start();
        }
        const CliRun::Run result = Cli({ "write", "--port", device, SaveSourceFile(dir.path(), Pattern(3)), "--repeat",
            "--allow-out-of-band" });
        if (puller)
            puller->wait();
        QCOMPARE(result.code, 1);
        QCOMPARE(QString(result.out).replace(QRegularExpression("done in \\d+\\.\\d s"), "done in S s"),
            QString(out).replace("DEV", device));
        QCOMPARE(heldByLoop, how == "gone");
    }

    // A stop ends every radio between blocks, in a parallel batch and in the repeat loop while it
    // waits for the next radio.
    void stop_data()
    {
        QTest::addColumn<bool>("repeat");
        QTest::newRow("parallel write, stopped mid-way") << false;
        QTest::newRow("repeat loop, stopped while waiting") << true;
    }

    void stop()
    {
        QFETCH(bool, repeat);
        // Paced like a real line, so the stop surely comes while blocks remain.
        std::vector<std::unique_ptr<CVirtualRadio>> radios;
        for (int i = 0; i < (repeat ? 1 : 2); ++i)
            radios.push_back(StartRadio({}, 9600));
        CRadioImage image;
        image.CopyIn(0, Pattern(3));
        const CBatchTransfer::Factory make = [image] { return CCloneTransfer::ChannelWrite(image, false); };
        if (repeat) {
            CRepeatWriter writer(make, false);
            int waitsForRemoval = 0;
            const CRepeatWriter::Totals totals = writer.Run(Device(*radios[0]), Device(*radios[0]), 0, {},
                [&](CRepeatWriter::Waiting waiting) {
                    if (waiting == CRepeatWriter::Waiting::ForRemoval && ++waitsForRemoval == 1)
                        writer.RequestStop();
                });
            QCOMPARE(totals.written, 1);
            QCOMPARE(totals.failed, 0);
            QCOMPARE(radios[0]->LinksOpened(), 2); // the link opening that found it, and the write
            return;
        }
        CBatchTransfer batch(make, false);
        std::thread stopper([&] {
            radios[1]->WaitForReceived(200, 10000);
            batch.RequestStop();
        });
        const std::vector<CBatchOutcome> outcomes
            = batch.Run({ "A", "B" }, { Device(*radios[0]), Device(*radios[1]) });
        stopper.join();
        for (const CBatchOutcome &outcome : outcomes)
            QVERIFY2(CBatchTransfer::Line(outcome, false).contains("stopped after"),
                qPrintable(CBatchTransfer::Line(outcome, false) + '\n' + outcome.failureLine[0]));
        QVERIFY(radios[1]->Memory() != Written(RadioMemory::Factory(), Pattern(3)));
    }

    // The trace holds every byte the radio received, in order, and the radio's answers. A trace that
    // cannot be written whole is said with its file and reason while the read keeps its own result; a
    // trace file that is a symlink is refused before anything is sent.
    void trace()
    {
        const auto radio = StartRadio();
        QTemporaryDir dir;
        const auto read = [&](const char *output, const QString &trace) {
            return Cli({ "read", "--port", Device(*radio), "-o", dir.filePath(output), "--trace", trace });
        };
        const CliRun::Run first = read("r.dat", dir.filePath("trace.txt"));
        QVERIFY2(first.code == 0, qPrintable(first.out + first.err + TestFiles::Read(dir.filePath("trace.txt"))));
        const QStringList lines = QString::fromUtf8(TestFiles::Read(dir.filePath("trace.txt"))).split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.first().contains("-- opened at 9600 baud"));
        QVERIFY(lines.last().contains("-- closed"));
        QByteArray sent;
        int answers = 0;
        const QRegularExpression line(QStringLiteral("^\\S+ \\S+ \\S+ (->|<-) ([0-9A-F ]+)  \\|"));
        for (const QString &l : lines) {
            const QRegularExpressionMatch m = line.match(l);
            if (m.hasMatch() && m.captured(1) == "->")
                sent += QByteArray::fromHex(m.captured(2).remove(' ').toLatin1());
            answers += m.hasMatch() && m.captured(1) == "<-";
        }
        const std::vector<std::uint8_t> received = radio->Received();
        QCOMPARE(sent, QByteArray(reinterpret_cast<const char *>(received.data()), qsizetype(received.size())));
        QVERIFY(answers > 64); // a read takes 64 blocks

        SafeFile::FailNextWrite(SafeFile::Step::Write, ENOSPC); // the disk fills up at the first line
        const CliRun::Run full = read("s.dat", dir.filePath("full.txt"));
        SafeFile::FailNextWrite(SafeFile::Step::None, 0);
        QCOMPARE(full.code, 0);
        CRadioImage image;
        QVERIFY(DataFile::Load(dir.filePath("s.dat"), image).ok());
        QVERIFY2(full.err.contains("The trace file " + dir.filePath("full.txt") + " could not be written (No space left on device)"),
            qPrintable(full.err));

        // Under a file-size limit (prlimit --fsize) the trace stops at the limit and the read goes on to
        // its end and is saved; the system would end the program at the limit were the signal not off.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", dir.filePath("data"));
        const QString big = dir.filePath("big.txt");
        const CliRun::Run limited = CliRun::runProcess(
            { "read", "--port", Device(*radio), "-o", dir.filePath("u.dat"), "--trace", big }, 4096, environment);
        const QString said = limited.err;
        QVERIFY2(limited.code == 0, qPrintable(said));
        QVERIFY(DataFile::Load(dir.filePath("u.dat"), image).ok());
        QVERIFY2(said.contains("The trace file " + big + " could not be written (File too large)"), qPrintable(said));
        QCOMPARE(QFileInfo(big).size(), 4096);

        QVERIFY(QFile::link(dir.filePath("elsewhere.txt"), dir.filePath("link.txt")));
        const CliRun::Run refused = read("t.dat", dir.filePath("link.txt"));
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.err.contains("not a regular file (a symbolic link)"), qPrintable(refused.err));
        QVERIFY(!QFileInfo::exists(dir.filePath("elsewhere.txt")) && !QFileInfo::exists(dir.filePath("t.dat")));
    }
};

QTEST_GUILESS_MAIN(TestLinkBatch)
#include "tst_link_batch.moc"
