#include "cli/CliContext.h"
#include "config/AppPaths.h"
#include "config/UserSettings.h"
#include "image/RadioImage.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace TestFiles;
using CliRun::Run;
using CliRun::run;

namespace {

// Every option byte set by hand, some outside their lists; type 0, band 1 ("136 - 174MHz").
QByteArray baseImage()
{
    CRadioImage image;
    image.ApplyDefaults();
    QByteArray bytes(reinterpret_cast<const char*>(image.Data().data()), ImageMap::kImageSize);
    bytes[0x12F] = 1; // voice Chinese
    bytes[0x130] = 3; // 45s
    bytes[0x134] = 5; // squelch 5
    bytes[0x135] = 5; // saver: any non-zero is On
    bytes[0x136] = 0; // beep Off
    bytes[0x139] = 5; // VOX outside its list
    bytes[0x13A] = 0; // vox gain outside its list
    bytes[0x13B] = 2; // 1.0s
    bytes[0x161] = 16; // priority 16
    bytes[0x390] = 0x0A; // side key Off, other bits set
    bytes[0x30E] = 0x55; // narrow squelch threshold
    bytes[0x32E] = 0;
    bytes[0x32F] = 1;
    return bytes;
}

using Changes = QList<QPair<int, int>>; // offset, new byte

} // namespace

// program-cli options and product against hand-computed bytes.
class TestSettingsCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Three types, bands in the 100, 300, 400 and 800 MHz classes.
        QVERIFY(Write(m_ExeDir.filePath("Program.ini"),
            "[Setup]\nAppName=Settings Cli Test\nLanguage=English\n"
            "Type1=QR-260\nField1=130 - 160MHz|136 - 174MHz|400 - 470MHz\n"
            "Type2=QR-460\nField2=400 - 470MHz|450 - 520MHz\n"
            "Type3=QR-860\nField3=806 - 870MHz|350 - 390MHz\n"));
        CAppPaths::SetExecutableDir(m_ExeDir.path());
        qputenv("XDG_CONFIG_HOME", m_Work.filePath("config").toUtf8());
    }

    void init()
    {
        m_File = m_Work.filePath("radio.dat");
        QVERIFY(Write(m_File, DataFileBytes(baseImage())));
    }

    // What options and product print and store, as the dialogs' OK does: assignments store all ten
    // fields (the saver byte 5 becomes 1, bytes outside their lists, VOX 5 and vox gain 0, stay).
    void command_data()
    {
        QTest::addColumn<QStringList>("args"); // the file goes after the command
        QTest::addColumn<QString>("out"); // null: not looked at
        QTest::addColumn<Changes>("changes");

        const Changes saver { { 0x135, 1 } };
        QTest::newRow("english")
            << QStringList { "options" }
            << "Time Out Time: 45s\nSquelch Level: 5\nVoice Annunciation: Chinese\n"
               "Priority Channel: 16\nVOX: unlisted (0x05)\nVox Gain Level: unlisted (0x00)\n"
               "Vox Delay Time: 1.0s\nSide Key: Off\nBeep: Off\nBattery Saver: On\n"
            << Changes {};
        QTest::newRow("chinese")
            << QStringList { "options", "--lang", "chinese" }
            << "超时定时器: 45s\n静噪电平: 5\n语音报号: 中文\n优先信道: 16\n声控: 未列出 (0x05)\n"
               "声控增益电平: 未列出 (0x00)\n声控延迟时间: 1.0s\n侧键: 关闭\n哔音: 关\n电池省电: 开\n"
            << Changes {};
        QTest::newRow("tot 600s") << QStringList { "options", "tot=600s" } << QString()
                                  << saver + Changes { { 0x130, 40 } };
        QTest::newRow("tot 15s") << QStringList { "options", "tot=15s" } << QString()
                                 << saver + Changes { { 0x130, 1 } };
        QTest::newRow("voice in chinese")
            << QStringList { "options", "voice=英文" } << QString() << saver + Changes { { 0x12F, 2 } };
        QTest::newRow("side key keeps other bits") << QStringList { "options", "sidekey=Monitor Momentary" }
                                                   << QString() << saver + Changes { { 0x390, 0x2A } };
        QTest::newRow("side key alarm") << QStringList { "options", "sidekey=紧急报警" } << QString()
                                        << saver + Changes { { 0x390, 0x3A } };
        QTest::newRow("vox on stores 1")
            << QStringList { "options", "vox=On" } << QString() << saver + Changes { { 0x139, 1 } };
        QTest::newRow("vox off stores 0")
            << QStringList { "options", "vox=off" } << QString() << saver + Changes { { 0x139, 0 } };
        QTest::newRow("several") << QStringList { "options", "sql=9", "priority=关", "voxgain=8",
            "voxdelay=3.0s", "beep=On", "saver=Off" }
                                 << QString()
                                 << Changes { { 0x134, 9 }, { 0x161, 0 }, { 0x13A, 8 }, { 0x13B, 5 },
                                        { 0x136, 1 }, { 0x135, 0 } };
        QTest::newRow("last of a name wins")
            << QStringList { "options", "sql=1", "sql=2" } << QString() << saver + Changes { { 0x134, 2 } };
        QTest::newRow("same values") << QStringList { "options", "tot=45s" } << QString() << saver;
        QTest::newRow("print only") << QStringList { "product" } << "Type: QR-260\nFrequency: 136 - 174MHz\n"
                                    << Changes {};
        QTest::newRow("same type keeps band")
            << QStringList { "product", "--type", "QR-260" } << "Type: QR-260\nFrequency: 136 - 174MHz\n"
            << Changes {};
        QTest::newRow("other type starts on band 1, 400s class")
            << QStringList { "product", "--type", "QR-460" } << "Type: QR-460\nFrequency: 400 - 470MHz\n"
            << Changes { { 0x32E, 1 }, { 0x32F, 0 }, { 0x30E, 8 } };
        QTest::newRow("type and band by number") << QStringList { "product", "--type", "2", "--band", "2" }
                                                 << "Type: QR-460\nFrequency: 450 - 520MHz\n"
                                                 << Changes { { 0x32E, 1 }, { 0x32F, 1 }, { 0x30E, 8 } };
        QTest::newRow("band in the same class") << QStringList { "product", "--band", "130 - 160MHz" }
                                                << "Type: QR-260\nFrequency: 130 - 160MHz\n"
                                                << Changes { { 0x32F, 0 } };
        QTest::newRow("band in the 400s") << QStringList { "product", "--band", "400 - 470MHz" }
                                          << "Type: QR-260\nFrequency: 400 - 470MHz\n"
                                          << Changes { { 0x32F, 2 }, { 0x30E, 8 } };
        QTest::newRow("800s class leaves 0x30E")
            << QStringList { "product", "--type", "QR-860" } << "Type: QR-860\nFrequency: 806 - 870MHz\n"
            << Changes { { 0x32E, 2 }, { 0x32F, 0 } };
        QTest::newRow("chinese labels") << QStringList { "product", "--lang", "chinese", "--band", "1" }
                                        << "类型: QR-260\n频率: 130 - 160MHz\n"
                                        << Changes { { 0x32F, 0 } };
        QTest::newRow("300s class") << QStringList { "product", "--type", "3", "--band", "350 - 390MHz" }
                                    << "Type: QR-860\nFrequency: 350 - 390MHz\n"
                                    << Changes { { 0x32E, 2 }, { 0x32F, 1 }, { 0x30E, 8 } };
    }

    void command()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, out);
        QFETCH(Changes, changes);
        args.insert(1, m_File);
        const Run result = run(args);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.code, 0);
        if (!out.isNull())
            QCOMPARE(result.out, out);
        QByteArray expected = baseImage();
        for (const auto& [offset, value] : changes)
            expected[offset] = char(value);
        QCOMPARE(Read(m_File), DataFileBytes(expected));
        // The command line never changes this user's settings.
        QVERIFY(!QDir(m_Work.filePath("config")).exists());
    }

    // Refused input: a message naming what is allowed, the exit status, and the file as it was.
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");

        QTest::newRow("tot not an item")
            << QStringList { "options", "FILE", "sql=2", "tot=601s" } << 1 << "allowed: 15s, 30s, 45s";
        QTest::newRow("side key not an item") << QStringList { "options", "FILE", "sidekey=Alarm" } << 1
                                              << "Off, Monitor, Monitor Momentary, Emergency Alarm";
        QTest::newRow("unknown option name")
            << QStringList { "options", "FILE", "squelch=2" } << 2 << "known NAME";
        QTest::newRow("options bad lang")
            << QStringList { "options", "FILE", "--lang", "french" } << 2 << "--lang";
        QTest::newRow("unknown type") << QStringList { "product", "FILE", "--type", "QR-999" } << 1
                                      << "1 \"QR-260\", 2 \"QR-460\", 3 \"QR-860\"";
        QTest::newRow("type number 0") << QStringList { "product", "FILE", "--type", "0" } << 1 << "QR-260";
        QTest::newRow("band past the list")
            << QStringList { "product", "FILE", "--band", "4" } << 1 << "3 \"400 - 470MHz\"";
        QTest::newRow("band of the old type") << QStringList { "product", "FILE", "--type", "QR-860",
            "--band", "136 - 174MHz" } << 1 << "1 \"806 - 870MHz\", 2 \"350 - 390MHz\"";
        QTest::newRow("type without text") << QStringList { "product", "FILE", "--type" } << 2 << "--type";
        QTest::newRow("product without file") << QStringList { "product" } << 2 << "needs a FILE";
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, err);
        args.replaceInStrings(QRegularExpression("^FILE$"), m_File);
        const Run result = run(args);
        QCOMPARE(result.code, code);
        QVERIFY2(result.err.contains(err), qPrintable(result.err));
        QCOMPARE(result.out, QString());
        QCOMPARE(Read(m_File), DataFileBytes(baseImage()));
    }

    // show prints the same options block as before.
    void showKeepsItsOptionsBlock()
    {
        const Run result = run({ "show", m_File });
        QCOMPARE(result.code, 0);
        QVERIFY2(result.out.endsWith(
                     "Type: QR-260\nFrequency: 136 - 174MHz\nTime Out Time: 45s\nSquelch Level: 5\n"
                     "Voice Annunciation: Chinese\nPriority Channel: 16\n"
                     "VOX: (not in the list: byte 0x05)\nVox Gain Level: (not in the list: byte 0x00)\n"
                     "Vox Delay Time: 1.0s\nSide Key: Off\nBeep: Off\nBattery Saver: On\n"),
            qPrintable(result.out));
    }

private:
    QTemporaryDir m_ExeDir;
    QTemporaryDir m_Work;
    QString m_File;
};

QTEST_GUILESS_MAIN(TestSettingsCli)
#include "tst_settings_cli.moc"
