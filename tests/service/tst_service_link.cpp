// The service read and write against the virtual radio on a pseudo-terminal: the frames on the wire,
// the messages, the all-or-nothing read, and program-cli service, power and params.

#include "tests/link/LinkTestSupport.h"

#include "cli/CliContext.h"
#include "config/AppPaths.h"
#include "image/DataFile.h"
#include "link/ServiceExchange.h"
#include "tests/common/CliRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace LinkTest;
using Area = CServiceExchange::Area;
using Direction = CServiceExchange::Direction;

namespace {

const std::vector<CCloneBlock> kPowerBlocks = { { 0x3E0, 16 }, { 0x3F0, 11 } };
const std::vector<CCloneBlock> kParamBlocks = { { 0x300, 16 }, { 0x310, 16 } };

CRadioImage ImageOf(const RadioMemory::Bytes& bytes)
{
    CRadioImage image;
    image.CopyIn(0, bytes);
    return image;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestServiceLink : public QObject {
    Q_OBJECT

private slots:
    void init() { CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR)); }

    // A read asks for exactly the area's blocks, acknowledges each, and hands over only that range; a
    // write sends that range alone.
    void exchangeMovesTheArea_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::addColumn<QStringList>("message"); // English, Chinese
        const QStringList read { "Read Successfully", "读数据成功" };
        const QStringList written { "Write Successfully", "写数据成功" };
        QTest::newRow("read power") << false << int(Area::Power) << 0x3E0 << 0x3FB << read;
        QTest::newRow("read param") << false << int(Area::Param) << 0x300 << 0x320 << read;
        QTest::newRow("write power") << true << int(Area::Power) << 0x3E0 << 0x3FB << written;
        QTest::newRow("write param") << true << int(Area::Param) << 0x300 << 0x320 << written;
    }
    void exchangeMovesTheArea()
    {
        QFETCH(bool, write);
        QFETCH(int, area);
        QFETCH(int, first);
        QFETCH(int, end);
        QFETCH(QStringList, message);
        const auto radio = StartRadio();
        const RadioMemory::Bytes memory = Pattern(3);
        radio->SetMemory(memory);
        const RadioMemory::Bytes document = Pattern(9);

        CServiceExchange exchange(write ? Direction::Write : Direction::Read, Area(area), ImageOf(document));
        QCOMPARE(exchange.Run(Device(*radio)), CServiceExchange::Status::Done);
        const std::vector<CCloneBlock>& blocks = Area(area) == Area::Power ? kPowerBlocks : kParamBlocks;
        QCOMPARE(exchange.Blocks(), blocks);
        const QByteArray expected = write ? WriteSession(blocks, document) : ReadSession(blocks);
        QCOMPARE(ReceivedAfter(*radio, expected), expected);

        RadioMemory::Bytes after = radio->Memory();
        if (!write) {
            CRadioImage image = ImageOf(document);
            QVERIFY(exchange.TakeOver(image));
            after = BytesOf(image);
        }
        const RadioMemory::Bytes& from = write ? document : memory;
        const RadioMemory::Bytes& kept = write ? memory : document;
        for (int a = 0; a < 1024; ++a)
            QCOMPARE(
                after[std::size_t(a)], (a >= first && a < end) ? from[std::size_t(a)] : kept[std::size_t(a)]);
        QCOMPARE((QStringList { exchange.Message(false), exchange.Message(true) }), message);
    }

    // Whatever fails, a read leaves the document every byte it had. The write side says "通讯出错";
    // once the link was open it adds a line: the radio may be half done.
    void failedExchange_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("lines");
        QTest::newRow("read, no wake-up answer") << false << "wakeup-silent" << 2;
        QTest::newRow("read, short mode answer") << false << "mode-short" << 2;
        QTest::newRow("read, first block short") << false << "read-short:1" << 2;
        QTest::newRow("read, second block short") << false << "read-short:2" << 2;
        QTest::newRow("read, second block silent") << false << "read-silent:2" << 2;
        QTest::newRow("read, second block not acknowledged") << false << "read-noack:2" << 2;
        QTest::newRow("write, no wake-up answer") << true << "wakeup-silent" << 2;
        QTest::newRow("write, confirm refused") << true << "confirm-nak" << 2;
        QTest::newRow("write, first block refused") << true << "write-nak:1" << 3;
        QTest::newRow("write, second block silent") << true << "write-silent:2" << 3;
    }
    void failedExchange()
    {
        QFETCH(bool, write);
        QFETCH(QString, fault);
        QFETCH(int, lines);
        const auto radio = StartRadio({ fault });
        radio->SetMemory(Pattern(3));
        for (Area area : { Area::Power, Area::Param }) {
            const CRadioImage start = ImageOf(Pattern(9));
            CServiceExchange exchange(write ? Direction::Write : Direction::Read, area, start);
            QCOMPARE(exchange.Run(Device(*radio)), CServiceExchange::Status::CommunicationError);
            const QStringList english = exchange.Message(false).split(QLatin1Char('\n'));
            const QStringList chinese = exchange.Message(true).split(QLatin1Char('\n'));
            QCOMPARE((QStringList { english.first(), chinese.first() }),
                (QStringList { "Communication Error", write ? "通讯出错" : "通信出错" }));
            QCOMPARE(english.size(), lines);
            QCOMPARE(chinese.size(), lines);
            // The failed step on the device (its wording: tst_service_dialogs, tst_link_transfer).
            QVERIFY(
                english[1].startsWith(Device(*radio) + ": ") && chinese[1].startsWith(Device(*radio) + ": "));
            CRadioImage image = start;
            QVERIFY(write || (!exchange.TakeOver(image) && image == start));
        }
    }

    void portThatDoesNotOpen()
    {
        CServiceExchange exchange(Direction::Read, Area::Param, CRadioImage());
        QCOMPARE(
            exchange.Run(QStringLiteral("/dev/no-such-radio")), CServiceExchange::Status::PortOpenFailed);
        QCOMPARE(exchange.Message(false), QStringLiteral("Open the serial port fails"));
        QCOMPARE(exchange.Message(true), QStringLiteral("打开串口失败"));
    }

    // A stop between blocks of a write is said like a failure: the radio may hold half of it.
    void stoppedWrite()
    {
        const auto radio = StartRadio();
        CServiceExchange exchange(Direction::Write, Area::Param, ImageOf(Pattern(11)));
        QCOMPARE(
            exchange.Run(Device(*radio), [](int, int) { return false; }), CServiceExchange::Status::Stopped);
        QCOMPARE(exchange.Message(false).split(QLatin1Char('\n')).size(), 2);
    }

    // program-cli service: the code is checked before a byte is sent; the file changes only when every
    // block came in.
    void cliService_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("sends");
        QTest::addColumn<bool>("fileChanges");
        QTest::addColumn<bool>("radioChanges");

        const QStringList readPower = { "service", "read", "--access-code", "k719wd", "--area", "power" };
        const QStringList writeParam = { "service", "write", "--access-code", "k719wd", "--area", "param" };
        QTest::newRow("read") << readPower << "" << 0 << true << true << false;
        QTest::newRow("read, second block short")
            << readPower << "read-short:2" << 1 << true << false << false;
        // The file is changed under its lock: a lock path that is no lock file stops the save.
        QTest::newRow("read, lock path is a FIFO") << readPower << "fifo-lock" << 1 << true << false << false;
        QTest::newRow("wrong code") << QStringList { "service", "read", "--access-code", "K719WD", "--area",
            "power" } << "" << 1 << false
                                    << false << false;
        QTest::newRow("no code") << QStringList { "service", "write", "--area", "power" } << "" << 1 << false
                                 << false << false;
        QTest::newRow("unknown area")
            << QStringList { "service", "read", "--access-code", "k719wd", "--area", "all" } << "" << 2
            << false << false << false;
        QTest::newRow("write and verify")
            << (writeParam + QStringList { "--verify" }) << "" << 0 << true << false << true;
        QTest::newRow("write, lost block found by verify")
            << (writeParam + QStringList { "--verify" }) << "write-lost:2" << 1 << true << false << true;
    }
    void cliService()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, fault);
        QFETCH(int, status);
        QFETCH(bool, sends);
        QFETCH(bool, fileChanges);
        QFETCH(bool, radioChanges);

        const bool fifoLock = fault == "fifo-lock";
        const auto radio = StartRadio(fault.isEmpty() || fifoLock ? QStringList() : QStringList { fault });
        const RadioMemory::Bytes memory = Pattern(3);
        radio->SetMemory(memory);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("radio.dat"));
        // Every parameter in range, so the write sends the file's bytes as they are.
        RadioMemory::Bytes fileBytes = Pattern(9);
        const std::uint8_t params[] = { 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 3, 0x83, 50, 50, 50, 50, 50,
            50, 10, 20, 5, 90, 10, 10 };
        std::copy(std::begin(params), std::end(params), fileBytes.begin() + 0x300);
        fileBytes[0x32E] = fileBytes[0x32F] = 0;
        QVERIFY(DataFile::Save(path, ImageOf(fileBytes)).ok());
        const QByteArray before = FileBytes(path);
        if (fifoLock)
            QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(".radio.dat.lock")).constData(), 0644) == 0);

        const CliRun::Run outcome = CliRun::run(args + QStringList { "--port", Device(*radio), path });
        QCOMPARE(outcome.code, status);
        if (!sends)
            QVERIFY(radio->Received().empty());
        QCOMPARE(FileBytes(path) != before, fileChanges);
        QCOMPARE(radio->Memory() != memory, radioChanges);
        if (fileChanges) {
            CRadioImage saved;
            QVERIFY(DataFile::Load(path, saved).ok());
            for (int a = 0; a < 1024; ++a)
                QCOMPARE(saved.Byte(a),
                    (a >= 0x3E0 && a < 0x3FB) ? memory[std::size_t(a)] : fileBytes[std::size_t(a)]);
        }
    }

    // A band byte the configuration does not list (QR-260 has four bands, 0 to 3) is refused before
    // a table is shown, changed or sent, instead of working on the last band's points.
    void cliUnknownBand_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("power") << QStringList { "power", "FILE" };
        QTest::newRow("power set") << QStringList { "power", "FILE", "450=1,2,3" };
        QTest::newRow("params") << QStringList { "params", "FILE" };
        QTest::newRow("params set") << QStringList { "params", "FILE", "sql:500=50" };
        QTest::newRow("service write param") << QStringList { "service", "write", "--access-code", "k719wd",
            "--area", "param", "--port", "PORT", "FILE" };
    }
    void cliUnknownBand()
    {
        QFETCH(QStringList, args);
        const auto radio = StartRadio();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("radio.dat"));
        CRadioImage image;
        image.SetByte(0x32E, 0);
        image.SetByte(0x32F, 4);
        QVERIFY(DataFile::Save(path, image).ok());
        const QByteArray before = FileBytes(path);

        args.replaceInStrings(QStringLiteral("FILE"), path);
        args.replaceInStrings(QStringLiteral("PORT"), Device(*radio));
        const CliRun::Run outcome = CliRun::run(args);
        QCOMPARE(outcome.code, 1);
        QVERIFY2(outcome.err.contains(QStringLiteral("Fre:Unknown 0x04"))
                && outcome.err.contains(QStringLiteral("product FILE --band")),
            qPrintable(outcome.err));
        QVERIFY(outcome.out.isEmpty());
        QCOMPARE(FileBytes(path), before);
        QVERIFY(radio->Received().empty());
    }

    void cliPowerAndParams_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed"); // a line that must be printed (stdout, or stderr on failure)
        QTest::addColumn<int>("offset"); // a byte the command must leave with value, or -1
        QTest::addColumn<int>("value");

        QTest::newRow("power table") << QStringList { "power" } << 0 << "140\t4\t5\t6" << -1 << 0;
        QTest::newRow("power set") << QStringList { "power", "150=0,128,255" } << 0 << "" << 0x3E7 << 128;
        QTest::newRow("power 256") << QStringList { "power", "150=0,128,256" } << 1 << "each 0 to 255"
                                   << 0x3E7 << 8;
        QTest::newRow("power no such point")
            << QStringList { "power", "145=1,2,3" } << 1 << "130, 140, 150, 160" << -1 << 0;
        QTest::newRow("params shown after sanitiser")
            << QStringList { "params" } << 0 << "mic1\t0" << -1 << 0;
        QTest::newRow("params narrow") << QStringList { "params" } << 0 << "narrowsql\t-3" << -1 << 0;
        QTest::newRow("params squelch") << QStringList { "params" } << 0 << "sql:160\t40" << -1 << 0;
        QTest::newRow("set narrow -4")
            << QStringList { "params", "narrowsql=-4" } << 0 << "" << 0x30E << 0x84;
        QTest::newRow("set squelch") << QStringList { "params", "sql:140=100" } << 0 << "" << 0x301 << 100;
        QTest::newRow("set squelch 101")
            << QStringList { "params", "sql:140=101" } << 1 << "5 to 100" << 0x301 << 20;
        QTest::newRow("set max dev 151")
            << QStringList { "params", "maxdev=151" } << 1 << "maxdev takes 30 to 150" << -1 << 0;
        QTest::newRow("set mic3 -1") << QStringList { "params", "mic3=-1" } << 1 << "0 to 15" << -1 << 0;
        QTest::newRow("set two, one refused")
            << QStringList { "params", "rx1w=40", "dcsdev=31" } << 1 << "5 to 30" << 0x30F << 60;
        QTest::newRow("unknown name") << QStringList { "params", "volume=3" } << 2 << "" << -1 << 0;
        QTest::newRow("not a number")
            << QStringList { "params", "mic1=1x" } << 1 << "whole number" << -1 << 0;
    }
    // Refused values leave the file byte for byte as it was.
    void cliPowerAndParams()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, printed);
        QFETCH(int, offset);
        QFETCH(int, value);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("radio.dat"));
        CRadioImage image;
        image.SetByte(0x32E, 0);
        image.SetByte(0x32F, 0); // the first band of Program.ini: 130 - 160MHz
        for (int i = 0; i < 12; ++i)
            image.SetByte(0x3E0 + i, std::uint8_t(i + 1));
        for (int i = 0; i < 4; ++i)
            image.SetByte(0x300 + i, std::uint8_t(10 * (i + 1)));
        image.SetByte(0x30E, 0x83);
        image.SetByte(0x30F, 60);
        image.SetByte(0x315, 200);
        QVERIFY(DataFile::Save(path, image).ok());
        const QByteArray before = FileBytes(path);

        QStringList full = args;
        full.insert(1, path);
        const CliRun::Run outcome = CliRun::run(full);
        QCOMPARE(outcome.code, status);
        if (!printed.isEmpty())
            QVERIFY2((status == 0 ? outcome.out : outcome.err).contains(printed),
                qPrintable(outcome.out + outcome.err));
        if (status != 0 || args.size() == 1)
            QCOMPARE(FileBytes(path), before);
        if (offset >= 0) {
            CRadioImage saved;
            QVERIFY(DataFile::Load(path, saved).ok());
            QCOMPARE(int(saved.Byte(offset)), value);
        }
    }
};

QTEST_GUILESS_MAIN(TestServiceLink)
#include "tst_service_link.moc"
