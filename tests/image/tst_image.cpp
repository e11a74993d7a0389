#include "app/Language.h"
#include "image/DataFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ImageMap;

namespace {

QByteArray bytesOf(const CRadioImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.Data().data()), kImageSize);
}

// A recognisable image: byte i holds i mod 251.
CRadioImage patternImage()
{
    CRadioImage image;
    for (int i = 0; i < kImageSize; ++i)
        image.SetByte(i, std::uint8_t(i % 251));
    return image;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestImage : public QObject
{
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
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void messages();
};

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

void TestImage::channelAndScanMap()
{
    QFETCH(int, channel);
    QFETCH(int, rxOffset);
    QFETCH(int, scanByte);
    QFETCH(int, scanBit);
    CRadioImage image = patternImage();
    QCOMPARE(image.ChannelRecord(channel)[0], image.Byte(rxOffset));
    image.SetByte(kScanFlags, 0);
    image.SetByte(kScanFlags + 1, 0);
    image.SetScanFlag(channel, true);
    QCOMPARE(int(image.Byte(scanByte)), 1 << scanBit);
    QVERIFY(image.ScanFlag(channel));
    image.SetByte(scanByte, 0xFF);
    image.SetScanFlag(channel, false);
    QCOMPARE(int(image.Byte(scanByte)), 0xFF & ~(1 << scanBit));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, image.ChannelRecord(17));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, image.Range(0, -1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, image.Range(1020, 5));
}

void TestImage::builtInDefaults()
{
    CRadioImage image = patternImage();
    image.ApplyDefaults();
    QByteArray expected(kImageSize, char(0xFF));
    const QByteArray options = QByteArray::fromHex("01 03 FF FF FF 05 01 01 FF FF 00 05 00");
    expected.replace(0x12F, options.size(), options);
    expected[0x161] = 0x00;
    expected[0x390] = char(0xF9);
    expected.replace(0x3E0, 27, QByteArray::fromHex("4D9BFF").repeated(9));
    QCOMPARE(bytesOf(image), expected);
}

void TestImage::newImageFromDefaultDat_data()
{
    QTest::addColumn<int>("fileSize"); // -1: no Default.dat
    QTest::addColumn<int>("bytesTaken");
    QTest::newRow("none: built-in defaults") << -1 << 0;
    QTest::newRow("528 bytes") << 528 << 512;
    QTest::newRow("header only") << 16 << 0;
    QTest::newRow("shorter than its header") << 10 << 0;
    QTest::newRow("full") << 1040 << 1024;
    QTest::newRow("longer") << 1100 << 1024;
}

void TestImage::newImageFromDefaultDat()
{
    QFETCH(int, fileSize);
    QFETCH(int, bytesTaken);
    QTemporaryDir dir;
    // The header of Default.dat is never examined.
    const QByteArray file = QByteArray("XXXX", 4) + bytesOf(patternImage()).repeated(2);
    if (fileSize >= 0)
        writeFile(dir.filePath("Default.dat"), file.left(fileSize));
    const CRadioImage image = DataFile::NewImage(dir.path());
    CRadioImage expected;
    if (fileSize < 0)
        expected.ApplyDefaults();
    else
        expected.Data() = patternImage().Data();
    QCOMPARE(bytesOf(image).left(bytesTaken), file.mid(16, bytesTaken));
    QCOMPARE(bytesOf(image).mid(bytesTaken), fileSize < 0 ? bytesOf(expected) : QByteArray(kImageSize - bytesTaken, char(0xFF)));
}

void TestImage::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("status");
    const QByteArray image = bytesOf(patternImage());
    const QByteArray header = QByteArray("Q707") + QByteArray(12, '\0');
    const int ok = int(DataFile::Status::Ok), format = int(DataFile::Status::FormatError),
              shortFile = int(DataFile::Status::TooShort);
    QTest::newRow("written form") << header + image << ok;
    QTest::newRow("any bytes after the magic") << QByteArray("Q707") + QByteArray(12, 'z') + image << ok;
    QTest::newRow("later bytes ignored") << header + image + "tail" << ok;
    QTest::newRow("first byte wrong") << QByteArray("X707") + QByteArray(12, '\0') + image << format;
    QTest::newRow("fourth byte wrong") << QByteArray("Q70x") + QByteArray(12, '\0') + image << format;
    QTest::newRow("lower case") << QByteArray("q707") + QByteArray(12, '\0') + image << format;
    QTest::newRow("100 bytes") << (header + image).left(100) << shortFile;
    QTest::newRow("1039 bytes") << (header + image).left(1039) << shortFile;
    QTest::newRow("header only") << header << shortFile;
    QTest::newRow("part of the magic") << QByteArray("Q7") << shortFile;
    QTest::newRow("empty") << QByteArray() << shortFile;
    QTest::newRow("short and foreign") << QByteArray("PK") << format;
}

void TestImage::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(int, status);
    CRadioImage image;
    image.ApplyDefaults();
    const CRadioImage before = image;
    QCOMPARE(int(DataFile::Parse(file, image).status), status);
    // Nothing is taken over from a file that is refused.
    QCOMPARE(bytesOf(image), status == int(DataFile::Status::Ok) ? file.mid(16, kImageSize) : bytesOf(before));
}

void TestImage::saveAndLoad()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.dat");
    writeFile(path, QByteArray(3000, 'x')); // a longer file is replaced, not overwritten in place
    QVERIFY(DataFile::Save(path, patternImage()).ok());
    QCOMPARE(readFile(path), QByteArray("Q707") + QByteArray(12, '\0') + bytesOf(patternImage()));
    CRadioImage loaded;
    QVERIFY(DataFile::Load(path, loaded).ok());
    QCOMPARE(loaded, patternImage());
    QCOMPARE(int(DataFile::Load(dir.filePath("missing.dat"), loaded).status), int(DataFile::Status::OpenFailed));
    QCOMPARE(int(DataFile::Load(dir.path(), loaded).status), int(DataFile::Status::OpenFailed));
    QCOMPARE(loaded, patternImage());
}

void TestImage::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<bool>("lockDirectory");
    QTest::newRow("directory not writable") << true;
    // No room for the temporary file's name beside a name of 250 characters.
    QTest::newRow("no temporary file") << false;
}

void TestImage::failedSaveKeepsOldFile()
{
    QFETCH(bool, lockDirectory);
    QTemporaryDir dir;
    const QString path = dir.filePath(lockDirectory ? QString("radio.dat") : QString(250, 'r'));
    const QByteArray old = QByteArray("Q707") + QByteArray(12, '\0') + QByteArray(kImageSize, 'o');
    writeFile(path, old);
    const QFile::Permissions permissions = QFile::permissions(dir.path());
    if (lockDirectory) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(dir.filePath("probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            QFile::setPermissions(dir.path(), permissions);
            QSKIP("running with rights that ignore directory permissions");
        }
    }
    const DataFile::Result result = DataFile::Save(path, patternImage());
    QFile::setPermissions(dir.path(), permissions);
    QCOMPARE(int(result.status), int(DataFile::Status::WriteFailed));
    QVERIFY(!result.detail.isEmpty());
    QCOMPARE(readFile(path), old);
}

void TestImage::messages()
{
    const DataFile::Result format { DataFile::Status::FormatError, {} };
    CLanguage::SetName("English");
    QCOMPARE(DataFile::Describe(format, "a.dat"), QStringLiteral("Data Format Error"));
    CLanguage::SetName("Chinese");
    QCOMPARE(DataFile::Describe(format, "a.dat"), QStringLiteral("数据格式不正确"));
    QCOMPARE(DataFile::Describe(format, "a.dat", false), QStringLiteral("Data Format Error"));
    CLanguage::SetName("English");
    QVERIFY(DataFile::Describe({ DataFile::Status::TooShort, {} }, "a.dat").contains("shorter than 1040 bytes"));
}

QTEST_GUILESS_MAIN(TestImage)
#include "tst_image.moc"
