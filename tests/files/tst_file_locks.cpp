#include "config/FileLock.h"
#include "config/Language.h"
#include "tests/common/TestFiles.h"
#include "tests/common/Unprivileged.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TestFiles;

namespace {

const QByteArray kLockedFileBytes = DataFileBytes(QByteArray(1024, 'o'));

} // namespace

// The lock every writer of a data file takes, whatever name it reaches the file by.
class TestFileLocks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { CLanguage::SetName("English"); }
    void locks_data();
    void locks();
    void abandonedLocks();
};

// clang-format off
void TestFileLocks::locks_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("first"); // the names two writers lock, in the folder prepared
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("refused"); // what the first writer is told; empty: it holds the lock
    QTest::newRow("one file by two spellings") << "" << "radio.dat" << "./radio.dat" << "";
    QTest::newRow("a relative symlink and its target") << "symlink" << "sub/alias.dat" << "radio.dat" << "";
    QTest::newRow("two hard links in two folders") << "hardlink" << "sub/other.dat" << "radio.dat" << "";
    QTest::newRow("a lock file another writer has just made, still empty") << "fresh" << "radio.dat" << "radio.dat" << "";
    QTest::newRow("a read-only folder, as its user") << "read-only" << "radio.dat" << "radio.dat" << "";
    QTest::newRow("another user's symlink in a sticky shared folder")
        << "foreign" << "sub/alias.dat" << "" << "Cannot save " + QString("sub/alias.dat") + ": a symbolic link that another user";
    QTest::newRow("another user's folder symlink in a sticky shared folder")
        << "foreign folder" << "sub/up/radio.dat" << "" << "Cannot save " + QString("sub/up/radio.dat") + ": a symbolic link that another user";
}
// clang-format on

// Two writers of one file never both hold its lock, whatever names they reach it by: the second waits
// and is then told who holds it.
void TestFileLocks::locks()
{
    QFETCH(QString, setup);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, refused);
    if (setup.startsWith("foreign") && !IsRoot())
        QSKIP("needs root to put another user's symlink in a shared folder");
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    QVERIFY(Write(dir.filePath("radio.dat"), kLockedFileBytes) && QDir().mkdir(dir.filePath("sub")));
    const QByteArray sub = QFile::encodeName(dir.filePath("sub"));
    const QByteArray alias = QFile::encodeName(dir.filePath("sub/alias.dat"));
    if (setup == "symlink")
        QVERIFY(::symlink("../radio.dat", alias.constData()) == 0);
    if (setup == "hardlink")
        QVERIFY(::link(QFile::encodeName(dir.filePath("radio.dat")).constData(), QFile::encodeName(dir.filePath("sub/other.dat")).constData()) == 0);
    if (setup == "fresh") // made by the other writer a moment ago; its name and process follow at once
        QVERIFY(Write(dir.filePath(".radio.dat.lock"), ""));
    if (setup.startsWith("foreign")) {
        QVERIFY(::chmod(sub.constData(), 01777) == 0);
        const QByteArray up = QFile::encodeName(dir.filePath("sub/up"));
        QCOMPARE(RunUnprivileged([&] {
            return (setup == "foreign" ? ::symlink("../radio.dat", alias.constData()) : ::symlink("..", up.constData())) == 0 ? 0 : 1;
        }), 0);
    }
    if (setup == "read-only") { // no lock file can be made: the file itself is locked
        QVERIFY(!IsRoot() || ::chown(QFile::encodeName(dir.filePath("radio.dat")).constData(), 65534, 65534) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
    }
    const auto restore = qScopeGuard([&] { ::chmod(QFile::encodeName(dir.path()).constData(), 0755); });
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path()); // the names as a user types them
    const auto back = qScopeGuard([&] { QDir::setCurrent(cwd); });

    QString firstError, secondError;
    const auto writers = [&]() -> int {
        CFileLock one(first);
        if (setup == "fresh") {
            // the other writer's lock, not yet filled in
        } else if (!one.Lock(0)) {
            firstError = one.Error();
            return firstError.contains(refused) && !refused.isEmpty() ? 0 : 1;
        }
        if (!refused.isEmpty())
            return 2;
        CFileLock two(second);
        if (two.Lock(100))
            return 3; // both writers would go ahead
        secondError = two.Error();
        if (setup == "read-only" && QFileInfo::exists(".radio.dat.lock"))
            return 5; // the folder takes no lock file: the data file itself is locked
        return secondError.contains("is being saved by another program") ? 0 : 4;
    };
    const int outcome = setup == "read-only" ? RunUnprivileged(writers) : writers();
    QVERIFY2(outcome == 0, qPrintable(QString("outcome %1: %2 / %3").arg(outcome).arg(firstError, secondError)));
    QCOMPARE(Read(dir.filePath("radio.dat")), kLockedFileBytes);
}

void TestFileLocks::abandonedLocks()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.dat");
    // A holder that died without letting go (SIGKILL) leaves its lock file; the next writer takes over.
    const pid_t holder = ::fork();
    if (holder == 0) {
        auto* lock = new CFileLock(path);
        ::_exit(lock->Lock(0) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(holder, &status, 0);
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFile::exists(dir.filePath(".radio.dat.lock")));
    // ... even past the empty guard of a writer killed while taking over (QLockFile waits 30 s on it).
    QFile guard(dir.filePath(".radio.dat.lock.rmlock"));
    QVERIFY(guard.open(QIODevice::WriteOnly));
    QVERIFY(guard.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
    {
        CFileLock next(path);
        QVERIFY2(next.Lock(1000), qPrintable(next.Error()));
    }
    guard.close();
    QFile::remove(guard.fileName());
    QVERIFY(!QFile::exists(dir.filePath(".radio.dat.lock")));

}

QTEST_GUILESS_MAIN(TestFileLocks)
#include "tst_file_locks.moc"
