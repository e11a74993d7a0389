#include "config/AppPaths.h"
#include "config/UserSettings.h"
#include "cli/CliContext.h"
#include "image/DataFile.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"
#include "tests/common/TypedTones.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace TestFiles;
using CliRun::Run;
using CliRun::run;

namespace {

// Channels of every kind; the rest of the image as a new radio has it.
QByteArray sampleImage()
{
    CRadioImage image;
    image.ApplyDefaults();
    QByteArray bytes(reinterpret_cast<const char*>(image.Data().data()), ImageMap::kImageSize);
    const auto setRow = [&bytes](int channel, const char* hex) {
        const QByteArray row = QByteArray::fromHex(hex);
        bytes.replace(channel * 16, row.size(), row);
    };
    setRow(1, "00206514 00506514 7503 1328 08 50"); // everything set
    setRow(2, "0A206514 000000A0 ECA9 0F28 18 00"); // odd nibbles, 1000 MHz, unlisted DCS
    setRow(3, "00206514 FFFFFFFF FFFF B602 00 00"); // no transmit frequency, unlisted CTCSS
    setRow(5, "00000000 00206514 FFFF FFFF 00 00"); // receive top pair 00
    setRow(6, "00206514 00206514 FF29 FFFF 00 30"); // DCS 777, outside the table
    bytes[ImageMap::kScanFlags] = char(0x01); // only channel 1 scans
    bytes[ImageMap::kVox] = 5; // outside its list
    bytes[ImageMap::kBatterySaver] = 5; // any non-zero byte is "On"
    bytes[ImageMap::kSideKey] = char(0xEF);
    bytes[ImageMap::kProductType] = 0;
    bytes[ImageMap::kFrequencyBand] = 1;
    return bytes;
}

const QStringList kSampleEnglish = {
    "1\t146.52000\t146.55000\t88.5\tD023N\tWide\tYes\tCarrier\tMiddle",
    "2\t146.52010\t1000.00000\tD754I\tD017N\tNarrow\tNo\tQT/DQT\tLow",
    "3\t146.52000\t\t\t69.4\t\t\t\t", // shown as empty but for its receive frequency and tone
    "4\t\t\t\t\t\t\t\t",
    "5\t\t146.52000\t\t\t\t\t\t",
    "6\t146.52000\t146.52000\tD000N\tNone\tWide\tNo\tOff\tHigh",
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void newFile();
    void show();
    void set_data();
    void set();
    void tones_data();
    void tones();
    void failures_data();
    void failures();
    void manualCoversHelp();

private:
    QString lineOf(const QString& path, int channel);

    QTemporaryDir m_ExeDir;
    QTemporaryDir m_Work;
    QString m_File;
};

void TestCli::initTestCase()
{
    // The shipped configuration, beside a stand-in executable directory the tests can add files to.
    QVERIFY(QFile::copy(QStringLiteral(PROGRAM_BIN_DIR "/Program.ini"), m_ExeDir.filePath("Program.ini")));
    CAppPaths::SetExecutableDir(m_ExeDir.path());
    qputenv("XDG_CONFIG_HOME", m_Work.filePath("config").toUtf8()); // the user's settings stay untouched
    QCOMPARE(run({ "--help" }).code, 0);
}

void TestCli::init()
{
    m_File = m_Work.filePath("radio.dat");
    QVERIFY(Write(m_File, DataFileBytes(sampleImage())));
}

QString TestCli::lineOf(const QString& path, int channel)
{
    return run({ "show", path }).out.split('\n').value(channel - 1);
}

void TestCli::newFile()
{
    const QString path = m_Work.filePath("new.dat");
    // Built-in defaults with the 16 channels as the empty grid stores them: over FF, the busy lockout
    // (bits 3-4 cleared, bit 4 set) leaves byte 12 F7, bandwidth and power (bit 4 kept, bits 5-6 cleared,
    // bit 5 set) leave byte 13 BF; every other channel byte and the scan flags stay FF.
    QCOMPARE(run({ "new", path }).code, 0);
    CRadioImage expected;
    expected.ApplyDefaults();
    for (int channel = 1; channel <= 16; ++channel) {
        expected.SetByte(channel * 16 + 12, 0xF7);
        expected.SetByte(channel * 16 + 13, 0xBF);
    }
    expected.SetByte(0x1B8, 0x50);
    expected.SetByte(ImageMap::kProductType, 0);
    expected.SetByte(ImageMap::kFrequencyBand, 0);
    QCOMPARE(Read(path), DataFile::Serialize(expected));

    // A Default.dat of 528 bytes of zeros supplies image bytes 0-511; type and band come from the
    // user's settings.
    QVERIFY(Write(m_ExeDir.filePath("Default.dat"), QByteArray(528, '\0')));
    CUserSettings settings(QStringLiteral("Fieldcom Radio Programmer"));
    settings.SetTypeAndField(1, 0);
    settings.SetPortNumber(3);
    const QByteArray stored = Read(settings.Location());
    QVERIFY2(stored.contains("com=3") && stored.contains("Type=1") && stored.contains("Field=0"), stored);
    const Run made = run({ "new", path });
    QFile::remove(m_ExeDir.filePath("Default.dat"));
    QFile::remove(settings.Location());
    QCOMPARE(made.code, 0);
    QByteArray image = QByteArray(512, '\0') + QByteArray(512, char(0xFF));
    image[0x1B8] = 0x50;
    image.replace(ImageMap::kProductType, 2, QByteArray("\x01\x00", 2));
    QCOMPARE(Read(path), DataFileBytes(image));
    QVERIFY(run({ "show", path }).out.contains("\nType: QR-460\nFrequency: 400 - 470MHz\n"));
}

void TestCli::show()
{
    const Run english = run({ "show", m_File });
    QCOMPARE(english.code, 0);
    QCOMPARE(english.err, QString());
    const QStringList lines = english.out.split('\n');
    QCOMPARE(lines.mid(0, 6), kSampleEnglish);
    QCOMPARE(lines.at(15), QStringLiteral("16\t\t\t\t\t\t\t\t"));
    QCOMPARE(lines.mid(16),
        QStringList({ "", "Type: QR-260", "Frequency: 136 - 174MHz", "Time Out Time: 45s", "Squelch Level: 5",
            "Voice Annunciation: Chinese", "Priority Channel: Off", "VOX: (not in the list: byte 0x05)",
            "Vox Gain Level: 5", "Vox Delay Time: 0.3s", "Side Key: Monitor Momentary", "Beep: On",
            "Battery Saver: On", "" }));
    const Run chinese = run({ "show", "--lang", "chinese", m_File });
    QCOMPARE(chinese.code, 0);
    QCOMPARE(chinese.out.split('\n').mid(0, 6),
        QStringList({ "1\t146.52000\t146.55000\t88.5\tD023N\t宽\t是\t载波\t中",
            "2\t146.52010\t1000.00000\tD754I\tD017N\t窄\t否\tQT/DQT\t低",
            "3\t146.52000\t\t\t69.4\t\t\t\t", kSampleEnglish.at(3), kSampleEnglish.at(4),
            "6\t146.52000\t146.52000\tD000N\t无\t宽\t否\t关\t高" }));
    QVERIFY(chinese.out.contains("\n类型: QR-260\n"));
    QCOMPARE(Read(m_File), DataFileBytes(sampleImage())); // show never writes
}

// clang-format off
void TestCli::set_data()
{
    QTest::addColumn<QStringList>("args"); // after FILE
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("line"); // the channel's line afterwards; empty when the file stays as it was
    const QString bad = "Out of range,please input again.";
    const QString step = "Error data Value, please input according the step value(6.25K/5k).";
    const QString format = "Error Data Format, please input again.";
    QTest::newRow("new channel") << QStringList { "4", "rx=146.5" } << 0 << ""
                                 << "4\t146.50000\t146.50000\tNone\tNone\tWide\tYes\tOff\tHigh";
    QTest::newRow("every field, both languages")
        << QStringList { "4", "rx=0x92", "tx=146.025", "dec=d023n", "enc=88.5", "wn=窄", "scan=No",
               "busy=载波", "power=middle" } << 0 << ""
        << "4\t146.00000\t146.02500\tD023N\t88.5\tNarrow\tNo\tCarrier\tMiddle";
    QTest::newRow("atof forms") << QStringList { "4", "rx= +1.4652e2", "tx=146.55abc" } << 0 << ""
                                << "4\t146.52000\t146.55000\tNone\tNone\tWide\tYes\tOff\tHigh";
    QTest::newRow("decimal comma") << QStringList { "1", "rx=146,5", "tx=146,025" } << 0 << ""
                                   << "1\t146.50000\t146.02500\t88.5\tD023N\tWide\tYes\tCarrier\tMiddle";
    QTest::newRow("delete") << QStringList { "1", "rx=" } << 0 << "" << "1\t\t\t\t\t\t\t\t";
    QTest::newRow("tx follows rx") << QStringList { "1", "tx=" } << 0 << ""
                                   << "1\t146.52000\t146.52000\t88.5\tD023N\tWide\tYes\tCarrier\tMiddle";
    QTest::newRow("list item on an empty channel") << QStringList { "4", "power=Low" } << 0 << ""
                                                   << "4\t\t\t\t\t\t\t\t";
    QTest::newRow("rx out of band") << QStringList { "1", "rx=180" } << 1
        << bad + "\nChannel 1: 180 MHz is outside the band 136 - 174MHz, which takes 136 to 175 MHz (all of 174.xxxxx included)." << "";
    QTest::newRow("rx leading point") << QStringList { "1", "rx=.5" } << 1 << bad << "";
    QTest::newRow("rx letters") << QStringList { "1", "rx=abc" } << 1 << format << "";
    QTest::newRow("rx off step") << QStringList { "1", "rx=146.5123" } << 1
        << step + "\nChannel 1: 146.5123 MHz is not on a 5 kHz or 6.25 kHz step. Nearest: 146.51 or 146.5125 MHz." << "";
    QTest::newRow("tx inf") << QStringList { "1", "tx=inf" } << 1 << bad << "";
    QTest::newRow("tx nan") << QStringList { "1", "tx=nan" } << 1 << bad << "";
    QTest::newRow("tx off step") << QStringList { "1", "tx=146.0001" } << 1 << step << "";
    QTest::newRow("refusal after a good value") << QStringList { "1", "rx=150", "power=Max" } << 1 << format << "";
    QTest::newRow("channel 17") << QStringList { "17", "rx=146.5" } << 2 << "CHANNEL" << "";
    QTest::newRow("unknown field") << QStringList { "1", "freq=146.5" } << 2
                                   << "\"freq=146.5\" is not FIELD=TEXT with a known FIELD (rx, tx, dec, enc, wn, scan, "
                                      "busy, power)\nsee program-cli --help\n" << "";
    QTest::newRow("no assignment") << QStringList { "1" } << 2 << "set needs FILE CHANNEL FIELD=TEXT" << "";
}
// clang-format on

void TestCli::set()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(QString, line);
    const Run result = run(QStringList { "set", m_File } + args);
    QCOMPARE(result.code, code);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    const QByteArray before = DataFileBytes(sampleImage());
    if (line.isEmpty()) {
        QCOMPARE(Read(m_File), before);
        return;
    }
    const int channel = args.first().toInt();
    QCOMPARE(lineOf(m_File, channel), line);
    // Every other channel and every other byte stay as they were, but for the grid's mark.
    QByteArray after = Read(m_File);
    for (int offset : { 16 + channel * 16, 16 + ImageMap::kScanFlags })
        after.replace(offset, 16, before.mid(offset, 16));
    QCOMPARE(after.at(16 + 0x1B8), char(0x50));
    after[16 + 0x1B8] = before.at(16 + 0x1B8);
    QCOMPARE(after.toHex(), before.toHex());
}

void TestCli::tones_data()
{
    TypedTones::AddRows();
}

// The texts the grid's tone editor takes, through set: the same item stored, the same refusal, and a
// refused text leaves the file as it was.
void TestCli::tones()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    const QByteArray before = DataFileBytes(sampleImage());
    for (const char* field : { "dec", "enc" }) {
        QVERIFY(Write(m_File, before));
        const Run result = run({ "set", m_File, "1", QStringLiteral("%1=%2").arg(field, typed) });
        if (stored.isEmpty()) {
            QCOMPARE(result.code, 1);
            QCOMPARE(result.err, TypedTones::kRefused + '\n');
            QCOMPARE(Read(m_File), before);
            continue;
        }
        QCOMPARE(result.code, 0);
        QStringList fields = kSampleEnglish.at(0).split('\t');
        fields[QLatin1String(field) == "dec" ? 3 : 4] = stored;
        QCOMPARE(lineOf(m_File, 1), fields.join('\t'));
    }
}

// clang-format off
void TestCli::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("file"); // written to radio.dat first
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QByteArray good = DataFileBytes(sampleImage());
    const QByteArray foreign = QByteArray("Q708") + good.mid(4);
    using L = QStringList;
    QTest::newRow("foreign file") << L { "show", "radio.dat" } << foreign << 1 << "Data Format Error";
    QTest::newRow("foreign file, Chinese") << L { "show", "radio.dat", "--lang", "chinese" } << foreign << 1 << "数据格式不正确";
    // A channel list is pointed at the command that takes it in, not at a window's menu.
    QTest::newRow("channel list") << L { "show", "radio.dat" } << QByteArray("Location,Name,Frequency\n1,,146.520000\n") << 1
        << "Data Format Error\n%1 is not a data file of this radio: it starts with 4C 6F 63 61 74 69 6F 6E (\"Location\") and "
           "holds 38 bytes; a data file starts with Q707 and holds 1,040 bytes.\nIt looks like a channel list (CSV): bring "
           "it into a data file with program-cli import FILE.dat %1\n";
    QTest::newRow("short file") << L { "show", "radio.dat" } << good.left(1039) << 1 << "shorter than 1040 bytes";
    QTest::newRow("empty file") << L { "set", "radio.dat", "1", "rx=146.5" } << QByteArray() << 1 << "shorter than 1040 bytes";
    QTest::newRow("missing file") << L { "show", "none.dat" } << good << 1 << "Cannot open";
    QTest::newRow("new into a missing folder") << L { "new", "no/such/dir.dat" } << good << 1 << "Cannot save";
    // A usage error says what is wrong and where the usage is, not the whole usage.
    QTest::newRow("first Location past the numbers") << L { "import", "radio.dat", "list.csv", "--from", "2147483633" }
        << good << 2 << "program-cli: --from takes the Location of channel 1, a number from 0 to 2147483632\n";
    QTest::newRow("no command") << QStringList {} << good << 2
        << "program-cli: a command is needed: new, show, set, read, write, options, product, service, power, params, "
           "print, ports, export, import, diff, log\nsee program-cli --help\n";
    QTest::newRow("unknown command") << QStringList { "dump", "radio.dat" } << good << 2
        << "program-cli: unknown command \"dump\"; the commands are new, show, set,";
    QTest::newRow("unknown language") << L { "show", "radio.dat", "--lang", "klingon" } << good << 2 << "--lang";
    QTest::newRow("two files") << QStringList { "show", "radio.dat", "other.dat" } << good << 2 << "other.dat";
    QTest::newRow("new without file") << QStringList { "new" } << good << 2 << "new takes exactly one FILE";
    QTest::newRow("unknown option name") << L { "options", "radio.dat", "squelch=3" } << good << 2
        << "(tot, sql, voice, priority, vox, voxgain, voxdelay, sidekey, beep, saver)";
    QTest::newRow("unknown parameter name") << L { "params", "radio.dat", "mic4=3" } << good << 2
        << "(sql:MHZ, sqlclose, narrowsql, rx1w, rx1n, rx2w, rx2n, rx3w, rx3n, mic1, mic2, mic3, maxdev, ctcssdev, dcsdev)";
    // A COM name past the list would open /dev/ttyUSB16, a device the user never meant.
    const QString beyond = "program-cli: --port %1: a port is COM1..COM16 or a device path such as /dev/ttyUSB0; "
                           "program-cli ports lists this computer's\nsee program-cli --help\n";
    QTest::newRow("read from COM17") << L { "read", "--port", "COM17", "-o", "out.dat" } << good << 2 << beyond.arg("COM17");
    QTest::newRow("write to com0") << L { "write", "--port", "com0", "radio.dat" } << good << 2 << beyond.arg("com0");
    QTest::newRow("service on the long form of COM20")
        << L { "service", "read", "--port", "\\\\.\\COM20", "--access-code", "k719wd", "--area", "power", "radio.dat" }
        << good << 2 << beyond.arg("\\\\.\\COM20");
}
// clang-format on

void TestCli::failures()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    QFETCH(QString, message);
    QVERIFY(Write(m_File, file));
    for (QString& arg : args)
        if (arg.endsWith(".dat"))
            arg = m_Work.filePath(arg);
    const Run result = run(args);
    QCOMPARE(result.code, code);
    if (message.contains("%1"))
        message = message.arg(m_File);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(result.out, QString());
    QCOMPARE(Read(m_File), file);
    if (code == 2) // the one useful line, then where the rest is
        QVERIFY2(result.err.count('\n') == 2 && result.err.endsWith("\nsee program-cli --help\n"), qPrintable(result.err));
}

// Every command and option that --help lists is described in program-cli(1): a new option that is
// not in the manual page fails here.
void TestCli::manualCoversHelp()
{
    const QString help = run({ "--help" }).out;
    QFile file(QStringLiteral(PROGRAM_TEST_DATA "/../../packaging/man/program-cli.1"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The page as a reader sees it: no font changes, plain minus signs.
    QString manual = QString::fromUtf8(file.readAll());
    manual.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")))
        .replace(QStringLiteral("\\-"), QStringLiteral("-"));

    const qsizetype commandsAt = manual.indexOf(QStringLiteral(".SH COMMANDS"));
    QVERIFY(commandsAt >= 0);
    const QString commandSection
        = manual.mid(commandsAt, manual.indexOf(QStringLiteral("\n.SH "), commandsAt + 1) - commandsAt);
    QStringList missing;
    QSet<QString> commands;
    static const QRegularExpression usageLine(
        QStringLiteral("^\\s*program-cli ([a-z]+)"), QRegularExpression::MultilineOption);
    for (auto match = usageLine.globalMatch(help); match.hasNext();)
        commands << match.next().captured(1);
    for (const QString& command : std::as_const(commands)) {
        // A command has an entry of its own: a tagged paragraph starting with its name.
        const QRegularExpression entry(QStringLiteral("^\\.(?:B|BI|BR|TP)\\s+\"?%1\\b").arg(command),
            QRegularExpression::MultilineOption);
        if (!entry.match(commandSection).hasMatch())
            missing << command;
    }
    QSet<QString> options;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
    for (auto match = option.globalMatch(help); match.hasNext();)
        options << match.next().captured(1);
    for (const QString& name : std::as_const(options))
        if (!manual.contains(QRegularExpression(
                QStringLiteral("(?<![\\w-])%1(?![\\w-])").arg(QRegularExpression::escape(name)))))
            missing << name;
    // The help text was read: the commands and options every release has are among what was found.
    QVERIFY(commands.contains(QStringLiteral("log")) && commands.contains(QStringLiteral("service")));
    QVERIFY(options.contains(QStringLiteral("--port")) && options.contains(QStringLiteral("-o")));
    missing.sort();
    QVERIFY2(missing.isEmpty(),
        qPrintable(QStringLiteral("not in program-cli.1: ") + missing.join(QStringLiteral(", "))));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
