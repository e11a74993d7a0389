#include "config/AppPaths.h"
#include "config/Language.h"
#include "config/SafeFile.h"
#include "image/DataFile.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestFiles;

namespace {

enum class Fault { None, SyncFails, SizeLimit, SamePath, Symlink, HardLink, TheLog };

const QByteArray kOldOutput = "an older output the user still has\n";

} // namespace

// What program-cli writes besides the data file it changes (exports, reports and traces) and the lock
// every change takes.
class TestCliFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR));
        CLanguage::SetName("English");
    }
    void cleanup() { SafeFile::FailNextWrite(SafeFile::Step::None, 0); }
    void outputs_data();
    void outputs();
    void locks_data();
    void locks();
    void exportToFullStdout();
    void importFrom_data();
    void importFrom();
};

// clang-format off
void TestCliFiles::outputs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("message"); // empty: the output is written
    const struct { const char* name; Fault fault; const char* message; } faults[] = {
        { "a regular file", Fault::None, "" },
        { "whose fsync fails", Fault::SyncFails, "Input/output error" },
        { "over the file-size limit", Fault::SizeLimit, "File too large" },
        { "the input by its name", Fault::SamePath, "would replace the input file" },
        { "the input through a symlink", Fault::Symlink, "would replace the input file" },
        { "the input through a hard link", Fault::HardLink, "would replace the input file" },
        { "the programming log", Fault::TheLog, "is a file of the programming log; nothing was written" },
    };
    // "trace": write --trace, whose output is the trace; its port is missing, so only the refusals count.
    // "new" and "read" only for the log: their other outcomes are the data file's own tests.
    QTest::newRow("new FILE, the programming log") << QString("new") << Fault::TheLog << QString(faults[6].message);
    QTest::newRow("read -o, the programming log") << QString("read") << Fault::TheLog << QString(faults[6].message);
    for (const char* command : { "export", "print", "trace" })
        for (const auto& f : faults)
            if (QByteArray(command) != "trace" || f.fault >= Fault::SamePath)
                QTest::addRow("%s, output %s", command, f.name) << QString(command) << f.fault << QString(f.message);
}
// clang-format on

// Every output goes through the one writer (a failed fsync only SafeFile sees proves it; tst_files
// tries that writer against full disks, FIFOs and the like): a failure leaves the old file, names it
// and the reason, and exits 1; no output ever replaces the command's own input.
void TestCliFiles::outputs()
{
    QFETCH(QString, command);
    QFETCH(Fault, fault);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString in = dir.filePath("radio.dat");
    const QByteArray input = DataFile::Serialize(DataFile::NewImage(QString()));
    QVERIFY(Write(in, input));
    QString out = dir.filePath("out.file");
    switch (fault) {
    case Fault::SamePath: out = in; break;
    case Fault::Symlink: QVERIFY(QFile::link(in, out)); break;
    case Fault::HardLink: QVERIFY(::link(QFile::encodeName(in).constData(), QFile::encodeName(out).constData()) == 0); break;
    case Fault::TheLog:
        // The records of every transfer: no output, mistyped or completed by the shell, replaces them.
        QVERIFY(QDir().mkpath(dir.filePath("data/fieldcom-programmer")));
        out = dir.filePath("data/fieldcom-programmer/programming-log.jsonl");
        QVERIFY(Write(out, kOldOutput));
        break;
    default: QVERIFY(Write(out, kOldOutput)); break;
    }
    if (fault == Fault::SyncFails)
        SafeFile::FailNextWrite(SafeFile::Step::Sync, EIO);

    const bool hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const auto restoreDataHome = qScopeGuard([&] {
        if (hadDataHome)
            qputenv("XDG_DATA_HOME", dataHome);
        else
            qunsetenv("XDG_DATA_HOME");
    });
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    const QStringList args = command == "trace"
        ? QStringList { "write", "--port", dir.filePath("no-such-port"), in, "--trace", out }
        : command == "new"  ? QStringList { "new", out }
        : command == "read" ? QStringList { "read", "--port", dir.filePath("no-such-port"), "-o", out }
                            : QStringList { command, in, "-o", out };
    // Under a limit on file size (prlimit --fsize) the program itself runs: the system would end it
    // with a signal at the first byte over, unless it turns that signal off.
    const CliRun::Run result = fault == Fault::SizeLimit ? CliRun::runProcess(args, 100) : CliRun::run(args);
    if (message.isEmpty()) {
        QCOMPARE(result.code, 0);
        QVERIFY(Read(out).startsWith(command == "print" ? "%PDF" : "Location,"));
        return;
    }
    QCOMPARE(result.code, 1);
    QVERIFY2(result.err.contains(message) && result.err.contains(out), qPrintable(result.err));
    QCOMPARE(Read(in), input);
    if (fault == Fault::SyncFails || fault == Fault::SizeLimit || fault == Fault::TheLog)
        QCOMPARE(Read(out), kOldOutput);
    QCOMPARE(SaveLeftovers(dir.path()), QStringList());
}

// clang-format off
void TestCliFiles::locks_data()
{
    QTest::addColumn<QStringList>("args"); // FILE: the data file
    QTest::addColumn<QString>("lock"); // what stands where the lock file goes
    QTest::addColumn<QString>("kind");
    const QString fifo = "not a regular file (a FIFO)";
    const struct { const char* name; QStringList args; } changes[] = {
        { "set", { "set", "FILE", "1", "rx=146.5" } },
        { "new", { "new", "FILE" } },
        { "import", { "import", "FILE", "CSV" } },
        { "options", { "options", "FILE", "voice=Off" } },
        { "product", { "product", "FILE", "--type", "1" } },
        { "power", { "power", "FILE", "150=1,2,3" } },
        { "params", { "params", "FILE", "sqlclose=5" } },
    };
    for (const auto& c : changes)
        QTest::addRow("%s, lock is a FIFO", c.name) << c.args << "fifo" << fifo;
    QTest::newRow("set, lock is a folder") << QStringList { "set", "FILE", "1", "rx=146.5" } << "folder"
                                           << "not a regular file (a folder)";
    QTest::newRow("set, lock is a dangling symlink") << QStringList { "set", "FILE", "1", "rx=146.5" } << "link"
                                                     << "not a regular file (a symbolic link)";
}
// clang-format on

// Every command that changes a data file takes its lock before reading it. A lock path that is no
// lock file fails at once (a FIFO would block reading it for ever), naming the lock and what it is.
void TestCliFiles::locks()
{
    QFETCH(QStringList, args);
    QFETCH(QString, lock);
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.dat");
    const QByteArray old = DataFile::Serialize(DataFile::NewImage(QString()));
    QVERIFY(Write(path, old));
    QVERIFY(Write(dir.filePath("in.csv"), "Location,Frequency\n1,146.520000\n"));
    const QString lockPath = dir.filePath(".radio.dat.lock");
    const QByteArray name = QFile::encodeName(lockPath);
    if (lock == "fifo")
        QVERIFY(::mkfifo(name.constData(), 0644) == 0);
    else if (lock == "folder")
        QVERIFY(QDir().mkdir(lockPath));
    else
        QVERIFY(QFile::link(dir.filePath("gone"), lockPath));
    args.replaceInStrings(QRegularExpression("^FILE$"), path);
    args.replaceInStrings(QRegularExpression("^CSV$"), dir.filePath("in.csv"));

    const CliRun::Run result = CliRun::run(args);
    QCOMPARE(result.code, 1);
    QVERIFY2(result.err.contains(lockPath) && result.err.contains(kind), qPrintable(result.err));
    QCOMPARE(Read(path), old);
}

// export -o - into a stdout that takes nothing (a full disk behind a redirection): said, and exit 1,
// never a success.
void TestCliFiles::exportToFullStdout()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("this system has no /dev/full");
    QTemporaryDir dir;
    const QString in = dir.filePath("radio.dat");
    QVERIFY(Write(in, DataFile::Serialize(DataFile::NewImage(QString()))));
    QProcess cli;
    cli.setStandardOutputFile(QStringLiteral("/dev/full"));
    cli.start(QStringLiteral(PROGRAM_BIN_DIR "/program-cli"), { "export", in, "-o", "-" });
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardError()), QStringLiteral("The channel list could not be written to standard output.\n"));
}

void TestCliFiles::importFrom_data()
{
    QTest::addColumn<QString>("kind"); // what the channel list given is
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said"); // on stderr; empty: the import was done
    QTest::newRow("a FIFO") << "fifo" << 1 << "not a regular file (a FIFO)";
    QTest::newRow("a folder") << "folder" << 1 << "not a regular file (a folder)";
    QTest::newRow("a name that is not UTF-8") << "bytes" << 0 << "";
}

// The channel list is read as every file the user gives: a FIFO fails at once instead of holding the
// data file's lock for ever, and a name that is not UTF-8 is found.
void TestCliFiles::importFrom()
{
    QFETCH(QString, kind);
    QFETCH(int, code);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.dat");
    QCOMPARE(CliRun::run({ "new", path }).code, 0); // a document of the configured radio, which takes 146.52
    const QByteArray old = Read(path);
    const QByteArray csv = QFile::encodeName(dir.path()) + (kind == "bytes" ? "/list\xff.csv" : "/list.csv");
    if (kind == "fifo")
        QVERIFY(::mkfifo(csv.constData(), 0644) == 0);
    else if (kind == "folder")
        QVERIFY(::mkdir(csv.constData(), 0755) == 0);
    else
        QVERIFY(Write(QFile::decodeName(QFile::encodeName(dir.path())) + "/x.csv", "Location,Frequency\n1,146.520000\n")
            && ::rename((QFile::encodeName(dir.path()) + "/x.csv").constData(), csv.constData()) == 0);
    // Through the shell, which hands program-cli the name's bytes as they are.
    QProcess cli;
    cli.start(QStringLiteral("/bin/sh"), { "-c", "exec \"$0\" import \"$1\" \"$(printf \"$2\")\"",
        QStringLiteral(PROGRAM_BIN_DIR "/program-cli"), path,
        dir.path() + (kind == "bytes" ? "/list\\377.csv" : "/list.csv") });
    QVERIFY(cli.waitForStarted());
    const auto stop = qScopeGuard([&cli] { cli.kill(); cli.waitForFinished(); });
    QVERIFY2(cli.waitForFinished(30000), "program-cli still waits on the channel list");
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QVERIFY2(cli.exitCode() == code, qPrintable(err));
    if (said.isEmpty()) {
        QCOMPARE(err, QString());
        QVERIFY(Read(path) != old);
    } else {
        QVERIFY2(err.contains(said), qPrintable(err));
        QCOMPARE(Read(path), old);
    }
}

QTEST_MAIN(TestCliFiles)
#include "tst_cli_files.moc"
