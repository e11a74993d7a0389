#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include "config/AppPaths.h"
#include "link/LogFile.h"
#include "link/LogFollower.h"
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

    void logUntil_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("times"); // the records listed, by their time; empty: refused
        // The log holds one record at each of these (UTC).
        const QStringList all { "2026-12-07T23:59:59Z", "2026-12-08T00:00:00Z", "2026-12-08T14:30:00Z",
            "2026-12-08T14:30:59Z", "2026-12-08T14:31:00Z", "2026-12-09T00:00:00Z" };
        QTest::newRow("a date takes in its whole day") << QStringList { "--until", "2026-12-08" } << all.mid(0, 5);
        QTest::newRow("a minute takes in all of it") << QStringList { "--until", "2026-12-08T14:30" } << all.mid(0, 4);
        QTest::newRow("a space instead of T") << QStringList { "--until", "2026-12-08 14:30" } << all.mid(0, 4);
        QTest::newRow("a second is that second") << QStringList { "--until", "2026-12-08T14:30:00" } << all.mid(0, 3);
        QTest::newRow("a fraction of a second reaches no further")
            << QStringList { "--until", "2026-12-08T14:30:58.5" } << all.mid(0, 3);
        QTest::newRow("a time with its offset") << QStringList { "--until", "2026-12-08T15:30+01:00" } << all.mid(0, 4);
        QTest::newRow("one day from --since to --until")
            << QStringList { "--since", "2026-12-08", "--until", "2026-12-08" } << all.mid(1, 4);
        QTest::newRow("one minute") << QStringList { "--since", "2026-12-08T14:30", "--until", "2026-12-08T14:30" }
                                    << all.mid(2, 2);
        QTest::newRow("--until before --since") << QStringList { "--since", "2026-12-09", "--until", "2026-12-08" }
                                                << QStringList();
        QTest::newRow("--until that is no date") << QStringList { "--until", "tomorrow" } << QStringList();
    }

    // log --until keeps the records up to the end of the day, minute or second it names; a window
    // that can hold no record is a usage error, not an empty list.
    void logUntil()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, times);
        for (const char* time : { "2026-12-09T00:00:00Z", "2026-12-07T23:59:59Z", "2026-12-08T14:31:00Z",
                 "2026-12-08T00:00:00Z", "2026-12-08T14:30:59Z", "2026-12-08T14:30:00Z" }) {
            CLogRecord record;
            record.time = QDateTime::fromString(QString::fromLatin1(time), Qt::ISODate);
            record.port = QStringLiteral("COM1");
            record.direction = QStringLiteral("read");
            QCOMPARE(CProgramLog().Append(record), QString());
        }
        const CliRun::Run run = CliRun::run(QStringList { "log", "--csv" } + options);
        if (times.isEmpty()) {
            QCOMPARE(run.code, 2);
            QCOMPARE(run.out, QString());
            QVERIFY2(run.err.contains("--until"), qPrintable(run.err));
            return;
        }
        QCOMPARE(run.code, 0);
        QStringList listed;
        for (const QString& line : run.out.split("\r\n", Qt::SkipEmptyParts).mid(1))
            listed << line.section(',', 0, 0);
        listed.sort();
        QCOMPARE(listed, times);
    }

    void follower_data()
    {
        QTest::addColumn<QByteArray>("then"); // appended after the first reading; RECORD: a whole one
        QTest::addColumn<QString>("change"); // "", or what else happens to the file before the next reading
        QTest::addColumn<bool>("same"); // the next reading carries on in the same file
        QTest::addColumn<int>("records"); // it finds
        QTest::newRow("a record appended") << QByteArray("RECORD\n") << "" << true << 1;
        QTest::newRow("half a record: left for later") << QByteArray("{\"time\":\"2026-12-08T09:0") << "" << true << 0;
        QTest::newRow("the rest of a record cut at the first reading") << QByteArray() << "complete" << true << 1;
        QTest::newRow("renamed at its size limit, a new log begun") << QByteArray() << "rotate" << false << 0;
        QTest::newRow("removed") << QByteArray() << "remove" << false << 0;
        QTest::newRow("replaced by a longer file") << QByteArray() << "replace" << false << 0;
    }

    // Following the log: what is appended is read from where the last reading stopped, a record being
    // written is waited for, and a file that is no longer the one read sends the reader back to the start.
    void follower()
    {
        QFETCH(QByteArray, then);
        QFETCH(QString, change);
        QFETCH(bool, same);
        QFETCH(int, records);
        const QByteArray record = "{\"time\":\"2026-12-08T09:00:00Z\",\"port\":\"COM1\",\"direction\":\"read\"}";
        const QString path = CProgramLog::Path();
        const QByteArray first = record + "\n" + record + "\n";
        QVERIFY(TestFiles::Write(path, change == "complete" ? first + record.left(20) : first));
        CLogFollower follower(path);
        int read = 0;
        QStringList notes;
        const auto count = [&read](const CLogRecord&) { ++read; };
        const auto note = [&notes](const QString& text) { notes << text; };
        follower.ReadAll(false, count, note);
        QCOMPARE(read, 2);
        QCOMPARE(notes.size(), change == "complete" ? 1 : 0); // a crash may have cut it: said
        read = 0;
        notes.clear();
        QFile file(path);
        if (change == "complete") {
            then = record.mid(20) + "\n";
        } else if (change == "rotate") {
            QVERIFY(QFile::rename(path, QFileInfo(path).dir().filePath("programming-log-20261208.jsonl")));
            QVERIFY(TestFiles::Write(path, record + "\n"));
        } else if (change == "remove") {
            QVERIFY(QFile::remove(path));
        } else if (change == "replace") {
            QVERIFY(TestFiles::Write(path, record.left(30) + "X" + record.mid(30) + "\n" + first));
        }
        if (!then.isEmpty()) {
            const QByteArray bytes = then.replace("RECORD", record);
            QVERIFY(file.open(QIODevice::Append));
            QCOMPARE(file.write(bytes), bytes.size());
            file.close();
        }
        QCOMPARE(follower.ReadNew(false, count, note), same);
        QCOMPARE(read, records);
        QCOMPARE(notes, QStringList());
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
