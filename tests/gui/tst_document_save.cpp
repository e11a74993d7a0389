#include "DocumentFiles.h"
#include "GuiFixture.h"

#include "app/MainFrame.h"
#include "config/FileLock.h"
#include "image/DataFile.h"
#include "image/ProgramDoc.h"
#include "tests/common/TestFiles.h"

#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace TestFiles;

// Saving, seen from the menus: edits that come back, a save that fails keeps them, a file changed on
// disk asks before it is replaced.
class TestDocumentSave : public QObject {
    Q_OBJECT

private slots:
    void savedEditsComeBack()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("roundtrip.dat");
        {
            CGuiFixture f;
            QVERIFY(f.Start());
            f.ClickCell(7, 1);
            f.Type("440.0125");
            f.PressEnter();
            QCOMPARE(f.messages.size(), 1); // the band is 130-160 MHz
            f.ClickCell(7, 1);
            f.Type("144.00625");
            f.PressEnter();
            f.Type("145.2");
            f.PressEnter();
            f.ChooseItem("D023I");
            f.ClickCell(8, 1);
            f.Type("151.025"); // no Enter: Save takes it as typed
            f.fileAnswers << path;
            f.Run(CMainFrame::kFileSaveAs);
        }
        CGuiFixture f;
        QVERIFY(f.Start({ path }));
        QCOMPARE(f.RowTexts(7),
            (QStringList { "144.00625", "145.20000", "D023I", "None", "Wide", "Yes", "Off", "High" }));
        QCOMPARE(f.RowTexts(8).value(0), QString("151.02500"));
    }

    void failedSaveKeepsTheEdits_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("message");
        QTest::newRow("file turned into a FIFO") << "fifo" << "not a regular file (a FIFO)";
        QTest::newRow("file held by another program") << "held" << "is being saved by another program";
        QTest::newRow("lock path is a FIFO") << "fifo lock" << ".radio.dat.lock is not a regular file (a FIFO)";
        // Saved whole through the name used; the other name keeps the earlier content, and the user is told.
        QTest::newRow("file with a second name (a hard link)") << "hard link"
            << "radio.dat was saved as a file of its own: its 1 other name(s) (hard links) still hold the earlier content";
    }

    // A save that cannot be done says so and the document stays modified, so nothing is thrown away.
    void failedSaveKeepsTheEdits()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, message);
        const bool saved = blocker == "hard link";
        CGuiFixture f;
        f.SetUserTypeAndField(0, 1);
        QVERIFY(f.Start());
        const QString path = f.DataPath("radio.dat");
        f.fileAnswers << path;
        f.Run(CMainFrame::kFileSaveAs);
        const QByteArray before = Read(path);
        const QString secondName = f.DataPath("copy.dat");
        DocumentFiles::Edit(f);
        CFileLock other(path);
        if (blocker == "held")
            QVERIFY(other.Lock(0));
        else if (blocker == "hard link")
            QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(secondName).constData()) == 0);
        else if (blocker == "fifo")
            QVERIFY(QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        else
            QVERIFY(::mkfifo(QFile::encodeName(f.DataPath(".radio.dat.lock")).constData(), 0644) == 0);
        f.Run(CMainFrame::kFileSave);
        QTRY_COMPARE(f.messages.size(), 1);
        QVERIFY2(f.messages[0].text.contains(message) && f.messages[0].text.contains("radio.dat"),
            qPrintable(f.messages[0].text));
        QCOMPARE(f.Doc()->IsModified(), !saved);
        // Only a save that happened is said in the status bar.
        QCOMPARE(f.Frame()->statusBar()->currentMessage().startsWith("Saved "), saved);
        if (saved) // whole through the name used, the other name as it was
            QVERIFY(Read(path) == DataFile::Serialize(f.Doc()->m_Image) && Read(secondName) == before);
        else if (blocker != "fifo")
            QCOMPARE(Read(path), before);
    }

    void changedOnDiskAsks_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("answer"); // 0: the file is not changed, nothing is asked; -1: Enter
        QTest::addColumn<QString>("question");
        const QString english = "radio.dat has been changed by another program since it was opened or last saved here.";
        const QString chinese = "radio.dat 在此打开或上次保存之后已被其他程序更改。";
        QTest::newRow("unchanged") << "English" << 0 << QString();
        QTest::newRow("changed, overwrite") << "English" << int(QMessageBox::Yes) << english;
        QTest::newRow("changed, cancel") << "English" << int(QMessageBox::Cancel) << english;
        QTest::newRow("changed, Enter keeps the other program's change") << "English" << -1 << english;
        QTest::newRow("changed, overwrite, Chinese") << "Chinese" << int(QMessageBox::Yes) << chinese;
        QTest::newRow("changed, cancel, Chinese") << "Chinese" << int(QMessageBox::Cancel) << chinese;
    }

    // Another program changed the file (in place, so its identity stays) after the window opened it:
    // Save asks before undoing that change; Cancel keeps both the file and the edits.
    void changedOnDiskAsks()
    {
        QFETCH(QString, language);
        QFETCH(int, answer);
        QFETCH(QString, question);
        CGuiFixture f(language);
        const QString path = f.DataPath("radio.dat");
        QByteArray file = DocumentFiles::GoodFile();
        file[DataFile::kHeaderSize + ImageMap::kProductType] = 0; // a band of 130 to 160 MHz
        QVERIFY(Write(path, file));
        QVERIFY(f.Start({ path }));
        DocumentFiles::Edit(f);
        QByteArray changed = file;
        changed[DataFile::kHeaderSize + 0x20] = '\x42';
        if (answer)
            QVERIFY(Write(path, changed));
        if (answer > 0)
            f.answers << QMessageBox::StandardButton(answer);
        answer = answer < 0 ? int(QMessageBox::Cancel) : answer; // what Enter must mean
        f.Run(CMainFrame::kFileSave);
        QCOMPARE(f.messages.size(), answer ? 1 : 0);
        if (answer) {
            QVERIFY2(f.messages[0].text.startsWith(question), qPrintable(f.messages[0].text));
            QCOMPARE(f.messages[0].buttons, QMessageBox::Yes | QMessageBox::Cancel);
        }
        QCOMPARE(f.Doc()->IsModified(), answer == QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            QCOMPARE(Read(path), changed);
            return;
        }
        const QByteArray saved = Read(path);
        QCOMPARE(saved, DataFile::Serialize(f.Doc()->m_Image));
        // What this window wrote is what it knows now: the next save asks nothing.
        f.ClickCell(5, 1);
        f.Type("151");
        f.PressEnter();
        f.Run(CMainFrame::kFileSave);
        QCOMPARE(f.messages.size(), answer ? 1 : 0);
        QVERIFY(!f.Doc()->IsModified());
        QVERIFY(Read(path) != saved);
    }};

QTEST_MAIN(TestDocumentSave)
#include "tst_document_save.moc"
