#include "cli/CliContext.h"
#include "config/FileName.h"
#include "config/IniFile.h"
#include "config/FileSizeLimit.h"
#include "config/Language.h"
#include "config/SafeFile.h"
#include "image/DataFile.h"
#include "tests/common/TestFiles.h"
#include "tests/common/Unprivileged.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

#include <cerrno>
#include <dlfcn.h>
#include <functional>
#include <sys/resource.h>
#include <utility>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TestFiles;

namespace {

enum class Target {
    Regular, Missing, LinkToRegular, RelativeLink, DanglingLink, OwnLinkInSticky, ForeignLinkInSticky, HardLinked,
    Device, LinkToDevice, Fifo, LinkToFifo, Socket, Folder,
    ReadOnlyFile, ReadOnlyFolder, ReadOnlyFolderAndFile, FullDisk, FullDiskInPlace, SyncFails, SizeLimit,
};

const QByteArray kOld = DataFileBytes(QByteArray(ImageMap::kImageSize, 'o'));

// The error the next fsync of this process returns instead of syncing: a disk that fails to keep the
// bytes, at the very call the writer makes.
int g_FsyncFault = 0;

// Runs save in a child process allowed files of at most 600 bytes (prlimit --fsize=600), with the size
// signal ignored as the programs ignore it: its exit status (98: killed).
int RunLimited(const std::function<int()>& save)
{
    const pid_t child = ::fork();
    if (child == 0) {
        FileSizeLimit::IgnoreSignal();
        const struct rlimit limit { 600, 600 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(save());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

} // namespace

extern "C" int fsync(int fd)
{
    if (const int fault = std::exchange(g_FsyncFault, 0)) {
        errno = fault;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

class TestSaving : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void saves_data();
    void saves();
    void iniEncodings_data();
    void iniEncodings();
    void leftoversOfKilledSaves();
    void killedSavesLoseNothing();
    void cliNamesAreBytes();
    void cliConcurrentSets();

private:
    QString m_strMount;
};

void TestSaving::initTestCase()
{
    CLanguage::SetName("English");
}

void TestSaving::cleanup()
{
    SafeFile::FailNextWrite(SafeFile::Step::None, 0);
    g_FsyncFault = 0;
    if (!m_strMount.isEmpty())
        ::umount2(QFile::encodeName(m_strMount).constData(), MNT_DETACH);
    m_strMount.clear();
}

// clang-format off
void TestSaving::saves_data()
{
    QTest::addColumn<bool>("ini");
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("reason"); // empty: the save must succeed
    const struct { const char* name; Target target; const char* reason; } cases[] = {
        { "regular file", Target::Regular, "" },
        { "missing file", Target::Missing, "" },
        { "symlink to a regular file", Target::LinkToRegular, "" },
        { "relative symlink, from another folder", Target::RelativeLink, "" },
        { "dangling symlink", Target::DanglingLink, "" },
        { "own symlink in a sticky shared folder", Target::OwnLinkInSticky, "" },
        { "another user's symlink in a sticky shared folder", Target::ForeignLinkInSticky, "it is not followed" },
        { "hard-linked file", Target::HardLinked, "" },
        { "device", Target::Device, "not a regular file (a device)" },
        { "symlink to a device", Target::LinkToDevice, "not a regular file (a device)" },
        { "FIFO", Target::Fifo, "not a regular file (a FIFO)" },
        { "symlink to a FIFO", Target::LinkToFifo, "not a regular file (a FIFO)" },
        { "socket", Target::Socket, "not a regular file (a socket)" },
        { "folder", Target::Folder, "not a regular file (a folder)" },
        { "read-only file", Target::ReadOnlyFile, "Permission denied" },
        { "read-only folder, writable file", Target::ReadOnlyFolder, "" },
        { "read-only folder and file", Target::ReadOnlyFolderAndFile, "Permission denied" },
        { "full disk", Target::FullDisk, "No space left on device" },
        { "full disk, read-only folder", Target::FullDiskInPlace, "No space left on device" },
        { "fsync fails", Target::SyncFails, "Input/output error" },
        { "over the file-size limit", Target::SizeLimit, "File too large" },
    };
    for (bool ini : { false, true })
        for (const auto& c : cases) {
            // In place, a data file of the same length needs no new room; the longer INI text does.
            const bool fits = !ini && c.target == Target::FullDiskInPlace;
            QTest::addRow("%s, %s", ini ? "Program.ini" : "data file", c.name)
                << ini << c.target << QString(fits ? "" : c.reason);
        }
}
// clang-format on

void TestSaving::saves()
{
    QFETCH(bool, ini);
    QFETCH(Target, target);
    QFETCH(QString, reason);
    const bool fullDisk = target == Target::FullDisk || target == Target::FullDiskInPlace;
    const bool readOnlyFolder = target == Target::ReadOnlyFolder || target == Target::ReadOnlyFolderAndFile
        || target == Target::FullDiskInPlace;
    const bool asOtherUser = (readOnlyFolder || target == Target::ReadOnlyFile) && IsRoot(); // root writes anything
    if ((fullDisk || target == Target::Device || target == Target::LinkToDevice) && !IsRoot())
        QSKIP("needs root (a tmpfs mount or a device node)");
    if (target == Target::ForeignLinkInSticky && !IsRoot())
        QSKIP("needs root to put another user's symlink in a shared folder");
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755); // reachable for the other user
    QString folder = dir.path();
    if (fullDisk) {
        folder = dir.filePath("disk");
        QVERIFY(QDir().mkdir(folder));
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("no tmpfs can be mounted here");
        m_strMount = folder;
    }
    const auto unmount = qScopeGuard([this] { cleanup(); }); // before the folder goes
    const QString path = folder + "/save.me";
    const QString real = folder + "/real.file";
    const QString otherName = folder + "/other.name";
    const QByteArray old = ini ? QByteArray("[A]\nk=old\n") : kOld;

    // The INI store is opened while its file is a regular one; then the file takes its shape.
    QVERIFY(Write(path, old));
    CIniFile store;
    if (ini) {
        QCOMPARE(store.Open(path, false, true, false), 1);
        store.SetValue("A", "k", QString(6000, 'n')); // more than the page the old text has
    }
    const QByteArray written = ini ? store.Serialize() : DataFile::Serialize(CRadioImage());
    const QByteArray name = QFile::encodeName(path);
    const bool keep = target == Target::Regular || target == Target::HardLinked || target >= Target::ReadOnlyFile;
    // The saved file keeps the rights and the group the user gave it.
    const gid_t group = IsRoot() ? 65534 : ::getegid();
    QVERIFY(target != Target::Regular || (::chmod(name.constData(), 0640) == 0 && ::chown(name.constData(), uid_t(-1), group) == 0));
    if (!keep)
        QVERIFY(QFile::remove(path));
    const bool sticky = target == Target::OwnLinkInSticky || target == Target::ForeignLinkInSticky;
    if (sticky) // a shared folder like /tmp, the file a link in it leads to the user's own
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0 && Write(real, old));
    switch (target) {
    case Target::LinkToRegular:
    case Target::OwnLinkInSticky: QVERIFY(Write(real, old) && QFile::link(real, path)); break;
    case Target::RelativeLink: // taken from the link's folder, wherever the program runs
        QVERIFY(Write(real, old) && ::symlink("real.file", name.constData()) == 0);
        QVERIFY(QDir::currentPath() != folder);
        break;
    case Target::ForeignLinkInSticky: {
        const QByteArray to = QFile::encodeName(real);
        const int made = RunUnprivileged([&] { return ::symlink(to.constData(), name.constData()) == 0 ? 0 : 1; });
        if (made == 99)
            QSKIP("cannot become another user here");
        QCOMPARE(made, 0);
        break;
    }
    case Target::HardLinked: QVERIFY(::link(name.constData(), QFile::encodeName(otherName).constData()) == 0); break;
    case Target::DanglingLink: QVERIFY(QFile::link(real, path)); break;
    case Target::Device:
        if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("no device node can be made here");
        break;
    case Target::LinkToDevice: // a node of our own: a faulty save must never get to replace /dev/null
        if (::mknod(QFile::encodeName(real).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("no device node can be made here");
        QVERIFY(QFile::link(real, path));
        break;
    case Target::Fifo: QVERIFY(::mkfifo(name.constData(), 0644) == 0); break;
    case Target::LinkToFifo:
        QVERIFY(::mkfifo(QFile::encodeName(real).constData(), 0644) == 0 && QFile::link(real, path));
        break;
    case Target::Socket: QVERIFY(::mknod(name.constData(), S_IFSOCK | 0644, 0) == 0); break;
    case Target::Folder: QVERIFY(QDir().mkdir(path)); break;
    default: break;
    }
    if (fullDisk)
        FillDisk(folder);
    if (asOtherUser) // the save then runs as another user, who owns the file
        QVERIFY(::chown(name.constData(), 65534, 65534) == 0);
    if (asOtherUser && target == Target::ReadOnlyFile) // ... and the folder: only the file's rights stop it
        QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
    if (readOnlyFolder || target == Target::ReadOnlyFile) {
        const bool writable = target == Target::ReadOnlyFolder || target == Target::FullDiskInPlace;
        QVERIFY(::chmod(name.constData(), writable ? 0666 : 0444) == 0);
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), readOnlyFolder ? 0555 : 0755) == 0);
    }
    const QFileInfo before(path);
    const QString targetPath = before.isSymLink() ? real : path;

    QString notice;
    SafeFile::SetNotice([&notice](const QString& text) { notice += text; });
    const auto noticeOff = qScopeGuard([] { SafeFile::SetNotice({}); });
    const auto save = [&]() -> QStringList {
        if (ini) {
            store.Save(false);
            return { store.SaveError() };
        }
        return { DataFile::Describe(DataFile::Save(path, CRadioImage()), path, false) };
    };
    if (target == Target::SyncFails)
        g_FsyncFault = EIO;
    // Under the size limit the save runs in a child whose message stays there: only its outcome returns.
    const bool messageSeen = target != Target::SizeLimit;
    const std::optional<QStringList> seen = asOtherUser ? SeenUnprivileged(save)
        : messageSeen                                   ? save()
        : QStringList { RunLimited([&] { return save().join(QString()).isEmpty() ? 0 : 1; }) == 0 ? "" : "failed" };
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    if (!seen)
        QSKIP("root cannot become another user here, and root may write a read-only file");

    const QString message = seen->join('\n');
    QCOMPARE(message.isEmpty(), reason.isEmpty());
    if (messageSeen) {
        QVERIFY2(message.contains(reason), qPrintable(message));
        if (!ini && !reason.isEmpty())
            QVERIFY2(message.contains(path), qPrintable(message)); // the file is named
    }
    if (reason.isEmpty()) {
        QCOMPARE(Read(targetPath), written);
        QCOMPARE(QFileInfo(path).isSymLink(), before.isSymLink());
        struct stat now {};
        QVERIFY(::stat(name.constData(), &now) == 0);
        if (target == Target::Regular)
            QVERIFY(now.st_mode % 01000 == 0640 && now.st_gid == group);
    } else if (before.isFile()) {
        QCOMPARE(Read(targetPath), old);
    } else {
        QCOMPARE(QFileInfo(targetPath).isFile(), false); // still what it was
    }
    // The other name of a hard-linked file keeps the old bytes, and the user is told.
    QCOMPARE(Read(otherName), target == Target::HardLinked ? old : QByteArray("<missing>"));
    QCOMPARE(notice.contains(path + " was saved as a file of its own: its 1 other name(s) (hard links)"),
        target == Target::HardLinked);
    QCOMPARE(SaveLeftovers(folder), QStringList());
}

// clang-format off
void TestSaving::iniEncodings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("company");
    const QByteArray gbk = "\xD6\xD0\xCE\xC4\xB9\xAB\xCB\xBE"; // 中文公司 in GBK
    QTest::newRow("GBK, CR LF") << "[Chinese]\r\nCompany=" + gbk + "\r\n[Setup]\r\nLanguage=Chinese\r\n" << "中文公司";
    QTest::newRow("GBK, LF") << "[Chinese]\nCompany=" + gbk + "\n[Setup]\nLanguage=Chinese\n" << "中文公司";
    QTest::newRow("UTF-8 with mark, CR LF")
        << QByteArray("\xEF\xBB\xBF[Chinese]\r\nCompany=中文公司\r\n[Setup]\r\nLanguage=Chinese\r\n") << "中文公司";
    QTest::newRow("UTF-8, LF") << QByteArray("[Chinese]\nCompany=中文公司\n[Setup]\nLanguage=Chinese\n") << "中文公司";
    QTest::newRow("GB18030 four-byte character") << QByteArray("[Chinese]\nCompany=\x81\x30\x81\x30\n[Setup]\nLanguage=Chinese\n")
                                                  << QString(QChar(0x80));
}
// clang-format on

// A language switch rewrites Program.ini: every other byte must come back as it was.
void TestSaving::iniEncodings()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, company);
    QTemporaryDir dir;
    const QString path = dir.filePath("Program.ini");
    QVERIFY(Write(path, file));
    CIniFile ini;
    QCOMPARE(ini.Open(path, true, true, false), 1);
    QCOMPARE(ini.GetValue("Chinese", "Company"), company);
    ini.SetValue("Setup", "Language", "English");
    ini.Save(false);
    QCOMPARE(ini.SaveError(), QString());
    QCOMPARE(Read(path), QByteArray(file).replace("Language=Chinese", "Language=English"));
}

void TestSaving::leftoversOfKilledSaves()
{
    QTemporaryDir dir;
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const QByteArray gone = QByteArray::number(dead), alive = QByteArray::number(::getppid());
    const QStringList kept = { ".other.dat.saving-" + gone + "-abcdef", ".radio.dat.saving-" + alive + "-abcdef" };
    for (const QString& name : kept + QStringList { ".radio.dat.saving-" + gone + "-abcdef" })
        QVERIFY(Write(dir.filePath(name), "partial"));
    QVERIFY(DataFile::Save(dir.filePath("radio.dat"), CRadioImage()).ok());
    // Only the leftover of an ended save of this very file goes; a save still running keeps its file.
    QCOMPARE(SaveLeftovers(dir.path()), kept); // in name order
}

// set killed with SIGKILL at any moment: the file is always the old or the new one, whole.
void TestSaving::killedSavesLoseNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.dat");
    const QString cli = PROGRAM_BIN_DIR "/program-cli";
    QCOMPARE(QProcess::execute(cli, { "new", path }), 0);
    for (int round = 0; round < 12; ++round) {
        QProcess set;
        set.start(cli, { "set", path, "1", round % 2 ? "rx=146.52" : "rx=146.55" });
        QVERIFY(set.waitForStarted());
        QThread::msleep(5 * round); // from before the load to after the rename
        ::kill(pid_t(set.processId()), SIGKILL);
        set.waitForFinished();
        CRadioImage image;
        const DataFile::Result loaded = DataFile::Load(path, image);
        QVERIFY2(loaded.ok(), qPrintable(DataFile::Describe(loaded, path, false)));
    }
    QCOMPARE(QProcess::execute(cli, { "set", path, "2", "rx=146.5" }), 0);
    QCOMPARE(SaveLeftovers(dir.path()), QStringList());
}

// The real program, through a shell, so the name reaches it as raw bytes.
void TestSaving::cliNamesAreBytes()
{
    QTemporaryDir dir;
    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    shell.start("sh", { "-c", "n=$(printf 'x\\377.dat'); \"$0\" new \"$n\" && \"$0\" set \"$n\" 3 rx=146.5 && \"$0\" show \"$n\"",
                        PROGRAM_BIN_DIR "/program-cli" });
    QVERIFY(shell.waitForFinished(30000));
    const QByteArray out = shell.readAllStandardOutput();
    QVERIFY2(shell.exitCode() == 0, shell.readAllStandardError().constData());
    QVERIFY(out.contains("3\t146.50000"));
    QVERIFY(::access((QFile::encodeName(dir.path()) + "/x\xff.dat").constData(), F_OK) == 0);
    // Every byte string comes back as it was; valid UTF-8 reads as Qt reads it.
    for (const QByteArray& bytes : { QByteArray("plain ä 中"), QByteArray("lone \xff\xfe"), QByteArray("cut \xe4\xb8"),
             QByteArray("overlong \xc0\xaf"), QByteArray("surrogate \xed\xa0\x80"), QByteArray("big \xf4\x90\x80\x80"),
             QByteArray("radio \xf0\x9f\x93\xbb"), QByteArray("\xff\xf0\x9f\x93\xbb") }) {
        QCOMPARE(FileName::ToBytes(FileName::FromBytes(bytes)), bytes);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8(bytes);
        if (!utf8.hasError())
            QCOMPARE(FileName::FromBytes(bytes), decoded);
    }
    QCOMPARE(FileName::Display(FileName::FromBytes("x\xff.dat")), QString("x\\xff.dat"));
    // An emoji's second half lies where escaped bytes do; it is shown and saved as the character.
    QCOMPARE(FileName::Display(FileName::FromBytes("\xf0\x9f\x93\xbb.dat")), QString::fromUtf8("\xf0\x9f\x93\xbb.dat"));
    ::unlink((QFile::encodeName(dir.path()) + "/x\xff.dat").constData());
}

// A set and another set or an import on one file at once: both changes arrive, every time.
void TestSaving::cliConcurrentSets()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.dat");
    const QString cli = PROGRAM_BIN_DIR "/program-cli";
    QCOMPARE(QProcess::execute(cli, { "new", path }), 0);
    const char* values[] = { "146.52000", "146.55000" };
    for (int round = 0; round < 20; ++round) {
        const QString csv = dir.filePath(QString("round%1.csv").arg(round));
        QVERIFY(Write(csv, QByteArray("Location,Frequency\n2,") + values[(round + 1) % 2] + "\n"));
        QProcess first, second;
        first.start(cli, { "set", path, "1", QString("rx=") + values[round % 2] });
        if (round % 2)
            second.start(cli, { "import", path, csv });
        else
            second.start(cli, { "set", path, "2", QString("rx=") + values[(round + 1) % 2] });
        QVERIFY(first.waitForFinished(30000) && second.waitForFinished(30000));
        QCOMPARE(first.exitCode() + second.exitCode(), 0);
        QProcess show;
        show.start(cli, { "show", path });
        QVERIFY(show.waitForFinished(30000));
        const QByteArray out = show.readAllStandardOutput();
        QVERIFY2(out.contains(QByteArray("1\t") + values[round % 2])
                && out.contains(QByteArray("2\t") + values[(round + 1) % 2]),
            out.constData());
    }
}

QTEST_GUILESS_MAIN(TestSaving)
#include "tst_files.moc"
