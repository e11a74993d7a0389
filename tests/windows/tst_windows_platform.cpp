#include "config/FileLock.h"
#include "config/Language.h"
#include "config/SafeFile.h"
#include "config/StopRequest.h"
#include "config/UserSettings.h"
#include "link/LogFile.h"
#include "link/SerialPort.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <windows.h>

// What Windows does differently under the program's files, locks, console and serial port.
class TestWindowsPlatform : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { CLanguage::SetName("English"); }
    void saves_data();
    void saves();
    void createNeverReplaces();
    void logAppend();
    void fileLock();
    void portFailures_data();
    void portFailures();
    void consoleStop();
    void registrySettings();

private:
    static QByteArray Content(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Every name in dir but the data file: a save leaves no temporary file behind.
    static QStringList Others(const QDir &dir)
    {
        QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.removeAll(QStringLiteral("radio.dat"));
        names.removeAll(QStringLiteral("alias.dat"));
        return names;
    }
};

// clang-format off
void TestWindowsPlatform::saves_data()
{
    QTest::addColumn<QString>("fault");     // what stands in the save's way
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("notice");    // what the user hears, after the file's full name, when a save broke a hard link
    QTest::newRow("nothing: the new bytes are in") << "" << true << "";
    QTest::newRow("the disk fills while writing") << "write" << false << "";
    QTest::newRow("the flush to the disk fails") << "flush" << false << "";
    QTest::newRow("the replace fails") << "replace" << false << "";
    QTest::newRow("another program holds it open, no delete share") << "held" << false << "";
    QTest::newRow("the user made it read-only") << "read-only" << false << "";
    QTest::newRow("a second name (hard link)") << "hard link" << true
        << " was saved as a file of its own: its 1 other name(s) (hard links) still hold the earlier content";
}
// clang-format on

// A save is all or nothing: the old bytes stay whenever any step fails, and the user is told why.
void TestWindowsPlatform::saves()
{
    QFETCH(QString, fault);
    QFETCH(bool, saved);
    QFETCH(QString, notice);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("radio.dat"));
    QVERIFY(SafeFile::Write(path, "old bytes").isEmpty());
    QString heard;
    SafeFile::SetNotice([&heard](const QString &text) { heard = text; });
    HANDLE held = INVALID_HANDLE_VALUE;
    if (fault == "write")
        SafeFile::FailNextWrite(SafeFile::Step::Write, ENOSPC);
    else if (fault == "flush")
        SafeFile::FailNextWrite(SafeFile::Step::Sync, EIO);
    else if (fault == "replace")
        SafeFile::FailNextWrite(SafeFile::Step::Rename, EACCES);
    else if (fault == "held")
        held = CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ,
            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    else if (fault == "read-only")
        SetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str(), FILE_ATTRIBUTE_READONLY);
    else if (fault == "hard link")
        QVERIFY(CreateHardLinkW(QDir::toNativeSeparators(dir.filePath("alias.dat")).toStdWString().c_str(),
            QDir::toNativeSeparators(path).toStdWString().c_str(), nullptr));

    const QString reason = SafeFile::Write(path, "new bytes");
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    SetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str(), FILE_ATTRIBUTE_NORMAL);
    SafeFile::SetNotice({});
    SafeFile::FailNextWrite(SafeFile::Step::None, 0);

    QCOMPARE(reason.isEmpty(), saved);
    QCOMPARE(Content(path), saved ? QByteArray("new bytes") : QByteArray("old bytes"));
    QCOMPARE(heard, notice.isEmpty() ? QString() : QDir::toNativeSeparators(path) + notice);
    if (fault == "hard link")
        QCOMPARE(Content(dir.filePath("alias.dat")), QByteArray("old bytes"));
    QCOMPARE(Others(QDir(dir.path())), QStringList());
}

// A backup never replaces a file of the same name: the existing one is kept and the caller told.
void TestWindowsPlatform::createNeverReplaces()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("radio.dat"));
    bool exists = true;
    QVERIFY(SafeFile::Create(path, "first", &exists).isEmpty());
    QVERIFY(!exists);
    QVERIFY(!SafeFile::Create(path, "second", &exists).isEmpty());
    QVERIFY(exists);
    QCOMPARE(Content(path), QByteArray("first"));
    QCOMPARE(Others(QDir(dir.path())), QStringList());
}

// Records go to the end of the log; one after a record cut by a crash starts a line of its own.
void TestWindowsPlatform::logAppend()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.jsonl"));
    QVERIFY(LogFile::Append(path, "{\"a\":1}\n").isEmpty());
    QFile cut(path);
    QVERIFY(cut.open(QIODevice::Append));
    cut.write("{\"cut");
    cut.close();
    QVERIFY(LogFile::Append(path, "{\"b\":2}\n").isEmpty());
    QCOMPARE(Content(path), QByteArray("{\"a\":1}\n{\"cut\n{\"b\":2}\n"));
    QCOMPARE(LogFile::RenameNoReplace(path, dir.filePath("old.jsonl")), LogFile::Renamed::Done);
    QVERIFY(LogFile::Append(path, "{\"c\":3}\n").isEmpty());
    QCOMPARE(LogFile::RenameNoReplace(path, dir.filePath("old.jsonl")), LogFile::Renamed::Exists);
}

// Two writers of one data file: the second is told the file is being saved, until the first is done.
void TestWindowsPlatform::fileLock()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("radio.dat"));
    QVERIFY(SafeFile::Write(path, "bytes").isEmpty());
    {
        CFileLock first(path);
        QVERIFY(first.Lock(0));
        CFileLock second(path);
        QVERIFY(!second.Lock(100));
        QVERIFY2(second.Error().startsWith(QDir::toNativeSeparators(path) + " is being saved by another program")
                || second.Error().contains("is being saved by another program"),
            qPrintable(second.Error()));
    }
    CFileLock again(path);
    QVERIFY(again.Lock(0));
}

// clang-format off
void TestWindowsPlatform::portFailures_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such port") << "COM199" << int(CSerialPort::OpenFailure::Missing)
                                  << "The device COM199 does not exist.";
    QTest::newRow("a device with no line settings") << "NUL" << int(CSerialPort::OpenFailure::NotSerial)
                                                    << "NUL is not a serial port.";
}
// clang-format on

// A port that cannot be used says why, in the words the Linux build uses.
void TestWindowsPlatform::portFailures()
{
    QFETCH(QString, device);
    QFETCH(int, failure);
    QFETCH(QString, message);
    CSerialPort port;
    QVERIFY(!port.Open(device));
    QVERIFY(!port.IsOpen());
    QCOMPARE(int(port.Failure()), failure);
    QCOMPARE(port.FailureReason(false), message);
}

// Ctrl+C in the console asks a running transfer to stop between blocks instead of ending the program.
void TestWindowsPlatform::consoleStop()
{
    CStopRequest guard;
    QVERIFY(!CStopRequest::Pending());
    if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0))
        QSKIP("no console to send Ctrl+C to");
    QTRY_VERIFY(CStopRequest::Pending());
    QCOMPARE(QByteArray(CStopRequest::SignalName()), QByteArray("Ctrl+C"));
}

// The port, type and band are kept per user in the registry as REG_DWORD values "com", "Type" and
// "Field" under HKEY_CURRENT_USER\Software\<AppName>, where other tools look for them.
void TestWindowsPlatform::registrySettings()
{
    const QString appName = QStringLiteral("FieldcomPlatformTest");
    {
        CUserSettings settings(appName);
        settings.SetPortNumber(12);
        settings.SetTypeAndField(3, 1);
    }
    const std::wstring key = (QStringLiteral("Software\\") + appName).toStdWString();
    for (const auto &[name, expected] : { std::pair { L"com", 12u }, std::pair { L"Type", 3u }, std::pair { L"Field", 1u } }) {
        DWORD type = 0, value = 0, size = sizeof value;
        QCOMPARE(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, &value, &size), LONG(ERROR_SUCCESS));
        QCOMPARE(type, DWORD(REG_DWORD));
        QCOMPARE(value, DWORD(expected));
    }
    QCOMPARE(CUserSettings(appName).PortNumber(), 12);
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

QTEST_GUILESS_MAIN(TestWindowsPlatform)
#include "tst_windows_platform.moc"
