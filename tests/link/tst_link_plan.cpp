#include "config/IniFile.h"
#include "config/UserSettings.h"
#include "link/ClonePlan.h"
#include "link/PortName.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(std::vector<CCloneSegment>)
Q_DECLARE_METATYPE(std::vector<CCloneBlock>)

class TestLinkPlan : public QObject {
    Q_OBJECT

private slots:
    void planBlocks_data()
    {
        QTest::addColumn<std::vector<CCloneSegment>>("segments");
        QTest::addColumn<int>("count");
        // Blocks checked one by one from index `at`, and the last ones; the rest of the plan must only
        // obey the block rule.
        QTest::addColumn<int>("at");
        QTest::addColumn<std::vector<CCloneBlock>>("run");
        QTest::addColumn<std::vector<CCloneBlock>>("tail");
        using Blocks = std::vector<CCloneBlock>;

        QTest::newRow("read") << ClonePlan::ReadPlan() << 64 << 0 << Blocks { { 0, 16 }, { 16, 16 } }
                              << Blocks { { 0x3E0, 16 }, { 0x3F0, 11 } };
        QTest::newRow("write") << ClonePlan::WritePlan(false) << 60 << 47
                               << Blocks { { 0x2F0, 16 }, { 0x320, 16 } }
                               << Blocks { { 0x3C0, 16 }, { 0x3D0, 16 } };
        QTest::newRow("write with service access")
            << ClonePlan::WritePlan(true) << 64 << 47 << Blocks { { 0x2F0, 16 }, { 0x300, 16 } }
            << Blocks { { 0x3F0, 11 } };
        QTest::newRow("unaligned start") << std::vector<CCloneSegment> { { 5, 40 } } << 3 << 0
                                         << Blocks { { 5, 11 }, { 16, 16 }, { 32, 8 } } << Blocks {};
        QTest::newRow("inside one row") << std::vector<CCloneSegment> { { 0x102, 0x109 } } << 1 << 0
                                        << Blocks { { 0x102, 7 } } << Blocks {};
        QTest::newRow("empty and reversed")
            << std::vector<CCloneSegment> { { 10, 10 }, { 30, 20 } } << 0 << 0 << Blocks {} << Blocks {};
        QTest::newRow("beyond the image") << std::vector<CCloneSegment> { { -8, 4 }, { 1020, 1100 } } << 2
                                          << 0 << Blocks { { 0, 4 }, { 1020, 4 } } << Blocks {};
    }

    void planBlocks()
    {
        QFETCH(std::vector<CCloneSegment>, segments);
        QFETCH(int, count);
        QFETCH(int, at);
        QFETCH(std::vector<CCloneBlock>, run);
        QFETCH(std::vector<CCloneBlock>, tail);
        const std::vector<CCloneBlock> blocks = ClonePlan::PlanBlocks(segments);
        QCOMPARE(int(blocks.size()), count);
        QVERIFY(std::equal(run.begin(), run.end(), blocks.begin() + at));
        QVERIFY(std::equal(tail.rbegin(), tail.rend(), blocks.rbegin()));

        // Every address of every segment exactly once, in order, no block across a 16-byte boundary.
        std::vector<int> expected, covered;
        for (const CCloneSegment &s : segments)
            for (int a = std::max(s.start, 0); a < std::min(s.end, 1024); ++a)
                expected.push_back(a);
        for (const CCloneBlock &b : blocks) {
            QVERIFY(b.length >= 1 && b.length <= 16);
            QCOMPARE(b.address / 16, (b.address + b.length - 1) / 16);
            for (int a = b.address; a < b.address + b.length; ++a)
                covered.push_back(a);
        }
        QCOMPARE(covered, expected);
    }

    // An ordinary write never touches the alignment areas; the read never the last five bytes.
    void plansLeaveOut_data()
    {
        QTest::addColumn<std::vector<CCloneBlock>>("blocks");
        QTest::addColumn<QList<int>>("untouched");
        QTest::newRow("read") << ClonePlan::ReadBlocks() << QList<int> { 0x3FB, 0x3FF };
        QTest::newRow("write") << ClonePlan::WriteBlocks(false) << QList<int> { 0x300, 0x31F, 0x3E0, 0x3FF };
        QTest::newRow("write with service access")
            << ClonePlan::WriteBlocks(true) << QList<int> { 0x3FB, 0x3FF };
    }

    void plansLeaveOut()
    {
        QFETCH(std::vector<CCloneBlock>, blocks);
        QFETCH(QList<int>, untouched);
        for (qsizetype i = 0; i < untouched.size(); i += 2)
            for (const CCloneBlock &b : blocks)
                QVERIFY(b.address + b.length <= untouched[i] || b.address > untouched[i + 1]);
    }

    void portNames_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("device"); // with Ports COM3=/dev/ttyACM0 in Program.ini
        QTest::newRow("1") << 1 << "COM1"
                           << "/dev/ttyUSB0";
        QTest::newRow("3 configured") << 3 << "COM3"
                                      << "/dev/ttyACM0";
        QTest::newRow("9") << 9 << "COM9"
                           << "/dev/ttyUSB8";
        QTest::newRow("10 prefixed") << 10 << "\\\\.\\COM10"
                                     << "/dev/ttyUSB9";
        QTest::newRow("16") << 16 << "\\\\.\\COM16"
                            << "/dev/ttyUSB15";
        QTest::newRow("0 unchecked") << 0 << "COM0"
                                     << "/dev/ttyUSB-1";
        QTest::newRow("20 unchecked") << 20 << "\\\\.\\COM20"
                                      << "/dev/ttyUSB19";
    }

    // The stored number becomes the name by the rule and the name a device by the configuration.
    void portNames()
    {
        QFETCH(int, number);
        QFETCH(QString, name);
        QFETCH(QString, device);
        QTemporaryDir dir;
        CIniFile ini;
        QFile file(dir.filePath(QStringLiteral("Program.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Ports]\nCOM3=/dev/ttyACM0\n");
        file.close();
        QVERIFY(ini.Open(file.fileName(), false, true, false));

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
        const QStringList none;
        QTest::newRow("none") << QStringList { "radio.dat" } << QStringList { "radio.dat" } << none
                              << "/dev/ttyUSB0" << false;
        QTest::newRow("port") << QStringList { "--port", "COM1=/dev/pts/4", "radio.dat" }
                              << QStringList { "radio.dat" } << none << "/dev/pts/4" << false;
        QTest::newRow("virtual radio, any case") << QStringList { "--virtual-radio", "com1=/dev/pts/5" } << none
                                                 << none << "/dev/pts/5" << true;
        QTest::newRow("last one counts") << QStringList { "--port", "COM1=/a", "--virtual-radio", "COM1=/b" } << none
                                         << none << "/b" << true;
        QTest::newRow("other port") << QStringList { "--port", "COM12=/dev/ttyACM0" } << none << none
                                    << "/dev/ttyUSB0" << false;
        QTest::newRow("malformed") << QStringList { "--port", "/dev/pts/4", "--port", "COM0=/x", "--port", "COM2=", "--port" }
                                   << none
                                   << QStringList { "--port /dev/pts/4", "--port COM0=/x", "--port COM2=", "--port" }
                                   << "/dev/ttyUSB0" << false;
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
        QFile file(dir.filePath(QStringLiteral("Program.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Ports]\nCOM12=/dev/ttyS3\n");
        file.close();
        CIniFile ini;
        QVERIFY(ini.Open(file.fileName(), false, true, false));

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
