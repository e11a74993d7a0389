// scripts/check-includes.py: an include from a floor above, or two folders that include each other,
// fails the test command and is named by file and line; a tree whose includes all point down passes.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using TreeFiles = QMap<QString, QString>;

// Lays out files ("folder/name" → text) under root.
bool writeTree(const QString& root, const TreeFiles& files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = root + QLatin1Char('/') + it.key();
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value().toUtf8()) != it.value().toUtf8().size())
            return false;
    }
    return true;
}

struct CheckRun {
    int exitCode = -1;
    QStringList lines;
};

CheckRun runCheck(const QString& root)
{
    QProcess process;
    process.start(QStringLiteral(PROGRAM_PYTHON3),
        { QStringLiteral(PROGRAM_SOURCE_DIR "/scripts/check-includes.py"), root });
    CheckRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

} // namespace

class TestIncludeCheck : public QObject {
    Q_OBJECT

private slots:
    void fakeTree_data();
    void fakeTree();
    void repositoryFollowsTheFloors();
};

void TestIncludeCheck::fakeTree_data()
{
    QTest::addColumn<TreeFiles>("files");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("faults");

    const QString view = QStringLiteral("#pragma once\n#include \"radio/ChannelGrid.h\"\n");
    QTest::newRow("every include points down")
        << TreeFiles {
               { "cli/CmdShow.cpp", "#include \"app/Nothing.h\"\n#include \"radio/ChannelGrid.h\"\n" },
               { "app/MainFrame.cpp", "#include \"editor/ProgramView.h\"\n#include <QtCore/QString>\n" },
               { "editor/ProgramView.h", view },
               { "editor/ProgramView.cpp", "#include \"link/CloneTransfer.h\"\n#include \"csv/CsvText.h\"\n" },
               { "link/LogRecord.cpp", "#include \"csv/CsvText.h\"\n" },
               { "radio/ChannelGrid.h", "#include \"image/RadioImage.h\"\n#include \"config/Language.h\"\n" },
               { "widgets/MessageBox.cpp", "#include \"config/Language.h\"\n" },
               // Commented out, or from the tests, which sit above every floor: not an include to check.
               { "config/IniFile.cpp", "// #include \"app/MainFrame.h\"\n" },
               { "tests/tst_view.cpp", "#include \"app/MainFrame.h\"\n" },
               { "emulator/VirtualRadio.cpp", "#include \"emulator/PtyLine.h\"\n" } }
        << 0 << QStringList {};

    QTest::newRow("a radio file reaches up into the view")
        << TreeFiles { { "editor/ProgramView.h", "#pragma once\n" },
               { "radio/BandFit.cpp", "#include \"radio/BandFit.h\"\n\n#include \"editor/ProgramView.h\"\n" } }
        << 1
        << QStringList { "radio/BandFit.cpp:3: #include \"editor/ProgramView.h\": editor/ is above radio/" };

    QTest::newRow("the ground floor uses a widget, from a sub-folder")
        << TreeFiles { { "config/posix/Lock.cpp", "  #  include <widgets/MessageBox.h>\n" } }
        << 1
        << QStringList { "config/posix/Lock.cpp:1: #  include <widgets/MessageBox.h>: widgets/ is above config/" };

    // A path that climbs out of its own folder is judged by where it lands.
    QTest::newRow("a radio file climbs up into the view by a relative path")
        << TreeFiles { { "radio/BandFit.cpp", "#include \"../editor/ProgramView.h\"\n#include \"../radio/BandFit.h\"\n"
                                                "#include \"radio/../app/MainFrame.h\"\n#include \"radio/../radio/ChannelGrid.h\"\n" },
               { "config/posix/Lock.cpp", "#include \"../../widgets/MessageBox.h\"\n#include \"../FileName.h\"\n" } }
        << 1
        << QStringList { "radio/BandFit.cpp:1: #include \"../editor/ProgramView.h\": editor/ is above radio/",
               "radio/BandFit.cpp:3: #include \"radio/../app/MainFrame.h\": app/ is above radio/",
               "config/posix/Lock.cpp:1: #include \"../../widgets/MessageBox.h\": widgets/ is above config/" };

    QTest::newRow("two rooms include each other")
        << TreeFiles { { "csv/ImageDiff.cpp", "#include \"link/CloneTransfer.h\"\n" },
               { "link/LogRecord.cpp", "#include \"link/LogRecord.h\"\n#include \"csv/CsvText.h\"\n" } }
        << 1
        << QStringList { "csv/ImageDiff.cpp:1: #include \"link/CloneTransfer.h\": link/ is above csv/",
               "csv/ImageDiff.cpp:1: csv/ and link/ include each other (also link/LogRecord.cpp:2)" };

    QTest::newRow("the virtual radio uses our image")
        << TreeFiles { { "emulator/RadioMemory.cpp", "#include \"image/ImageMap.h\"\n" } }
        << 1
        << QStringList {
               "emulator/RadioMemory.cpp:1: #include \"image/ImageMap.h\": emulator/ and image/ stand apart from each other" };
}

void TestIncludeCheck::fakeTree()
{
    QFETCH(TreeFiles, files);
    QFETCH(int, exitCode);
    QFETCH(QStringList, faults);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(writeTree(root.path(), files));
    const CheckRun run = runCheck(root.path());
    QCOMPARE(run.lines, faults);
    QCOMPARE(run.exitCode, exitCode);
}

void TestIncludeCheck::repositoryFollowsTheFloors()
{
    const CheckRun run = runCheck(QStringLiteral(PROGRAM_SOURCE_DIR));
    QCOMPARE(run.lines, QStringList {});
    QCOMPARE(run.exitCode, 0);
}

QTEST_GUILESS_MAIN(TestIncludeCheck)
#include "tst_include_check.moc"
