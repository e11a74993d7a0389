#include "LinkTestSupport.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include "config/AppPaths.h"
#include "config/FileName.h"
#include "csv/CsvText.h"
#include "link/CloneTransfer.h"
#include "link/LogRecord.h"
#include "link/ProgramLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace LinkTest;

// The programming log as program-cli writes and prints it, against the virtual radio and its faults.
class TestLinkLog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_Data; // the per-user data folder of each test

    static QString Sha256(const QByteArray& bytes)
    {
        return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    }
    // The digest of the 1024 image bytes behind a data file's 16-byte header.
    static QString DigestOfFile(const QString& path) { return Sha256(TestFiles::Read(path).mid(16, 1024)); }
    static QString Hex2(std::uint8_t value) { return QString::number(value, 16).toUpper().rightJustified(2, '0'); }

private slots:
    void init()
    {
        CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR));
        m_Data = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_Data->path()));
    }

    // clang-format off
    void records_data()
    {
        QTest::addColumn<QStringList>("args"); // PORT, SOURCE and FILE filled in
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("record"); // direction|area|blocks|verify|how the outcome starts
        const QStringList write { "write", "--port", "PORT", "SOURCE", "--allow-out-of-band" };
        const QStringList read { "read", "--port", "PORT", "-o", "FILE" };
        // An ordinary write sends [0, 768) and [800, 992): 48 + 12 blocks; a read takes [0, 1019): 64.
        QTest::newRow("write") << write << QStringList {} << "write|channels|60|not verified|done";
        QTest::newRow("write, verified") << write + QStringList { "--verify" } << QStringList {} << "write|channels|60|verified|done";
        // The radio kept its own byte at 0x020 (pattern 2) where the file has pattern 3's.
        QTest::newRow("write, the third block lost") << write + QStringList { "--verify" } << QStringList { "write-lost:3" }
                                                     << "write|channels|60|differs at 0x020|failed: wrote SENT, read back KEPT";
        QTest::newRow("write, the third block refused") << write << QStringList { "write-nak:3" }
                                                        << "write|channels|2|not verified|failed: the radio refused block 3 of 60 (address 0x0020)";
        QTest::newRow("repeat loop, one radio") << write + QStringList { "--repeat", "--count", "1" } << QStringList {}
                                                << "write|channels|60|not verified|done";
        QTest::newRow("read") << read << QStringList {} << "read|channels|64|not verified|done";
        QTest::newRow("read, block 20 lost") << read << QStringList { "read-silent:20" }
                                             << "read|channels|19|not verified|failed: block 20 of 64 (address 0x0130) did not arrive";
        // Every block came in but the file could not be saved: the command fails, and so does the record.
        QTest::newRow("read, the file not saved") << QStringList { "read", "--port", "PORT", "-o", "missing/radio.dat" }
                                                  << QStringList {} << "read|channels|64|not verified|failed: the data file was not saved (Cannot save ";
        // The power table [0x3E0, 0x3FB): 0x3E0-0x3EF and 0x3F0-0x3FA.
        QTest::newRow("service write, power")
            << QStringList { "service", "write", "--port", "PORT", "--access-code", "k719wd", "--area", "power", "SOURCE" }
            << QStringList {} << "write|power|2|not verified|done";
    }
    // clang-format on

    // Each transfer leaves one record, and program-cli log --csv gives it back column by column: the
    // file written or read and the digest of its image, none for a read that failed.
    void records()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, faults);
        QFETCH(QString, record);
        QStringList want = record.split('|');
        const bool done = want[4] == "done";
        const auto radio = StartRadio(faults);
        radio->SetMemory(Pattern(2));
        QTemporaryDir dir;
        const QString source = SaveSourceFile(dir.path(), Pattern(3));
        const QString output = dir.filePath(QStringLiteral("radio.dat"));
        const QString named = args.value(args.indexOf("-o") + 1);
        const QString file = args.contains("SOURCE") ? source : dir.filePath(named == "FILE" ? "radio.dat" : named);
        want[4].replace("SENT", Hex2(Pattern(3)[0x20])).replace("KEPT", Hex2(Pattern(2)[0x20]));
        args.replaceInStrings(QStringLiteral("PORT"), Device(*radio));
        args.replaceInStrings(QStringLiteral("SOURCE"), source);
        // The output named relative to the working folder is logged by its full path.
        args.replaceInStrings(QStringLiteral("FILE"), QStringLiteral("radio.dat"));
        const QString working = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const CliRun::Run result = CliRun::run(args);
        QDir::setCurrent(working);
        QCOMPARE(result.code, done ? 0 : 1);
        QVERIFY2(!result.err.contains("log"), qPrintable(result.err));

        const std::vector<CsvText::Record> rows
            = CsvText::Parse(CliRun::run({ "log", "--csv" }).out.toUtf8()).records;
        QCOMPARE(rows.size(), std::size_t(2));
        QCOMPARE(rows[0].fields.join(','),
            QStringLiteral(
                "time,port,direction,area,file,sha256,type,band,blocks,verify,outcome,version,backup"));
        const QStringList& row = rows[1].fields;
        QCOMPARE(row.size(), 13);
        QVERIFY(QDateTime::fromString(row[0], Qt::ISODate).isValid() && row[0].endsWith('Z'));
        QCOMPARE(row[1], Device(*radio));
        QCOMPARE(QStringList({ row[2], row[3], row[8], row[9] }), want.mid(0, 4));
        QCOMPARE(row[4], file);
        if (want[0] == "write" || done)
            QCOMPARE(row[5], want[0] == "write" ? DigestOfFile(source) : DigestOfFile(output));
        else
            QCOMPARE(row[5].size(), want[2] == "64" ? 64 : 0); // the radio's digest once all of it came in
        QVERIFY2(row[10].startsWith(want[4]), qPrintable(row[10]));
        QCOMPARE(row[11], QStringLiteral("1.0"));
        QCOMPARE(row[12], QString());
    }

    // A write stopped between blocks is logged as stopped with the blocks that went out.
    void stoppedWrite()
    {
        const auto radio = StartRadio();
        CRadioImage image;
        image.CopyIn(0, Pattern(8));
        const std::unique_ptr<CCloneTransfer> transfer = CCloneTransfer::ChannelWrite(image, false);
        QCOMPARE(transfer->Begin(Device(*radio)), CCloneTransfer::Status::Running);
        QCOMPARE(transfer->Step(), CCloneTransfer::Status::Running);
        QCOMPARE(transfer->Step(), CCloneTransfer::Status::Running);
        QCOMPARE(transfer->Stop(), CCloneTransfer::Status::Stopped);
        const CLogRecord record = CLogRecord::Of(*transfer, "COM3", Device(*radio), QString(), CIniFile());
        QCOMPARE(record.outcome, QStringLiteral("stopped"));
        QCOMPARE(record.blocks, 2);
        QCOMPARE(record.file, QStringLiteral("unsaved document"));
        const RadioMemory::Bytes sent = BytesOf(image);
        QCOMPARE(record.sha256, Sha256(QByteArray(reinterpret_cast<const char*>(sent.data()), 1024)));
    }

    // The cable pulled out mid-transfer: the log keeps the reason the user was shown.
    void pulledCable()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString device = QString::fromLocal8Bit(::ptsname(master));
        std::unique_ptr<CCloneTransfer> transfer;
        QThread* run = QThread::create([&] { (transfer = CCloneTransfer::ChannelRead({}))->Run(device); });
        run->start();
        char first = 0;
        QCOMPARE(::read(master, &first, 1), ssize_t(1));
        ::close(master);
        run->wait();
        delete run;
        const CLogRecord record = CLogRecord::Of(*transfer, "COM3", device, QString(), CIniFile());
        QCOMPARE(record.outcome, QStringLiteral("failed: the port stopped working (the device went away or failed)"));
        QVERIFY(transfer->FailureLine(false).contains(record.outcome.mid(8)));
    }

    // clang-format off
    void logNotWritten_data()
    {
        QTest::addColumn<QString>("what"); // in the log's place, or the limit on file sizes
        QTest::newRow("a symlink to another file") << "symlink";
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("a file-size limit 40 bytes past the log") << "limit";
    }
    // clang-format on

    // A log that cannot be written leaves a write that went through as a success, says so once on
    // stderr, follows no symlink, waits on no FIFO, and leaves no part of a record behind.
    void logNotWritten()
    {
        QFETCH(QString, what);
        const auto radio = StartRadio();
        radio->SetMemory(Pattern(2));
        QTemporaryDir dir;
        const QString source = SaveSourceFile(dir.path(), Pattern(3));
        const QStringList write { "write", "--port", Device(*radio), source, "--allow-out-of-band" };
        const QString path = CProgramLog::Path();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        const QString victim = dir.filePath("victim.txt");
        QVERIFY(TestFiles::Write(victim, "not the log\n"));
        qint64 size = 0;
        if (what == "symlink") {
            QVERIFY(QFile::link(victim, path));
        } else if (what == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QCOMPARE(CliRun::runProcess(write).code, 0);
            size = QFileInfo(path).size();
            QVERIFY(size > 100);
        }
        radio->SetMemory(Pattern(2));
        const CliRun::Run run = CliRun::runProcess(write, size ? size + 40 : 0);
        QCOMPARE(run.code, 0);
        QVERIFY(radio->Memory() == Written(Pattern(2), Pattern(3)));
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.startsWith("The programming log could not be written ("), qPrintable(run.err));
        QCOMPARE(TestFiles::Read(victim), QByteArray("not the log\n"));
        if (what == "limit") {
            QCOMPARE(QFileInfo(path).size(), size);
            const CProgramLog::Contents contents = CProgramLog().Read(false);
            QCOMPARE(contents.notes, QStringList());
            QCOMPARE(contents.records.size(), 1);
        }
    }

    // clang-format off
    void shown_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shownFile"); // in the table and the CSV
        QTest::addColumn<QString>("csvPort");
        QTest::newRow("plain") << "COM1" << "/d/a.dat" << "/d/a.dat" << "COM1";
        QTest::newRow("a line feed forging a row") << "COM1" << "/d/a.dat\n2026-12-09T10:00:00Z  COM9  write"
                                                   << "/d/a.dat\\n2026-12-09T10:00:00Z  COM9  write" << "COM1";
        QTest::newRow("terminal escapes") << "COM1" << "/d/\x1b]0;title\x07\x1b[2Ja.dat\r\x7f\u0085"
                                          << "/d/\\x1b]0;title\\x07\\x1b[2Ja.dat\\r\\x7f\\x85" << "COM1";
        QTest::newRow("bytes that are not UTF-8") << "COM1" << FileName::FromBytes("/d/x\xff\xfe.dat") << "/d/x\\xff\\xfe.dat" << "COM1";
        QTest::newRow("a formula as the port") << "=HYPERLINK(\"x\")" << "/d/a.dat" << "/d/a.dat" << "'=HYPERLINK(\"x\")";
        QTest::newRow("plus") << "+1" << "/d/a.dat" << "/d/a.dat" << "'+1";
        QTest::newRow("minus") << "-2+3" << "/d/a.dat" << "/d/a.dat" << "'-2+3";
        QTest::newRow("at") << "@SUM(1)" << "/d/a.dat" << "/d/a.dat" << "'@SUM(1)";
        QTest::newRow("a tab first") << "\t=1" << "/d/a.dat" << "/d/a.dat" << "\\t=1";
        QTest::newRow("Chinese, and an emoji's surrogate pair") << "COM1" << "/d/电台\U0001F4FB.dat" << "/d/电台\U0001F4FB.dat" << "COM1";
    }
    // clang-format on

    // What program-cli log prints: one line a record with nothing that draws a row of its own or
    // reaches the terminal as a control, each value under its own header; and --csv, whose text cells
    // a spreadsheet cannot take for a formula while the blocks stay a number.
    void shown()
    {
        QFETCH(QString, port);
        QFETCH(QString, file);
        QFETCH(QString, shownFile);
        QFETCH(QString, csvPort);
        CLogRecord record;
        record.time = QDateTime(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC);
        record.port = port;
        record.direction = "write";
        record.area = "channels";
        record.file = file;
        record.sha256 = "ab12";
        record.type = "QR-260";
        record.band = "130 - 160MHz";
        record.blocks = 60;
        record.verify = "verified";
        record.outcome = "done";
        record.version = "1.0";
        record.backup = "/b/x.dat";
        QCOMPARE(CProgramLog().Append(record), QString());

        const QStringList lines = CliRun::run({ "log" }).out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        for (const QChar c : lines[1])
            QVERIFY2(c >= ' ' && c != QChar(0x7f) && !(c >= QChar(0x80) && c < QChar(0xa0)), qPrintable(lines[1]));
        QVERIFY2(lines[1].contains(shownFile), qPrintable(lines[1]));
        // Under its own header: the type and band columns start where their names do.
        QCOMPARE(lines[1].indexOf("QR-260"), lines[0].indexOf(" type ") + 1);
        QCOMPARE(lines[1].indexOf("130 - 160MHz"), lines[0].indexOf(" band ") + 1);

        const std::vector<CsvText::Record> rows = CsvText::Parse(CliRun::run({ "log", "--csv" }).out.toUtf8()).records;
        QCOMPARE(rows.size(), std::size_t(2));
        QCOMPARE(rows[0].fields.join(','),
            QStringLiteral("time,port,direction,area,file,sha256,type,band,blocks,verify,outcome,version,backup"));
        QCOMPARE(rows[1].fields,
            (QStringList { "2026-12-08T09:00:00Z", csvPort, "write", "channels", shownFile, "ab12", "QR-260",
                "130 - 160MHz", "60", "verified", "done", "1.0", "/b/x.dat" }));
    }

    // A file name that is not UTF-8, given relative to the working folder, is logged with its bytes:
    // two such files stay two names, and --file finds each.
    void namesAsTheyAre()
    {
        const auto radio = StartRadio();
        QTemporaryDir dir;
        const QString working = QDir::currentPath();
        QDir::setCurrent(dir.path());
        for (const char* name : { "x\xff.dat", "x\xfe.dat" })
            QCOMPARE(CliRun::run({ "read", "--port", Device(*radio), "-o", FileName::FromBytes(name) }).code, 0);
        QDir::setCurrent(working);
        for (const char* byte : { "ff", "fe" }) {
            const CliRun::Run found = CliRun::run({ "log", "--csv", "--file", FileName::FromBytes(QByteArray::fromHex(QByteArray("78") + byte)) });
            const std::vector<CsvText::Record> rows = CsvText::Parse(found.out.toUtf8()).records;
            QCOMPARE(rows.size(), std::size_t(2));
            QCOMPARE(rows[1].fields[4], dir.path() + "/x\\x" + byte + ".dat");
        }
    }

};

QTEST_GUILESS_MAIN(TestLinkLog)
#include "tst_link_log.moc"
