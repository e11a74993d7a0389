#include "config/FileName.h"
#include "config/Language.h"
#include "config/SafeFile.h"
#include "config/UserFront.h"
#include "image/DataFile.h"
#include "image/ForeignFile.h"
#include "image/ImageField.h"
#include "image/TableOrigin.h"
#include "tests/common/TestFiles.h"

#include <QOperatingSystemVersion>
#include <QTemporaryDir>
#include <QTest>

using namespace ImageMap;
using namespace TestFiles;

namespace {

QByteArray bytesOf(const CRadioImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.Data().data()), kImageSize);
}

// A recognisable image: byte i holds i mod 251.
CRadioImage patternImage()
{
    CRadioImage image;
    for (int i = 0; i < kImageSize; ++i)
        image.SetByte(i, std::uint8_t(i % 251));
    return image;
}

} // namespace

class TestImage : public QObject {
    Q_OBJECT

private slots:
    void channelAndScanMap_data();
    void channelAndScanMap();
    void builtInDefaults();
    void newImageFromDefaultDat_data();
    void newImageFromDefaultDat();
    void parse_data();
    void parse();
    void saveAndLoad();
    void messages_data();
    void messages();
    void importHintQuoting_data();
    void importHintQuoting();
    void tableOrigin_data();
    void tableOrigin();
    void fieldNames_data();
    void fieldNames();
};

// clang-format off
void TestImage::channelAndScanMap_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("rxOffset");
    QTest::addColumn<int>("scanByte");
    QTest::addColumn<int>("scanBit");
    QTest::newRow("1") << 1 << 0x010 << 0x17E << 0;
    QTest::newRow("8") << 8 << 0x080 << 0x17E << 7;
    QTest::newRow("9") << 9 << 0x090 << 0x17F << 0;
    QTest::newRow("16") << 16 << 0x100 << 0x17F << 7;
}
// clang-format on

void TestImage::channelAndScanMap()
{
    QFETCH(int, channel);
    QFETCH(int, rxOffset);
    QFETCH(int, scanByte);
    QFETCH(int, scanBit);
    CRadioImage image = patternImage();
    QCOMPARE(image.ChannelRecord(channel)[0], image.Byte(rxOffset));
    image.SetByte(scanByte, 0);
    image.SetScanFlag(channel, true);
    QCOMPARE(int(image.Byte(scanByte)), 1 << scanBit);
    image.SetByte(scanByte, 0xFF);
    image.SetScanFlag(channel, false);
    QCOMPARE(int(image.Byte(scanByte)), 0xFF & ~(1 << scanBit));
    QVERIFY(!image.ScanFlag(channel));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, image.Range(0, -1));
}

void TestImage::builtInDefaults()
{
    CRadioImage image = patternImage();
    image.ApplyDefaults();
    QByteArray expected(kImageSize, char(0xFF));
    expected.replace(0x12F, 13, Hex("01 03 FF FF FF 05 01 01 FF FF 00 05 00")); // the options
    expected[0x161] = 0x00;
    expected[0x390] = char(0xF9);
    expected.replace(0x3E0, 27, Hex("4D9BFF").repeated(9));
    QCOMPARE(bytesOf(image), expected);
}

// clang-format off
void TestImage::newImageFromDefaultDat_data()
{
    QTest::addColumn<int>("fileSize"); // -1: no Default.dat
    QTest::addColumn<int>("bytesTaken");
    QTest::newRow("none: built-in defaults") << -1 << 0;
    QTest::newRow("528 bytes") << 528 << 512;
    QTest::newRow("header only") << 16 << 0;
    QTest::newRow("shorter than its header") << 10 << 0;
    QTest::newRow("longer than a data file") << 1100 << 1024;
}
// clang-format on

void TestImage::newImageFromDefaultDat()
{
    QFETCH(int, fileSize);
    QFETCH(int, bytesTaken);
    QTemporaryDir dir;
    // The header of Default.dat is never examined.
    const QByteArray file = "XXXX" + bytesOf(patternImage()).repeated(2);
    if (fileSize >= 0)
        QVERIFY(Write(dir.filePath("Default.dat"), file.left(fileSize)));
    CRadioImage defaults;
    defaults.ApplyDefaults();
    const QByteArray rest
        = fileSize < 0 ? bytesOf(defaults) : QByteArray(kImageSize - bytesTaken, char(0xFF));
    QCOMPARE(bytesOf(DataFile::NewImage(dir.path())), file.mid(16, bytesTaken) + rest);
}

// clang-format off
void TestImage::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("status");
    const QByteArray good = DataFileBytes(bytesOf(patternImage()));
    const int ok = int(DataFile::Status::Ok), foreign = int(DataFile::Status::FormatError),
              tooShort = int(DataFile::Status::TooShort);
    QTest::newRow("written form") << good << ok;
    QTest::newRow("any bytes after the magic") << good.left(4) + QByteArray(12, 'z') + good.mid(16) << ok;
    QTest::newRow("later bytes ignored") << good + "tail" << ok;
    QTest::newRow("first byte wrong") << "X" + good.mid(1) << foreign;
    QTest::newRow("fourth byte wrong") << "Q70x" + good.mid(4) << foreign;
    QTest::newRow("lower case") << "q" + good.mid(1) << foreign;
    QTest::newRow("1039 bytes") << good.left(1039) << tooShort;
    QTest::newRow("part of the magic") << good.left(2) << tooShort;
    QTest::newRow("empty") << QByteArray() << tooShort;
    QTest::newRow("short and foreign") << QByteArray("PK") << foreign;
}
// clang-format on

void TestImage::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(int, status);
    CRadioImage image;
    image.ApplyDefaults();
    const QByteArray before = bytesOf(image);
    QCOMPARE(int(DataFile::Parse(file, image).status), status);
    // Nothing is taken over from a file that is refused.
    QCOMPARE(bytesOf(image), status == int(DataFile::Status::Ok) ? file.mid(16, kImageSize) : before);
}

void TestImage::saveAndLoad()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.dat");
    QVERIFY(Write(path, QByteArray(3000, 'x'))); // a longer file is replaced, not overwritten in place
    QVERIFY(DataFile::Save(path, patternImage()).ok());
    QCOMPARE(Read(path), DataFileBytes(bytesOf(patternImage())));
    CRadioImage loaded;
    QVERIFY(DataFile::Load(path, loaded).ok());
    QCOMPARE(loaded, patternImage());
    QCOMPARE(
        int(DataFile::Load(dir.filePath("missing.dat"), loaded).status), int(DataFile::Status::OpenFailed));
    QCOMPARE(int(DataFile::Load(dir.path(), loaded).status), int(DataFile::Status::OpenFailed));
    QCOMPARE(loaded, patternImage());
}

// clang-format off
void TestImage::messages_data()
{
    QTest::addColumn<QByteArray>("file"); // written as the file opened
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("commandLine");
    QTest::addColumn<QString>("why"); // the line after the fixed text, after the file's path
    QTest::addColumn<QString>("hint"); // the line after that; empty: none
    const QString window = "It looks like a channel list (CSV): open a data file, then use File > Import CSV to bring these channels in.";
    const QByteArray list = "Location,Name,Frequency\n1,,146.520000\n";
    QTest::newRow("channel list")
        << list << "English" << false
        << " is not a data file of this radio: it starts with 4C 6F 63 61 74 69 6F 6E (\"Location\") and holds 38 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << window;
    QTest::newRow("channel list, program-cli")
        << list << "English" << true
        << " is not a data file of this radio: it starts with 4C 6F 63 61 74 69 6F 6E (\"Location\") and holds 38 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << "It looks like a channel list (CSV): bring it into a data file with program-cli import FILE.dat \"<path>\"";
    QTest::newRow("channel list with a BOM, Chinese")
        << QByteArray("\xEF\xBB\xBF" "CH,Rx\n1,146.5\n") << "Chinese" << false
        << " 不是本电台的数据文件: 它以 EF BB BF 43 48 2C 52 78 开头, 共 17 字节; 数据文件以 Q707 开头, 共 1,040 字节。"
        << "它看起来是信道列表 (CSV): 请先打开数据文件, 再用 文件 > 导入 CSV 导入这些信道。";
    // Only the first 1040 bytes are read: a character cut there still leaves the text a channel list.
    QTest::newRow("long channel list cut inside a character")
        << QByteArray("A,BC\n") + QByteArray("\xC3\xA9").repeated(600) << "English" << false
        << " is not a data file of this radio: it starts with 41 2C 42 43 0A C3 A9 C3 and holds 1,205 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << window;
    // Chinese names are three bytes a character: the cut, and a file of exactly 1040 bytes, fall
    // inside or right after one.
    QTest::newRow("long Chinese channel list cut inside a character")
        << QByteArray("A,B\n") + QByteArray("\xE4\xB8\xAD").repeated(400) << "English" << false
        << " is not a data file of this radio: it starts with 41 2C 42 0A E4 B8 AD E4 and holds 1,204 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << window;
    QTest::newRow("channel list of exactly 1040 bytes")
        << QByteArray("A,B\n") + QByteArray("\xC3\xA9").repeated(518) << "English" << false
        << " is not a data file of this radio: it starts with 41 2C 42 0A C3 A9 C3 A9 and holds 1,040 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << window;
    QTest::newRow("archive")
        << QByteArray("PK\x03\x04", 4) + QByteArray(996, '\0') << "English" << false
        << " is not a data file of this radio: it starts with 50 4B 03 04 00 00 00 00 and holds 1,000 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << "";
    QTest::newRow("long text without commas")
        << QByteArray("hello world\n").repeated(200) << "English" << false
        << " is not a data file of this radio: it starts with 68 65 6C 6C 6F 20 77 6F (\"hello wo\") and holds 2,400 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << "";
    QTest::newRow("binary with a comma")
        << QByteArray("\x01,abc") << "English" << false
        << " is not a data file of this radio: it starts with 01 2C 61 62 63 and holds 5 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << "";
    QTest::newRow("comma text, not UTF-8")
        << QByteArray("Name,Caf\xE9\n") << "English" << false
        << " is not a data file of this radio: it starts with 4E 61 6D 65 2C 43 61 66 (\"Name,Caf\") and holds 10 bytes; a data file starts with Q707 and holds 1,040 bytes."
        << "";
}
// clang-format on

// "Data Format Error" stays the first line; the next says which file and what it holds, and a channel
// list is pointed at the import of the program that opened it.
void TestImage::messages()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, language);
    QFETCH(bool, commandLine);
    QFETCH(QString, why);
    QFETCH(QString, hint);
    QTemporaryDir dir;
    // Blanks are quoted in program-cli's line; a name that is not UTF-8 is told with its size all the same
    // (Windows names are UTF-16: such a name cannot exist there).
    const bool windows = QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows;
    QStringList paths { dir.filePath("my channels.csv") };
    if (!windows)
        paths << dir.filePath(FileName::FromBytes("my channels \xff.csv"));
    for (const QString& path : paths) {
        QCOMPARE(SafeFile::Write(path, file), QString());
        CRadioImage image;
        const DataFile::Result loaded = DataFile::Load(path, image);
        QCOMPARE(int(loaded.status), int(DataFile::Status::FormatError));
        CLanguage::SetName(language);
        UserFront::Set(commandLine ? UserFront::Kind::CommandLine : UserFront::Kind::Window);
        const QString shown = FileName::Display(path);
        QStringList lines = { language == "Chinese" ? "数据格式不正确" : "Data Format Error", shown + why };
        // The escaped byte's backslash would act inside a POSIX shell's double quotes: that name goes in
        // single ones. On Windows a backslash is a plain character of the path.
        const bool single = shown.contains('\\') && !windows;
        if (!hint.isEmpty())
            lines << QString(hint).replace(single ? "\"<path>\"" : "<path>", single ? "'" + shown + "'" : shown);
        QCOMPARE(DataFile::Describe(loaded, path), lines.join('\n'));
    }
    UserFront::Set(UserFront::Kind::Window);
    CLanguage::SetName("English");
}

void TestImage::tableOrigin_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("text");
    const QString fromFile = QStringLiteral("Power and alignment tables: from the file radio.dat.");
    const QString firstRead = QStringLiteral("Power and alignment tables: read from a radio at 2026-12-08 03:50:12.");
    QTest::newRow("new document") << QStringList { "new" } << false
                                  << "Power and alignment tables: never read from a radio (a new document).";
    QTest::newRow("opened, a channel edited") << QStringList { "open", "channel" } << false << fromFile;
    QTest::newRow("read after opening") << QStringList { "open", "read" } << false << firstRead;
    QTest::newRow("the read undone") << QStringList { "open", "read", "back to file" } << false << fromFile;
    QTest::newRow("power tuned after a read")
        << QStringList { "open", "read", "tune power" } << false
        << "Power table: changed in this program since it was opened or read.\n"
           "Alignment table: read from a radio at 2026-12-08 03:50:12.";
    QTest::newRow("a later read of the same tables")
        << QStringList { "open", "read", "read again" } << false
        << "Power and alignment tables: read from a radio at 2026-12-08 04:00:00.";
    QTest::newRow("power table read in its dialog: the alignment table keeps its source")
        << QStringList { "open", "read power" } << false
        << "Power table: read from a radio at 2026-12-08 05:00:00.\nAlignment table: from the file "
           "radio.dat.";
    QTest::newRow("a new document forgets the reads") << QStringList { "open", "read", "new" } << false
                                                      << "Power and alignment tables: never read from a radio (a new document).";
    QTest::newRow("Chinese, band class byte set in a new document")
        << QStringList { "new", "tune alignment" } << true << "功率表: 从未从电台读取 (新文档)。\n校准表: 打开或读取后已在本程序中修改。";
}

// The source named is the latest whose table bytes the image still holds.
void TestImage::tableOrigin()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, chinese);
    QFETCH(QString, text);
    CRadioImage opened;
    opened.SetByte(0x300, 0x11);
    opened.SetByte(0x3E0, 0x22);
    CRadioImage image;
    CTableOrigin origin;
    for (const QString& step : steps) {
        if (step == "new") {
            image = CRadioImage();
            origin.Reset(CTableOrigin::Kind::NeverRead, image);
        } else if (step == "open" || step == "back to file") {
            image = opened;
            if (step == "open")
                origin.Reset(CTableOrigin::Kind::File, image, "radio.dat");
        } else if (step == "read") {
            image.SetByte(0x31F, 0x33); // last alignment byte
            image.SetByte(0x3FA, 0x44); // last power byte a read brings
            origin.AddRead(image, QDateTime(QDate(2026, 12, 8), QTime(3, 50, 12)));
        } else if (step == "read again") {
            origin.AddRead(image, QDateTime(QDate(2026, 12, 8), QTime(4, 0, 0)));
        } else if (step == "read power") {
            image.SetByte(0x3E5, 0x55);
            origin.AddRead(image, QDateTime(QDate(2026, 12, 8), QTime(5, 0, 0)), CTableOrigin::Tables::Power);
        } else if (step == "tune power") {
            image.SetByte(0x3E0, 0x23);
        } else if (step == "tune alignment") {
            image.SetByte(0x30E, 8);
        } else if (step == "channel") {
            image.SetByte(0x10, 0x25);
        }
    }
    QCOMPARE(origin.Describe(image, chinese), text);
}

// What a single address is called where a verify names it: worked out from the memory layout by hand.
void TestImage::fieldNames_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("name");
    QTest::newRow("0x092: row 9, byte 2") << 0x092 << false << "channel 9's receive frequency";
    QTest::newRow("0x010: the first channel's first byte") << 0x010 << false << "channel 1's receive frequency";
    QTest::newRow("0x107: channel 16's last transmit byte") << 0x107 << false << "channel 16's transmit frequency";
    QTest::newRow("0x0AB: channel 10's encode tone, high byte") << 0x0AB << false << "channel 10's encode tone";
    QTest::newRow("0x03D: channel 3's bandwidth and power") << 0x03D << false << "channel 3's bandwidth and power";
    QTest::newRow("0x04F: byte 15 of channel 4") << 0x04F << false << "channel 4 (byte 15 of its record)";
    QTest::newRow("0x005: row 0 is no channel") << 0x005 << false << "a byte with no setting of its own";
    QTest::newRow("0x17F: the second scan byte") << 0x17F << false << "the scan list";
    QTest::newRow("0x30E inside the alignment") << 0x30E << false << "the narrow squelch threshold and band class (alignment)";
    QTest::newRow("0x31F: the last alignment byte") << 0x31F << false << "the receiver and transmitter alignment";
    QTest::newRow("0x32F") << 0x32F << false << "the frequency band";
    QTest::newRow("0x3E5: power entry 2") << 0x3E5 << false << "the transmitter power table, entry 2";
    QTest::newRow("0x3FB: after the power table") << 0x3FB << false << "a byte with no setting of its own";
    QTest::newRow("Chinese, 0x092") << 0x092 << true << QString::fromUtf8("信道 9 的接收频率");
}

void TestImage::fieldNames()
{
    QFETCH(int, address);
    QFETCH(bool, chinese);
    QFETCH(QString, name);
    QCOMPARE(ImageField::Describe(address, chinese), name);
}

// program-cli's hint names the channel list so that the line can be typed as it stands: a name the
// shell would split, expand or run a command from is quoted so that it reaches program-cli whole.
void TestImage::importHintQuoting_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown"); // as it stands after "program-cli import FILE.dat "
    QTest::newRow("plain") << "/tmp/list-2.csv" << "/tmp/list-2.csv";
    QTest::newRow("Chinese name") << QString::fromUtf8("/tmp/信道.csv") << QString::fromUtf8("/tmp/信道.csv");
    QTest::newRow("a blank") << "/tmp/my channels.csv" << "\"/tmp/my channels.csv\"";
    QTest::newRow("a semicolon") << "/tmp/a;b.csv" << "\"/tmp/a;b.csv\"";
    QTest::newRow("an apostrophe") << "/tmp/Bob's.csv" << "\"/tmp/Bob's.csv\"";
    QTest::newRow("a command in $()") << "/tmp/$(touch x).csv" << "'/tmp/$(touch x).csv'";
    QTest::newRow("backquotes") << "/tmp/`id`.csv" << "'/tmp/`id`.csv'";
    QTest::newRow("double quotes") << "/tmp/say \"hi\".csv" << "'/tmp/say \"hi\".csv'";
    QTest::newRow("an apostrophe and a dollar") << "/tmp/it's $5.csv" << "'/tmp/it'\\''s $5.csv'";
}

void TestImage::importHintQuoting()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);
    if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows)
        QSKIP("These rows are the quoting of POSIX shells; cmd.exe takes double quotes only");
    UserFront::Set(UserFront::Kind::CommandLine);
    QCOMPARE(ForeignFile::ImportHint(path, false),
        "It looks like a channel list (CSV): bring it into a data file with program-cli import FILE.dat " + shown);
    UserFront::Set(UserFront::Kind::Window);
}

QTEST_GUILESS_MAIN(TestImage)
#include "tst_image.moc"
