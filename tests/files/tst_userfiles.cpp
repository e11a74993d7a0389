#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "config/UserFilesMove.h"
#include "config/UserSettings.h"
#include "image/BackupStore.h"
#include "link/SerialTrace.h"
#include "tests/common/TestFiles.h"
#include "tests/common/Unprivileged.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace TestFiles;

namespace {

const QByteArray kInstalled = "[Setup]\nAppName=Radio Tool\nLanguage=English\nType1=QR-260\n"
                              "Field1=130 - 160MHz|136 - 174MHz\n";
// What a dealer's update of the installed file brings: a band and a second type.
const QByteArray kUpdated
    = "[Setup]\nAppName=Radio Tool\nLanguage=English\nType1=QR-260\n"
      "Field1=130 - 160MHz|136 - 174MHz|400 - 470MHz\nType2=QR-460\nField2=400 - 470MHz\n";

// Points the environment variable at folder until the guard goes.
auto pointAt(const char* name, const QString& folder)
{
    const QByteArray old = qgetenv(name);
    qputenv(name, QFile::encodeName(folder));
    return qScopeGuard([name, old] { qputenv(name, old); });
}

// Every file below root as "relative/path=contents", sorted.
QStringList tree(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files << QDir(root).relativeFilePath(path) + "=" + QString::fromUtf8(Read(path));
    }
    files.sort();
    return files;
}

void plant(const QString& root, const QStringList& files)
{
    for (const QString& entry : files) {
        const QString path = root + "/" + entry.section('=', 0, 0);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(Write(path, entry.section('=', 1).toUtf8()));
    }
}

void chmodTree(const QString& root, int folderMode)
{
    ::chmod(QFile::encodeName(root).constData(), folderMode);
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        ::chmod(QFile::encodeName(it.next()).constData(), folderMode);
}

} // namespace

class TestUserFiles : public QObject {
    Q_OBJECT

private slots:
    void userCopy_data();
    void userCopy();
    void moveOnce_data();
    void moveOnce();
    void relativeXdgIgnored();
};

// The user's Program.ini holds what the user changed and nothing else, so what a later installed
// file brings reaches them; an install the user may write keeps its changes in itself.
void TestUserFiles::userCopy_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QByteArray>("copy"); // the user's copy before; null: none
    QTest::addColumn<QString>("language"); // switched to; empty: nothing changed
    QTest::addColumn<QByteArray>("installedAfter");
    QTest::addColumn<QByteArray>("copyAfter");
    QTest::addColumn<QString>("languageLater"); // read once the installed file was updated
    QTest::addColumn<QString>("portLater");

    const QByteArray chinese = QByteArray(kInstalled).replace("English", "Chinese");
    const QByteArray language = "[Setup]\nLanguage=Chinese\n";
    // clang-format off
    QTest::newRow("a writable install keeps the change in itself")
        << true << QByteArray() << "Chinese" << chinese << QByteArray("<missing>") << "English" << "";
    QTest::newRow("a read-only install: only the language goes to the user's copy")
        << false << QByteArray() << "Chinese" << kInstalled << language << "Chinese" << "";
    QTest::newRow("a whole copy an earlier version made is cut down at the next start")
        << false << chinese << "" << kInstalled << language << "Chinese" << "";
    QTest::newRow("a copy with the user's own port takes the change over a writable install")
        << true << QByteArray("[Setup]\r\nLanguage=Chinese\r\n[Ports]\r\nCOM3=/dev/ttyACM0\r\n") << "English"
        << kInstalled << QByteArray("[Setup]\nLanguage=English\n[Ports]\nCOM3=/dev/ttyACM0\n") << "English" << "/dev/ttyACM0";
    // clang-format on
}

void TestUserFiles::userCopy()
{
    QFETCH(bool, writable);
    QFETCH(QByteArray, copy);
    QFETCH(QString, language);
    QFETCH(QByteArray, installedAfter);
    QFETCH(QByteArray, copyAfter);
    QFETCH(QString, languageLater);
    QFETCH(QString, portLater);

    QTemporaryDir install, home;
    const QString installed = install.filePath("Program.ini");
    const QString userCopy = home.filePath("fieldcom-programmer/Program.ini");
    QVERIFY(Write(installed, kInstalled));
    if (!copy.isNull()) {
        QVERIFY(QDir().mkpath(home.filePath("fieldcom-programmer")));
        QVERIFY(Write(userCopy, copy));
        QVERIFY(::chmod(QFile::encodeName(userCopy).constData(), 0666) == 0); // the user's own file
    }
    QVERIFY(::chmod(QFile::encodeName(installed).constData(), writable ? 0666 : 0444) == 0);
    chmodTree(install.path(), writable ? 0777 : 0555);
    chmodTree(home.path(), 0777);
    const auto configHome = pointAt("XDG_CONFIG_HOME", home.path());
    CAppPaths::SetExecutableDir(install.path());
    const auto restore = qScopeGuard([&] {
        CAppPaths::SetExecutableDir(QString());
        ::chmod(QFile::encodeName(install.path()).constData(), 0755);
    });

    // The window's start and its language switch, as a user who is not root.
    const int failed = RunUnprivileged([&] {
        CIniFile ini;
        ini.OpenBesideExe("Program.ini", false, true, false);
        if (language.isEmpty())
            return 0;
        ini.SetValue("Setup", "Language", language);
        ini.Save(false);
        return ini.SaveError().isEmpty() && ini.GetValue("Setup", "Language") == language ? 0 : 1;
    });
    if (failed == 99)
        QSKIP("cannot become another user here");
    QCOMPARE(failed, 0);
    QCOMPARE(Read(installed), installedAfter);
    QCOMPARE(Read(userCopy), copyAfter);

    ::chmod(QFile::encodeName(install.path()).constData(), 0755);
    QFile::remove(installed);
    QVERIFY(Write(installed, kUpdated));
    CIniFile later;
    QCOMPARE(later.OpenBesideExe("Program.ini", false, true, false), 1);
    QCOMPARE(later.GetValue("Setup", "Language"), languageLater);
    QCOMPARE(later.GetValue("Setup", "Type2"), QString("QR-460"));
    QCOMPARE(later.GetValue("Setup", "Field1"), QString("130 - 160MHz|136 - 174MHz|400 - 470MHz"));
    QCOMPARE(later.GetValue("Ports", "COM3"), portLater);
}

// What earlier versions kept (the settings file in the configuration folder itself, backups and
// traces under the window's executable name) moves into the one folder of each kind, never over a
// file already there; a second start finds nothing more to move.
void TestUserFiles::moveOnce_data()
{
    QTest::addColumn<QStringList>("configBefore");
    QTest::addColumn<QStringList>("dataBefore");
    QTest::addColumn<QStringList>("configAfter");
    QTest::addColumn<QStringList>("dataAfter");
    QTest::addColumn<int>("port"); // as the settings now say

    // clang-format off
    using L = QStringList;
    const QString mine = "fieldcom-programmer/"; // the one folder of each kind
    QTest::newRow("an earlier version's settings, backups and traces")
        << L { "Radio Tool.ini=[General]\ncom=3\n" } << L { "Program/Backups/read-20261201-101500.dat=A", "Program/traces/trace-1.txt=T" }
        << L { mine + "Radio Tool.ini=[General]\ncom=3\n" }
        << L { mine + "Backups/read-20261201-101500.dat=A", mine + "traces/trace-1.txt=T" } << 3;
    const L settings { "Radio Tool.ini=[General]\ncom=4\n", mine + "Radio Tool.ini=[General]\ncom=5\n" };
    QTest::newRow("what the new place holds is never overwritten")
        << settings << L { "Program/Backups/read-1.dat=old", "Program/Backups/read-2.dat=two", mine + "Backups/read-1.dat=new" }
        << settings << L { "Program/Backups/read-1.dat=old", mine + "Backups/read-1.dat=new", mine + "Backups/read-2.dat=two" } << 5;
    QTest::newRow("other files of the old folder stay") << L {} << L { "Program/notes.txt=n", "Program/Backups/x.dat=x" } << L {}
                                                        << L { "Program/notes.txt=n", mine + "Backups/x.dat=x" } << 1;
    // clang-format on
}

void TestUserFiles::moveOnce()
{
    QFETCH(QStringList, configBefore);
    QFETCH(QStringList, dataBefore);
    QFETCH(QStringList, configAfter);
    QFETCH(QStringList, dataAfter);
    QFETCH(int, port);

    QTemporaryDir config, data;
    plant(config.path(), configBefore);
    plant(data.path(), dataBefore);
    const auto configHome = pointAt("XDG_CONFIG_HOME", config.path());
    const auto dataHome = pointAt("XDG_DATA_HOME", data.path());
    // Backups, traces and whatever else is kept per user all live in that one folder.
    QCOMPARE(CBackupStore::Folder(), data.path() + "/fieldcom-programmer/Backups");
    QCOMPARE(CSerialTrace::DefaultFolder(), data.path() + "/fieldcom-programmer/traces");

    for (int start = 1; start <= 2; ++start) {
        CUserFilesMove::MoveData();
        QCOMPARE(CUserSettings("Radio Tool").PortNumber(), port);
        QCOMPARE(tree(config.path()), configAfter);
        QCOMPARE(tree(data.path()), dataAfter);
    }
    QCOMPARE(QFileInfo::exists(data.filePath("Program")), dataAfter.join(' ').contains("Program/"));
}

// A relative XDG folder is ignored as if unset, so the program's files never land under whatever folder
// it was started in: program-cli's start moves an earlier version's backups in the home folder only.
void TestUserFiles::relativeXdgIgnored()
{
    QTemporaryDir work;
    plant(work.path(), { "home/.local/share/Program/Backups/read-20261201-101500.dat=A",
                           "data/Program/Backups/read-20261202-101500.dat=B" });
    QProcess cli;
    cli.setWorkingDirectory(work.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", work.filePath("home"));
    environment.insert("XDG_DATA_HOME", "data");
    environment.insert("XDG_CONFIG_HOME", "config");
    cli.setProcessEnvironment(environment);
    cli.start(PROGRAM_BIN_DIR "/program-cli", { "--help" });
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(tree(work.path()), QStringList({ "data/Program/Backups/read-20261202-101500.dat=B",
                                    "home/.local/share/fieldcom-programmer/Backups/read-20261201-101500.dat=A" }));
    QVERIFY(!QFileInfo::exists(work.filePath("config")));

    // The folders asked for in-process, too; of a list only the absolute folders count.
    const auto home = pointAt("HOME", work.filePath("home"));
    const auto dataHome = pointAt("XDG_DATA_HOME", "data");
    const auto configHome = pointAt("XDG_CONFIG_HOME", "config");
    QCOMPARE(CAppPaths::UserDataDir(), work.filePath("home/.local/share/fieldcom-programmer"));
    QCOMPARE(CAppPaths::UserConfigDir(), work.filePath("home/.config/fieldcom-programmer"));
    const auto dirs = pointAt("XDG_CONFIG_DIRS", "etc/xdg:/etc/xdg:relative");
    const auto dataDirs = pointAt("XDG_DATA_DIRS", "share");
    CAppPaths::IgnoreRelativeXdg();
    QCOMPARE(qgetenv("XDG_CONFIG_DIRS"), QByteArray("/etc/xdg"));
    QVERIFY(!qEnvironmentVariableIsSet("XDG_DATA_DIRS"));
}

QTEST_GUILESS_MAIN(TestUserFiles)
#include "tst_userfiles.moc"
