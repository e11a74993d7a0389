#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include "config/AppPaths.h"
#include "link/LogFile.h"
#include "link/LogRecord.h"
#include "link/ProgramLog.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <mutex>

// The programming log's files: lines read back or skipped, renames by date, and appends from several
// threads and programs at once under one lock.
class TestLinkLogFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_Data; // the per-user data folder of each test

private slots:
    void init()
    {
        CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR));
        m_Data = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_Data->path()));
        QVERIFY(QDir().mkpath(QFileInfo(CProgramLog::Path()).absolutePath()));
    }

    // clang-format off
    void readLines_data()
    {
        QTest::addColumn<QByteArray>("text"); // of the log; RECORD stands for a whole record
        QTest::addColumn<int>("records");
        QTest::addColumn<QList<int>>("skipped"); // the lines noted
        QTest::newRow("two records") << QByteArray("RECORD\nRECORD\n") << 2 << QList<int> {};
        QTest::newRow("an empty line between") << QByteArray("RECORD\n\nRECORD\n") << 2 << QList<int> {};
        QTest::newRow("a record cut, then one whole") << QByteArray("{\"time\":\"2026-12-08T09:00:00Z\",\"po\nRECORD\n") << 1 << QList<int> { 1 };
        QTest::newRow("no time") << QByteArray("{\"direction\":\"read\",\"port\":\"COM1\"}\nRECORD\n") << 1 << QList<int> { 1 };
        QTest::newRow("a time that is none") << QByteArray("{\"time\":\"yesterday\",\"direction\":\"read\"}\n") << 0 << QList<int> { 1 };
        QTest::newRow("no direction") << QByteArray("RECORD\n{\"time\":\"2026-12-08T09:00:00Z\"}\n") << 1 << QList<int> { 2 };
        QTest::newRow("a line longer than any record") << QByteArray(200000, 'x') + "\nRECORD\n" << 1 << QList<int> { 1 };
        QTest::newRow("the last record without its line feed") << QByteArray("RECORD\nRECORD") << 2 << QList<int> {};
    }
    // clang-format on

    // Lines that are no record of ours are skipped, each with a note naming its line; the rest are read.
    void readLines()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, records);
        QFETCH(QList<int>, skipped);
        const QString path = CProgramLog::Path();
        text.replace("RECORD", "{\"time\":\"2026-12-08T09:00:00Z\",\"port\":\"COM1\",\"direction\":\"read\"}");
        QVERIFY(TestFiles::Write(path, text));
        const CProgramLog::Contents contents = CProgramLog().Read(false);
        QCOMPARE(contents.records.size(), records);
        QStringList notes;
        for (const int line : skipped)
            notes << QStringLiteral("%1, line %2: a cut or unreadable record was skipped.").arg(path).arg(line);
        QCOMPARE(contents.notes, notes);
    }

    // clang-format off
    void rotates_data()
    {
        QTest::addColumn<QStringList>("before"); // renamed logs of that day already there
        QTest::addColumn<QString>("renamed");
        QTest::newRow("the first of the day") << QStringList {} << "programming-log-20260102.jsonl";
        QTest::newRow("the second of the day") << QStringList { "programming-log-20260102.jsonl" } << "programming-log-20260102-2.jsonl";
        QTest::newRow("the third of the day") << QStringList { "programming-log-20260102.jsonl", "programming-log-20260102-2.jsonl" }
                                              << "programming-log-20260102-3.jsonl";
    }
    // clang-format on

    // At 10 MB the log is renamed with its date, never over a log renamed before, and a new one begun;
    // reading takes them all, in order.
    void rotates()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, renamed);
        const QString path = CProgramLog::Path();
        const QDir folder = QFileInfo(path).dir();
        const QByteArray earlier = "{\"time\":\"2026-01-01T08:00:00Z\",\"port\":\"EARLIER\",\"direction\":\"read\"}\n";
        for (const QString& name : before)
            QVERIFY(TestFiles::Write(folder.filePath(name), earlier));
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

        for (const QString& name : before)
            QCOMPARE(TestFiles::Read(folder.filePath(name)), earlier);
        QCOMPARE(QFileInfo(folder.filePath(renamed)).size(), old.size());
        QCOMPARE(QFileInfo(path).size(), record.ToLine().size());
        const CProgramLog::Contents contents = CProgramLog().Read(false);
        QCOMPARE(contents.notes, QStringList());
        QCOMPARE(contents.records.size(), before.size() + old.size() / line.size() + 1);
        QCOMPARE(contents.records.last().port, QStringLiteral("COM2"));
        if (!before.isEmpty())
            return;
        // --since and --port pick from both files.
        const CliRun::Run since = CliRun::run({ "log", "--since", "2026-01-03", "--csv" });
        QCOMPARE(since.out.count('\n'), 2);
        QVERIFY(since.out.contains("COM2"));
        QCOMPARE(CliRun::run({ "log", "--since", "2026-01-03T10:00:01", "--csv" }).out.count('\n'), 1);
        QCOMPARE(CliRun::run({ "log", "--port", "com2", "--csv" }).out.count('\n'), 2);
        QCOMPARE(CliRun::run({ "log", "--since", "yesterday" }).code, 2);
        // A program that renames without the lock still never replaces a renamed log.
        QCOMPARE(LogFile::RenameNoReplace(path, folder.filePath(renamed)), LogFile::Renamed::Exists);
        QCOMPARE(QFileInfo(folder.filePath(renamed)).size(), old.size());
        QCOMPARE(QFileInfo(path).size(), record.ToLine().size());
    }

    // clang-format off
    void appendsAcrossRotation_data()
    {
        QTest::addColumn<bool>("processes"); // else threads of this process, as a batch has
        QTest::newRow("six programs at once") << true;
        QTest::newRow("six threads at once") << false;
    }
    // clang-format on

    // Several writers appending at once across many renames (the log renamed at 1 KB here): every
    // record is in one of the files, once, and no line is cut.
    void appendsAcrossRotation()
    {
        QFETCH(bool, processes);
        constexpr int kWriters = 6;
        constexpr int kEach = 100;
        constexpr qint64 kRotate = 1024;
        const QString path = CProgramLog::Path();
        QStringList failures;
        if (processes) {
            std::vector<std::unique_ptr<QProcess>> children;
            for (int w = 0; w < kWriters; ++w) {
                children.push_back(std::make_unique<QProcess>());
                children.back()->start(QCoreApplication::applicationDirPath() + "/link_log_appender",
                    { path, QString::number(kEach), QString::number(kRotate), QStringLiteral("P%1").arg(w) });
                QVERIFY(children.back()->waitForStarted());
            }
            for (const auto& child : children)
                child->write("go\n"), child->closeWriteChannel();
            for (const auto& child : children) {
                QVERIFY(child->waitForFinished(120000));
                if (child->exitCode() != 0)
                    failures << QString::fromLocal8Bit(child->readAllStandardOutput());
            }
        } else {
            std::vector<std::unique_ptr<QThread>> threads;
            std::mutex failed;
            for (int w = 0; w < kWriters; ++w)
                threads.emplace_back(QThread::create([&, w] {
                    const CProgramLog log(QString(), kRotate);
                    for (int i = 0; i < kEach; ++i) {
                        CLogRecord record;
                        record.time = QDateTime(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC);
                        record.port = QStringLiteral("P%1").arg(w);
                        record.direction = QStringLiteral("write");
                        record.blocks = i;
                        if (const QString reason = log.Append(record); !reason.isEmpty()) {
                            const std::lock_guard lock(failed);
                            failures << reason;
                        }
                    }
                }));
            for (const auto& thread : threads)
                thread->start();
            for (const auto& thread : threads)
                thread->wait();
        }
        QCOMPARE(failures, QStringList());
        const CProgramLog::Contents contents = CProgramLog().Read(false);
        QCOMPARE(contents.notes, QStringList());
        QStringList keys; // every record of the log and its renamed files as "port/blocks"
        for (const CLogRecord& record : contents.records)
            keys << record.port + '/' + QString::number(record.blocks);
        keys.sort();
        QStringList expected;
        for (int w = 0; w < kWriters; ++w)
            for (int i = 0; i < kEach; ++i)
                expected << QStringLiteral("P%1/%2").arg(w).arg(i);
        expected.sort();
        QCOMPARE(keys, expected);
        QVERIFY(CProgramLog().Files().size() > 20); // renamed many times over
    }

    // Seen from another process whose fsync and flock calls are watched: an append waits while the
    // log's lock is held elsewhere (here, by this test), and each record is synced to the disk before
    // the append returns.
    void appendInAnotherProgram()
    {
        QTemporaryDir dir;
        const QString spied = dir.filePath("spied.txt");
        const QString path = dir.filePath("programming-log.jsonl");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_PRELOAD", QCoreApplication::applicationDirPath() + "/link_fsync_spy.so");
        environment.insert("FSYNC_SPY_OUT", spied);
        environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        QProcess child;
        child.setProcessEnvironment(environment);
        auto lock = std::make_unique<LogFile::CLock>(path);
        QVERIFY(lock->Held());
        child.start(QCoreApplication::applicationDirPath() + "/link_log_appender",
            { path, "2", QString::number(CProgramLog::kRotateBytes), "COM1" });
        QVERIFY(child.waitForStarted());
        child.write("go\n");
        child.closeWriteChannel();
        const QString lockName = dir.filePath(".programming-log.lock");
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::Read(spied).contains(("flock " + lockName).toUtf8()), 20000);
        QVERIFY(!QFileInfo::exists(path)); // the child is at the lock, and nothing of it is in the log
        lock.reset();
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(CProgramLog(path).Read(false).records.size(), 2);
        QCOMPARE(QString::fromUtf8(TestFiles::Read(spied)).split('\n').count("fsync " + path), 2);
    }
};

QTEST_GUILESS_MAIN(TestLinkLogFiles)
#include "tst_link_log_files.moc"
