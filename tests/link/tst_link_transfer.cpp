#include "LinkTestSupport.h"

#include "config/UserFront.h"
#include "image/RadioImage.h"
#include "link/CloneTransfer.h"
#include "link/SerialPort.h"
#include "tests/common/TestFiles.h"
#include "tests/common/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace LinkTest;
using Status = CCloneTransfer::Status;
using Direction = CCloneTransfer::Direction;

Q_DECLARE_METATYPE(CCloneTransfer::Status)
Q_DECLARE_METATYPE(CSerialPort::OpenFailure)

class TestLinkTransfer : public QObject {
    Q_OBJECT

private:
    static std::unique_ptr<CCloneTransfer> MakeTransfer(bool write, bool service, const CRadioImage &image)
    {
        return write ? CCloneTransfer::ChannelWrite(image, service) : CCloneTransfer::ChannelRead(image);
    }
    static CRadioImage ImageOf(const RadioMemory::Bytes &bytes)
    {
        CRadioImage image;
        image.CopyIn(0, bytes);
        return image;
    }
    // After any ending the port must be free again for the next exchange.
    static bool PortIsFree(const QString &device)
    {
        CSerialPort port;
        return port.Open(device);
    }

private slots:
    void healthyTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("service");
        QTest::addColumn<QList<int>>("ranges");
        QTest::addColumn<int>("blocks");
        QTest::newRow("read") << false << false << kReadRanges << 64;
        QTest::newRow("write") << true << false << kWriteRanges << 60;
        QTest::newRow("write with service access") << true << true << kServiceRanges << 64;
    }

    // Every byte on the wire as the frame table has it, and the radio's memory (or the image read)
    // holds the ranges the transfer covers.
    void healthyTransfer()
    {
        QFETCH(bool, write);
        QFETCH(bool, service);
        QFETCH(QList<int>, ranges);
        QFETCH(int, blocks);
        const auto radio = StartRadio();
        const RadioMemory::Bytes before = Pattern(1);
        radio->SetMemory(before);
        const RadioMemory::Bytes source = Pattern(2);

        const auto transfer = MakeTransfer(write, service, ImageOf(source));
        int callbacks = 0;
        const auto progress = [&](int done, int total) { return ++callbacks, done <= total; };
        QCOMPARE(transfer->Run(Device(*radio), progress), Status::Done);
        QCOMPARE(transfer->BlockCount(), blocks);
        QCOMPARE(callbacks, blocks + 1); // once the radio is awake, then after each block

        const std::vector<CCloneBlock> plan = BlocksOf(ranges);
        const QByteArray expected = write ? WriteSession(plan, source) : ReadSession(plan);
        QCOMPARE(ReceivedAfter(*radio, expected).toHex(' '), expected.toHex(' '));
        if (write)
            QVERIFY(radio->Memory() == Overlay(before, source, ranges));
        else
            QVERIFY(BytesOf(transfer->Image()) == Overlay(source, before, ranges));
        QVERIFY(PortIsFree(Device(*radio)));
    }

    // clang-format off
    void failure_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("write");
        QTest::addColumn<Status>("status");
        QTest::addColumn<int>("wakeUps"); // wake-up sequences the tool sends
        QTest::addColumn<QByteArray>("opening"); // what follows the last wake-up
        QTest::addColumn<int>("frames"); // block frames the tool sends
        QTest::addColumn<bool>("lastAcked"); // a read: the tool acknowledged its last block
        QTest::addColumn<QString>("line"); // under "Communication Error", %1 standing for the device

        const QString wake = "%1: the radio did not answer the wake-up. Is the radio switched on, the cable plugged "
                             "in at both ends, and %1 the port the cable is on?";
        const QString lost = "%1: block %2 did not arrive. Is the radio still on and the cable firmly plugged in? Try again.";
        const QString refused = "%1: the radio refused block %2. Switch the radio off and on again and try again.";
        const QString read5 = "5 of 64 (address 0x0040)", write7 = "7 of 60 (address 0x0060)";
        const QByteArray none, mode = QByteArray::fromHex("02"), confirm = QByteArray::fromHex("0206");
        const Status error = Status::CommunicationError;
        QTest::newRow("wake-up never answered") << "wakeup-silent" << false << error << 4 << none << 0 << false << wake;
        QTest::newRow("wake-up always refused") << "wakeup-nak" << true << error << 4 << none << 0 << false << wake;
        QTest::newRow("first wake-up refused") << "wakeup-nak:1" << false << Status::Done << 2 << confirm << 64 << true << QString();
        QTest::newRow("three wake-ups unanswered") << "wakeup-silent:3" << true << Status::Done << 4 << confirm << 60 << false << QString();
        QTest::newRow("four wake-ups unanswered") << "wakeup-silent:4" << false << error << 4 << none << 0 << false << wake;
        QTest::newRow("mode answer short") << "mode-short" << false << error << 1 << mode << 0 << false << wake;
        QTest::newRow("confirm refused") << "confirm-nak" << true << error << 1 << confirm << 0 << false << wake;
        QTest::newRow("read answer short") << "read-short:5" << false << error << 1 << confirm << 5 << false << lost.arg("%1", read5);
        QTest::newRow("read not answered") << "read-silent:5" << false << error << 1 << confirm << 5 << false << lost.arg("%1", read5);
        QTest::newRow("read acknowledge refused") << "read-noack:5" << false << error << 1 << confirm << 5 << true << refused.arg("%1", read5);
        QTest::newRow("read header late") << "read-late:5" << false << error << 1 << confirm << 5 << false << lost.arg("%1", read5);
        QTest::newRow("read header split by a pause") << "read-split:5" << false << error << 1 << confirm << 5 << false << lost.arg("%1", read5);
        QTest::newRow("foreign read header") << "read-header" << false << Status::Done << 1 << confirm << 64 << true << QString();
        QTest::newRow("write not answered") << "write-silent:7" << true << error << 1 << confirm << 7 << false << lost.arg("%1", write7);
        QTest::newRow("write refused") << "write-nak:7" << true << error << 1 << confirm << 7 << false << refused.arg("%1", write7);
    }
    // clang-format on

    // Each fault of the radio ends the transfer where it should, with nothing sent after it and the
    // port closed; the blocks before it are through.
    void failure()
    {
        QFETCH(QString, fault);
        QFETCH(bool, write);
        QFETCH(Status, status);
        QFETCH(int, wakeUps);
        QFETCH(QByteArray, opening);
        QFETCH(int, frames);
        QFETCH(bool, lastAcked);
        QFETCH(QString, line);
        const auto radio = StartRadio({ fault });
        const RadioMemory::Bytes before = radio->Memory();
        const RadioMemory::Bytes source = Pattern(3);

        const auto transfer = MakeTransfer(write, false, ImageOf(source));
        QCOMPARE(transfer->Run(Device(*radio)), status);
        const int done = status == Status::Done ? frames : std::max(frames - 1, 0);
        QCOMPARE(transfer->BlocksDone(), done);

        QByteArray expected = WakeUp().repeated(wakeUps) + opening;
        const std::vector<CCloneBlock> plan = BlocksOf(write ? kWriteRanges : kReadRanges);
        for (int k = 0; k < frames; ++k) {
            const CCloneBlock &block = plan[static_cast<std::size_t>(k)];
            expected += write ? WriteFrame(block, source) : ReadFrame(block);
            if (!write && (k + 1 < frames || lastAcked))
                expected += '\x06';
        }
        QCOMPARE(ReceivedAfter(*radio, expected).toHex(' '), expected.toHex(' '));
        // Blocks before the failing one are in the radio, the rest is as it was.
        if (write)
            QVERIFY(radio->Memory() == (status == Status::Done ? Written(before, source) : Overlay(before, source, { 0, 16 * done })));
        QVERIFY(PortIsFree(Device(*radio)));
        // The step that failed and what to check, under the bare message.
        const QStringList lines = transfer->OutcomeLines(false);
        if (line.isEmpty())
            QVERIFY(lines.isEmpty());
        else
            QCOMPARE(lines.mid(0, 2), (QStringList { "Communication Error", line.arg(Device(*radio)) }));
    }

    void stopBetweenBlocks_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("stopAt"); // blocks through when the stop is asked for
        QTest::newRow("read, stopped after 10 blocks") << false << 10;
        // A signal or Cancel while the radio was being woken up: the first block must not go out.
        QTest::newRow("write, stopped while the radio wakes up") << true << 0;
    }

    // A stop between blocks closes the port at once: nothing after the last acknowledgement.
    void stopBetweenBlocks()
    {
        QFETCH(bool, write);
        QFETCH(int, stopAt);
        const auto radio = StartRadio();
        const RadioMemory::Bytes before = radio->Memory();
        const auto transfer = MakeTransfer(write, false, ImageOf(Pattern(3)));
        QCOMPARE(transfer->Run(Device(*radio), [stopAt](int done, int) { return done < stopAt; }), Status::Stopped);
        QCOMPARE(transfer->BlocksDone(), stopAt);
        const QByteArray expected = write ? WakeUp() + QByteArray::fromHex("0206") : ReadSession(BlocksOf({ 0, 160 }));
        QCOMPARE(ReceivedAfter(*radio, expected).toHex(' '), expected.toHex(' '));
        if (write)
            QVERIFY(radio->Memory() == before);
        QVERIFY(PortIsFree(Device(*radio)));
    }

    // The cable pulled out while the link opens: the port's own failure is said, not a silent radio.
    void portBrokenDuringWakeUp()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString device = QString::fromLocal8Bit(::ptsname(master));
        std::unique_ptr<CCloneTransfer> transfer; // made where it runs, as a batch does
        QThread* run = QThread::create([&] { (transfer = CCloneTransfer::ChannelRead({}))->Run(device); });
        run->start();
        char first = 0;
        QCOMPARE(::read(master, &first, 1), ssize_t(1)); // the wake-up has begun
        ::close(master);
        run->wait();
        delete run;
        QVERIFY2(transfer->FailureLine(false).startsWith(
                     device + ": the port stopped working (the device went away"),
            qPrintable(transfer->FailureLine(false)));
        QVERIFY(transfer->FailureLine(false).endsWith("Check the port in Setup > Com Setup."));
        // program-cli has no menus: it names its own way to the ports.
        UserFront::Set(UserFront::Kind::CommandLine);
        const QString commandLine = transfer->FailureLine(false);
        UserFront::Set(UserFront::Kind::Window);
        QVERIFY2(commandLine.endsWith("still plugged in? program-cli ports lists the ports there are now."),
            qPrintable(commandLine));
    }

    void portNotOpened_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<CSerialPort::OpenFailure>("failure");
        QTest::addColumn<QString>("reason"); // %1: the device as given
        const QString missing = QStringLiteral("The device %1 does not exist.");
        const QString busy = QStringLiteral("%1 is in use by another program.");
        const QString notSerial = QStringLiteral("%1 is not a serial port.");
        using F = CSerialPort::OpenFailure;
        QTest::newRow("missing device") << "missing" << false << F::Missing << missing;
        QTest::newRow("held by another program") << "held" << false << F::Busy << busy;
        QTest::newRow("held, opened through a link") << "held" << true << F::Busy << busy;
        // The lock file cannot be written: the port is free, so not "in use by another program".
        QTest::newRow("free, lock file not written")
            << "nolock" << false << F::LockNotMade
            << "%1 could not be locked for this program: its lock file could not be written (a full disk, "
               "or a limit on file size).";
        QTest::newRow("a plain file") << "file" << false << F::NotSerial << notSerial;
        QTest::newRow("a link to a plain file") << "file" << true << F::NotSerial << notSerial;
        QTest::newRow("a folder") << "folder" << false << F::NotSerial << notSerial;
        QTest::newRow("a pipe") << "fifo" << false << F::NotSerial << notSerial;
        QTest::newRow("a device that is no terminal") << "/dev/null" << false << F::NotSerial << notSerial;
        // "denied:GROUP:MODE", ":member" when the user is in GROUP: the device belongs to root and GROUP.
        const QString dialout = "No permission to use %1: add your user to the dialout group (sudo usermod -aG "
                                "dialout $USER) and log in again.";
        QTest::newRow("a dialout device, user not in dialout: the advice")
            << "denied:dialout:0660" << false << F::NoPermission << dialout;
        QTest::newRow("the same, opened through a link") << "denied:dialout:0660" << true << F::NoPermission << dialout;
        // Joining dialout would not help: what is in the way is said instead.
        QTest::newRow("in dialout already, the group may not use it")
            << "denied:dialout:0600:member" << false << F::NoPermission
            << "No permission to use %1: it belongs to user root and group dialout, mode crw-------. User nobody "
               "is in group dialout already, but the mode does not let the group read and write it.";
        QTest::newRow("a device of another group")
            << "denied:root:0660" << false << F::NoPermission
            << "No permission to use %1: it belongs to user root and group root, mode crw-rw----. User nobody is "
               "neither root nor in group root.";
    }

    // A port that does not open stops the transfer before anything is sent, and says why: a path
    // that exists but is no serial device is named as such, not as missing.
    void portNotOpened()
    {
        QFETCH(QString, what);
        QFETCH(bool, throughLink);
        QFETCH(CSerialPort::OpenFailure, failure);
        QFETCH(QString, reason);
        const auto radio = StartRadio();
        QTemporaryDir dir;
        QString device = dir.filePath(QStringLiteral("ttyUSB9"));
        std::unique_ptr<CPortHolder> holder;
        std::optional<CNoFileGrowth> noGrowth;
        std::vector<gid_t> groups; // of the user that opens the port
        if (what == QLatin1String("nolock")) {
            device = Device(*radio);
            noGrowth.emplace();
        } else if (what == QLatin1String("held")) {
            device = Device(*radio);
            holder = std::make_unique<CPortHolder>(device);
            QVERIFY(holder->Holds());
        } else if (what == QLatin1String("file")) {
            QVERIFY(TestFiles::Write(device, "not a radio"));
        } else if (what == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(device));
        } else if (what == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(device).constData(), 0600), 0);
        } else if (what.startsWith(QLatin1Char('/'))) {
            device = what;
        } else if (what.startsWith(QLatin1String("denied:"))) {
            // Root opens any device, so the port is then opened as the nobody user, in the group when a
            // member; only root can give the device root as its owner.
            if (!TestFiles::IsRoot())
                QSKIP("only root can hand the device to root and a group");
            const QStringList parts = what.split(QLatin1Char(':'));
            const struct group* entry = ::getgrnam(parts.at(1).toLatin1().constData());
            if (!entry)
                QSKIP("this system has no such group");
            device = Device(*radio);
            QCOMPARE(::chown(QFile::encodeName(device).constData(), 0, entry->gr_gid), 0);
            QCOMPARE(::chmod(QFile::encodeName(device).constData(), mode_t(parts.at(2).toUInt(nullptr, 8))), 0);
            if (parts.value(3) == QLatin1String("member"))
                groups.push_back(entry->gr_gid);
            ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        }
        if (throughLink) {
            const QString link = dir.filePath(QStringLiteral("radio"));
            QVERIFY(QFile::link(device, link));
            device = link;
        }
        const QByteArray before = QFileInfo(device).isFile() ? TestFiles::Read(device) : QByteArray();

        // What the port and a transfer on it say.
        const auto open = [&] {
            CSerialPort port;
            const bool opened = port.Open(device);
            const auto transfer = CCloneTransfer::ChannelRead(CRadioImage());
            transfer->SetPortName(QStringLiteral("COM3")); // named as the user picked it, with its device
            const Status status = transfer->Run(device);
            return QStringList { opened ? "opened" : "not opened", QString::number(int(port.Failure())),
                port.FailureReason(false), QString::number(int(status)),
                CCloneTransfer::Message(transfer->CurrentStatus(), false), transfer->PortFailureReason(false) };
        };
        const std::optional<QStringList> seen
            = what.startsWith(QLatin1String("denied")) ? TestFiles::SeenUnprivileged(open, groups) : open();
        if (!seen)
            QSKIP("root cannot become another user here, and root may open any device");
        const QString said = reason.arg(QDir::toNativeSeparators(device));
        QCOMPARE(*seen,
            (QStringList { "not opened", QString::number(int(failure)), said, QString::number(int(Status::PortOpenFailed)),
                QStringLiteral("Could not Open the Port,Please check whether the Port are occupied or the device are ok"),
                reason.arg("COM3 (" + QDir::toNativeSeparators(device) + ")") }));
        if (QFileInfo(device).isFile())
            QCOMPARE(TestFiles::Read(device), before); // left exactly as it was
        QVERIFY(radio->Received().empty());
    }

private:
    // No file may grow while it lives (prlimit --fsize=0), with the signal of that limit off as the
    // programs have it: a write then fails with EFBIG.
    class CNoFileGrowth {
    public:
        CNoFileGrowth()
        {
            m_PreviousSignal = std::signal(SIGXFSZ, SIG_IGN);
            ::getrlimit(RLIMIT_FSIZE, &m_Previous);
            const struct rlimit none { 0, m_Previous.rlim_max };
            ::setrlimit(RLIMIT_FSIZE, &none);
        }
        ~CNoFileGrowth()
        {
            ::setrlimit(RLIMIT_FSIZE, &m_Previous);
            std::signal(SIGXFSZ, m_PreviousSignal);
        }

    private:
        struct rlimit m_Previous {};
        void (*m_PreviousSignal)(int) = SIG_DFL;
    };
};

QTEST_GUILESS_MAIN(TestLinkTransfer)
#include "tst_link_transfer.moc"
