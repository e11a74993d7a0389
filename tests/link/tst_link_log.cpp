#include "LinkTestSupport.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include "config/AppPaths.h"
#include "csv/CsvText.h"
#include "link/CloneTransfer.h"
#include "link/LogRecord.h"
#include "link/ProgramLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

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
        QTest::newRow("write, the third block lost") << write + QStringList { "--verify" } << QStringList { "write-lost:3" }
                                                     << "write|channels|60|differs at 0x020|failed: wrote";
        QTest::newRow("write, the third block refused") << write << QStringList { "write-nak:3" } << "write|channels|2|not verified|failed:";
        QTest::newRow("repeat loop, one radio") << write + QStringList { "--repeat", "--count", "1" } << QStringList {}
                                                << "write|channels|60|not verified|done";
        QTest::newRow("read") << read << QStringList {} << "read|channels|64|not verified|done";
        QTest::newRow("read, block 20 lost") << read << QStringList { "read-silent:20" } << "read|channels|19|not verified|failed:";
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
        const QStringList want = record.split('|');
        const bool done = want[4] == "done";
        const auto radio = StartRadio(faults);
        radio->SetMemory(Pattern(2));
        QTemporaryDir dir;
        const QString source = SaveSourceFile(dir.path(), Pattern(3));
        const QString output = dir.filePath(QStringLiteral("radio.dat"));
        const QString file = args.contains("SOURCE") ? source : output;
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
        QCOMPARE(row[5], want[0] == "write" ? DigestOfFile(source) : done ? DigestOfFile(output) : QString());
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

    // With the disk full under the log the write still succeeds and says once that the log failed; the
    // record cut there is skipped with a note, and the next one starts a line of its own.
    void fullDisk()
    {
        const auto radio = StartRadio();
        QTemporaryDir dir;
        const QString source = SaveSourceFile(dir.path(), Pattern(3));
        const QStringList write { "write", "--port", Device(*radio), source, "--allow-out-of-band" };
        QCOMPARE(CliRun::run(write).code, 0);
        const QString path = CProgramLog::Path();
        const qint64 size = QFileInfo(path).size();
        QVERIFY(size > 100);

        // Room for 40 more bytes: the next record is cut, as by a full disk.
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = saved;
        tight.rlim_cur = rlim_t(size + 40);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
        const CliRun::Run full = CliRun::run(write + QStringList { "--verify" });
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(full.code, 0);
        QCOMPARE(full.out, QStringLiteral("Verified 960 bytes.\n"));
        QCOMPARE(full.err.count('\n'), 1);
        QVERIFY2(full.err.startsWith("The programming log could not be written ("), qPrintable(full.err));
        QCOMPARE(QFileInfo(path).size(), size + 40);

        QCOMPARE(CliRun::run(write).code, 0);
        const CliRun::Run log = CliRun::run({ "log" });
        QCOMPARE(log.code, 0);
        QCOMPARE(log.err, QStringLiteral("%1, line 2: a cut or unreadable record was skipped.\n").arg(path));
        const QStringList lines = log.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3); // the header and two writes
        QVERIFY(lines[0].startsWith("time "));
        QVERIFY(lines[2].contains(DigestOfFile(source)));
    }

    // At 10 MB the log is renamed with its date and a new one begun; reading takes both, in order.
    void rotates()
    {
        const QString path = CProgramLog::Path();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        const QByteArray line = "{\"time\":\"2026-01-02T08:00:00Z\",\"port\":\"COM1\",\"direction\":\"read\","
                                "\"area\":\"channels\",\"blocks\":64}\n";
        QByteArray old;
        while (old.size() < 10 * 1024 * 1024)
            old += line;
        QVERIFY(TestFiles::Write(path, old));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(
            QDateTime(QDate(2026, 1, 2), QTime(9, 0), Qt::UTC), QFileDevice::FileModificationTime));
        file.close();
        CLogRecord record;
        record.time = QDateTime(QDate(2026, 1, 3), QTime(10, 0), Qt::UTC);
        record.port = QStringLiteral("COM2");
        record.direction = QStringLiteral("write");
        QCOMPARE(CProgramLog().Append(record), QString());

        const QString renamed
            = QFileInfo(path).dir().filePath(QStringLiteral("programming-log-20260102.jsonl"));
        QCOMPARE(QFileInfo(renamed).size(), old.size());
        QCOMPARE(QFileInfo(path).size(), record.ToLine().size());
        const CProgramLog::Contents contents = CProgramLog().Read(false);
        QCOMPARE(contents.notes, QStringList());
        QCOMPARE(contents.records.size(), old.size() / line.size() + 1);
        QCOMPARE(contents.records.last().port, QStringLiteral("COM2"));

        // --since and --port pick from both files.
        const CliRun::Run since = CliRun::run({ "log", "--since", "2026-01-03", "--csv" });
        QCOMPARE(since.out.count('\n'), 2);
        QVERIFY(since.out.contains("COM2"));
        QCOMPARE(CliRun::run({ "log", "--since", "2026-01-03T10:00:01", "--csv" }).out.count('\n'), 1);
        QCOMPARE(CliRun::run({ "log", "--port", "com2", "--csv" }).out.count('\n'), 2);
        QCOMPARE(CliRun::run({ "log", "--since", "yesterday" }).code, 2);
    }
};

QTEST_GUILESS_MAIN(TestLinkLog)
#include "tst_link_log.moc"
