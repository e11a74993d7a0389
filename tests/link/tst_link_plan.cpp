#include "config/IniFile.h"
#include "config/UserSettings.h"
#include "link/ClonePlan.h"
#include "link/PortName.h"
#include "tests/common/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(std::vector<CCloneSegment>)
Q_DECLARE_METATYPE(std::vector<CCloneBlock>)

class TestLinkPlan : public QObject {
    Q_OBJECT

private slots:
    // The rule that cuts address ranges into blocks: none across a 16-byte boundary, nothing outside
    // the image, empty ranges skipped. (The read and write plans themselves are pinned by the bytes
    // tst_link_transfer sees on the wire.)
    void planBlocks_data()
    {
        QTest::addColumn<std::vector<CCloneSegment>>("segments");
        QTest::addColumn<std::vector<CCloneBlock>>("blocks");
        using Blocks = std::vector<CCloneBlock>;
        using Segments = std::vector<CCloneSegment>;
        QTest::newRow("unaligned start") << Segments { { 5, 40 } } << Blocks { { 5, 11 }, { 16, 16 }, { 32, 8 } };
        QTest::newRow("inside one row") << Segments { { 0x102, 0x109 } } << Blocks { { 0x102, 7 } };
        QTest::newRow("two segments") << Segments { { 0x3D8, 0x3E4 }, { 0x3F0, 0x3FB } }
                                      << Blocks { { 0x3D8, 8 }, { 0x3E0, 4 }, { 0x3F0, 11 } };
        QTest::newRow("empty and reversed") << Segments { { 10, 10 }, { 30, 20 } } << Blocks {};
        QTest::newRow("beyond the image") << Segments { { -8, 4 }, { 1020, 1100 } } << Blocks { { 0, 4 }, { 1020, 4 } };
    }

    void planBlocks()
    {
        QFETCH(std::vector<CCloneSegment>, segments);
        QFETCH(std::vector<CCloneBlock>, blocks);
        QVERIFY(ClonePlan::PlanBlocks(segments) == blocks);
    }

    void portNames_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("device"); // with Ports COM3=/dev/ttyACM0 in Program.ini
        QTest::newRow("1") << 1 << "COM1" << "/dev/ttyUSB0";
        QTest::newRow("3 configured") << 3 << "COM3" << "/dev/ttyACM0";
        QTest::newRow("9") << 9 << "COM9" << "/dev/ttyUSB8";
        QTest::newRow("10 prefixed") << 10 << "\\\\.\\COM10" << "/dev/ttyUSB9";
        QTest::newRow("16") << 16 << "\\\\.\\COM16" << "/dev/ttyUSB15";
        QTest::newRow("0 unchecked") << 0 << "COM0" << "/dev/ttyUSB-1";
        QTest::newRow("20 unchecked") << 20 << "\\\\.\\COM20" << "/dev/ttyUSB19";
    }

    // The stored number becomes the name by the rule and the name a device by the configuration.
    void portNames()
    {
        QFETCH(int, number);
        QFETCH(QString, name);
        QFETCH(QString, device);
        QTemporaryDir dir;
        CIniFile ini;
        QVERIFY(TestFiles::Write(dir.filePath("Program.ini"), "[Ports]\nCOM3=/dev/ttyACM0\n"));
        QVERIFY(ini.Open(dir.filePath("Program.ini"), false, true, false));

        CUserSettings settings(QStringLiteral("LinkPlanTest"));
        CPortName::Choose(number, settings);
        CPortName::SetCurrent(QString());
        QCOMPARE(CPortName::LoadFromSettings(CUserSettings(QStringLiteral("LinkPlanTest"))), name);
        QCOMPARE(CPortName::Current(), name);
        QCOMPARE(CPortName::NumberOf(name), std::optional<int>(number));
#if !defined(Q_OS_WIN)
        QCOMPARE(CPortName::DevicePath(name, ini), device);
        QCOMPARE(CPortName::DevicePath(name.toLower(), ini), device);
#endif
    }

    void otherNames()
    {
        CIniFile ini;
        QCOMPARE(CPortName::LoadFromSettings(CUserSettings(QStringLiteral("LinkPlanTestNothingStored"))),
            QStringLiteral("COM1"));
        QCOMPARE(CPortName::NumberOf(QStringLiteral("/dev/ttyUSB0")), std::nullopt);
        QCOMPARE(CPortName::NumberOf(QStringLiteral("COMX")), std::nullopt);
#if !defined(Q_OS_WIN)
        for (const char *path : { "/dev/pts/7", "/tmp/COM3", "COM3x", "ttyS0" })
            QCOMPARE(CPortName::DevicePath(QLatin1String(path), ini), QLatin1String(path));
#endif
    }

    void portOverrides_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("rest");
        QTest::addColumn<QStringList>("rejected");
        QTest::addColumn<QString>("com1"); // the device COM1 opens afterwards
        QTest::addColumn<bool>("virtualRadio");
        using L = QStringList;
        const L none;
        // clang-format off
        QTest::newRow("none") << L { "radio.dat" } << L { "radio.dat" } << none << "/dev/ttyUSB0" << false;
        QTest::newRow("port") << L { "--port", "COM1=/dev/pts/4", "radio.dat" } << L { "radio.dat" } << none << "/dev/pts/4" << false;
        QTest::newRow("virtual radio, any case") << L { "--virtual-radio", "com1=/dev/pts/5" } << none << none << "/dev/pts/5" << true;
        QTest::newRow("last one counts") << L { "--port", "COM1=/a", "--virtual-radio", "COM1=/b" } << none << none << "/b" << true;
        QTest::newRow("other port") << L { "--port", "COM12=/dev/ttyACM0" } << none << none << "/dev/ttyUSB0" << false;
        QTest::newRow("malformed") << L { "--port", "/dev/pts/4", "--port", "COM0=/x", "--port", "COM2=", "--port" } << none
                                   << L { "--port /dev/pts/4", "--port COM0=/x", "--port COM2=", "--port" } << "/dev/ttyUSB0" << false;
        // clang-format on
    }

    // A device given for this run comes before Program.ini and the /dev/ttyUSB rule, and only for its
    // own COM number.
    void portOverrides()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, rest);
        QFETCH(QStringList, rejected);
        QFETCH(QString, com1);
        QFETCH(bool, virtualRadio);
        QTemporaryDir dir;
        CIniFile ini;
        QVERIFY(TestFiles::Write(dir.filePath("Program.ini"), "[Ports]\nCOM12=/dev/ttyS3\n"));
        QVERIFY(ini.Open(dir.filePath("Program.ini"), false, true, false));

        CPortName::ClearOverrides();
        QStringList refused;
        QCOMPARE(CPortName::TakeOverrideOptions(arguments, &refused), rest);
        QCOMPARE(refused, rejected);
#if !defined(Q_OS_WIN)
        QCOMPARE(CPortName::DevicePath(QStringLiteral("COM1"), ini), com1);
        QCOMPARE(CPortName::DevicePath(QStringLiteral("COM2"), ini), QStringLiteral("/dev/ttyUSB1"));
        QCOMPARE(CPortName::DevicePath(QStringLiteral("\\\\.\\COM12"), ini),
            arguments.contains(QStringLiteral("COM12=/dev/ttyACM0")) ? QStringLiteral("/dev/ttyACM0")
                                                                     : QStringLiteral("/dev/ttyS3"));
#endif
        QCOMPARE(CPortName::OverrideFor(1).has_value() && CPortName::OverrideFor(1)->virtualRadio, virtualRadio);

        // A program restarted with OverrideOptions() sees the same devices.
        const QString notice = CPortName::OverrideNotice(false);
        const QStringList options = CPortName::OverrideOptions();
        CPortName::ClearOverrides();
        QCOMPARE(CPortName::TakeOverrideOptions(options, &refused), QStringList());
        QCOMPARE(refused, rejected);
        QCOMPARE(CPortName::OverrideNotice(false), notice);
        CPortName::ClearOverrides();
    }
};

QTEST_GUILESS_MAIN(TestLinkPlan)
#include "tst_link_plan.moc"
