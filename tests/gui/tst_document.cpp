#include "GuiFixture.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "config/FileLock.h"
#include "config/UserSettings.h"
#include "editor/ChannelCodec.h"
#include "editor/MSFlexGrid.h"
#include "image/DataFile.h"
#include "image/ProgramDoc.h"
#include "tests/common/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QStatusBar>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace TestFiles;

// New, Open, Save, Close and quitting, seen from the menus: what is written, what is said and asked.
class TestDocument : public QObject {
    Q_OBJECT

private:
    // A data file whose channel 1 is 146.5 MHz, type 1 and band 1, with a header tail that is not zero.
    static QByteArray GoodFile()
    {
        CRadioImage image;
        image.ApplyDefaults();
        ChannelCodec::EncodeChannel(
            image, 1, { "146.5", "146.5", "None", "None", "Wide", "Yes", "Off", "High" });
        image.SetByte(ImageMap::kProductType, 1);
        image.SetByte(ImageMap::kFrequencyBand, 1);
        QByteArray bytes = DataFile::Serialize(image);
        bytes.replace(4, 12, QByteArray(12, '\xAA'));
        return bytes;
    }

    static void Edit(CGuiFixture& f)
    {
        f.ClickCell(4, 1);
        f.Type("150");
        f.PressEnter();
        QVERIFY(f.Doc()->IsModified());
    }

private slots:
    void newDocumentSaveAsksForAName()
    {
        CGuiFixture f;
        f.SetUserTypeAndField(0, 1);
        QVERIFY(f.Start());
        // A file named like the product in the current folder is never overwritten unasked.
        const QString decoy = f.DataPath("Fieldcom Radio Programmer.dat");
        QVERIFY(Write(decoy, "keep"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(f.DataPath(""));
        f.fileAnswers << f.DataPath("first.dat");
        f.Run(CMainFrame::kFileSave);
        QDir::setCurrent(previous);

        QCOMPARE(f.filePrompts.size(), 1);
        QCOMPARE(f.filePrompts[0].kind, CFilePrompt::Kind::Save);
        QCOMPARE(f.filePrompts[0].proposed, QString("Fieldcom Radio Programmer.dat"));
        QCOMPARE(Read(decoy), QByteArray("keep"));

        const QByteArray bytes = Read(f.DataPath("first.dat"));
        QCOMPARE(bytes.size(), 1040);
        QCOMPARE(bytes.left(16), QByteArray("Q707") + QByteArray(12, '\0'));
        CRadioImage expected;
        expected.ApplyDefaults();
        // Each empty channel as the empty grid row stores it over FF bytes: byte 12 F7, byte 13 BF.
        const QByteArray emptyChannel = QByteArray(12, '\xFF') + "\xF7\xBF" + QByteArray(2, '\xFF');
        QCOMPARE(bytes.mid(16 + 16, 16 * 16), emptyChannel.repeated(16));
        QCOMPARE(bytes.mid(16 + 0x17E, 2), QByteArray(2, '\xFF')); // scan flags
        QCOMPARE(quint8(bytes[16 + 0x1B8]), quint8(0x50));
        QCOMPARE(quint8(bytes[16 + 0x32E]), quint8(0));
        QCOMPARE(quint8(bytes[16 + 0x32F]), quint8(1));
        QCOMPARE(bytes.mid(16 + 0x390),
            QByteArray(reinterpret_cast<const char*>(expected.Data().data()) + 0x390, 0x70));
        QCOMPARE(f.Doc()->Title(), QString("first.dat"));
        // The status bar says where it went.
        const QString saved = f.Frame()->statusBar()->currentMessage();
        QVERIFY2(saved.startsWith("Saved " + f.DataPath("first.dat") + " at "), qPrintable(saved));

        // From now on Save writes that file without asking.
        Edit(f);
        f.Run(CMainFrame::kFileSave);
        QCOMPARE(f.filePrompts.size(), 1);
        QVERIFY(!f.Doc()->IsModified());
        QCOMPARE(Read(f.DataPath("first.dat")).mid(16 + 4 * 16, 4), QByteArray("\x00\x00\x00\x15", 4));
        QVERIFY(f.messages.isEmpty());
    }

    void open_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // empty: opens
        QTest::addColumn<bool>("argument"); // named on the command line, else chosen in File > Open
        QTest::newRow("data file") << GoodFile() << "" << false;
        QTest::newRow("longer file, tail ignored") << GoodFile() + "tail"
                                                   << "" << false;
        QByteArray foreign = GoodFile();
        foreign[0] = 'X';
        QTest::newRow("foreign file") << foreign << "Data Format Error" << false;
        QTest::newRow("short file") << GoodFile().left(100) << "shorter than 1040 bytes" << false;
        QTest::newRow("empty file") << QByteArray() << "shorter than 1040 bytes" << false;
        QTest::newRow("missing file") << QByteArray("<none>") << "Cannot open" << false;
        QTest::newRow("data file on the command line") << GoodFile() << "" << true;
        // Refused before the company is known, and no window shows.
        QTest::newRow("foreign file on the command line") << foreign << "Data Format Error" << true;
    }

    void open()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(bool, argument);
        CGuiFixture f;
        const QString path = f.DataPath("radio.dat");
        if (bytes != "<none>")
            QVERIFY(Write(path, bytes));
        QPointer<CChildFrame> before;
        if (argument) {
            QCOMPARE(f.Start({ path }), message.isEmpty());
        } else {
            QVERIFY(f.Start());
            before = f.Child();
            f.fileAnswers << path;
            f.Run(CMainFrame::kFileOpen);
        }

        if (message.isEmpty()) {
            QVERIFY(f.messages.isEmpty());
            QVERIFY(argument || (f.Child() != before && before && !before->isVisible())); // hidden, not gone
            QCOMPARE(f.Doc()->Title(), QString("radio.dat"));
            QCOMPARE(f.Grid()->GetTextMatrix(1, 1), QString("146.50000"));
            QVERIFY(!CProgramDoc::IsNewDocument());
            // An opened image hands its type and band to the user's settings.
            CUserSettings settings("Fieldcom Radio Programmer");
            QCOMPARE(settings.Type(), 1u);
            QCOMPARE(settings.Field(), 1u);
            QVERIFY(f.Frame()->windowTitle().endsWith("Type:QR-460  Fre:450 - 520MHz ]"));
        } else {
            QCOMPARE(f.messages.size(), 1);
            QVERIFY2(f.messages[0].text.contains(message), qPrintable(f.messages[0].text));
            QCOMPARE(f.messages[0].caption, argument ? QString("Program") : QString("Fieldcom Tools"));
            QCOMPARE(f.Frame()->isVisible(), !argument);
            QCOMPARE(f.Child(), before.data());
            QVERIFY(argument || before->isVisible());
            QVERIFY(argument || CProgramDoc::IsNewDocument());
        }
    }

    // A file whose type or band byte the configuration lacks is checked against the band its bytes
    // select, not the user's last one (130 - 160MHz here), and the status bar says so.
    void openUnlistedBand_data()
    {
        QTest::addColumn<QPoint>("product"); // type and band bytes
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("accepted"); // of 146.5 typed into channel 2 and 470 into 3, '|' between
        QTest::newRow("listed") << QPoint(0, 1) << "" << "146.50000|";
        QTest::newRow("band past the list") << QPoint(0, 9)
            << "Band byte 0x09 is not among the bands configured for QR-260; typed frequencies are checked "
               "against 450 - 520MHz."
            << "|470.00000";
        QTest::newRow("unknown type") << QPoint(5, 0)
            << "Product type byte 0x05 is not among the configured types; typed frequencies are checked "
               "against 0 to 1 MHz, as no band is configured for it."
            << "|";
    }
    void openUnlistedBand()
    {
        QFETCH(QPoint, product);
        QFETCH(QString, status);
        QFETCH(QString, accepted);
        CGuiFixture f;
        f.SetUserTypeAndField(0, 0);
        QByteArray bytes = GoodFile();
        bytes[16 + ImageMap::kProductType] = char(product.x());
        bytes[16 + ImageMap::kFrequencyBand] = char(product.y());
        const QString path = f.DataPath("radio.dat");
        QVERIFY(Write(path, bytes));
        QVERIFY(f.Start({ path }));
        const QString shown = f.Frame()->statusBar()->currentMessage();
        QVERIFY2(status.isEmpty() ? !shown.contains("not among") : shown == status, qPrintable(shown));
        for (const auto& [row, typed] : { std::pair { 2, "146.5" }, std::pair { 3, "470" } }) {
            f.ClickCell(row, 1);
            f.Type(typed);
            f.PressEnter();
        }
        QCOMPARE(f.Grid()->GetTextMatrix(2, 1) + '|' + f.Grid()->GetTextMatrix(3, 1), accepted);
        // Write names the unlisted byte and the band it checked against, never a band "Unknown 0x09".
        f.messages.clear();
        f.Frame()->FindCommand(CMainFrame::kWrite)->trigger();
        const QString asked = f.MessageTexts().value(0);
        QCOMPARE(asked.section('\n', 0, 0), status);
        QVERIFY2(!asked.contains("Unknown"), qPrintable(asked));
    }

    // New and Exit ask before letting the document go: New always, both when there are edits.
    void askBeforeLettingGo_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
        QTest::addColumn<bool>("gone"); // the document replaced, the program closed
        QTest::addColumn<bool>("saved"); // and the save asks for a name, which is given
        using B = QList<QMessageBox::StandardButton>;
        const int fresh = CMainFrame::kFileNew, exit = CMainFrame::kAppExit;
        QTest::newRow("New cancelled") << fresh << false << B { QMessageBox::Cancel } << false << false;
        QTest::newRow("New confirmed") << fresh << false << B { QMessageBox::Ok } << true << false;
        QTest::newRow("New, edits kept on Cancel")
            << fresh << true << B { QMessageBox::Ok, QMessageBox::Cancel } << false << false;
        QTest::newRow("New, edits let go")
            << fresh << true << B { QMessageBox::Ok, QMessageBox::Discard } << true << false;
        QTest::newRow("New, edits saved")
            << fresh << true << B { QMessageBox::Ok, QMessageBox::Save } << true << true;
        QTest::newRow("Exit, nothing to save") << exit << false << B { QMessageBox::Cancel } << true << false;
        QTest::newRow("Exit, edits, Cancel") << exit << true << B { QMessageBox::Cancel } << false << false;
        QTest::newRow("Exit, edits, Don't Save")
            << exit << true << B { QMessageBox::Discard } << true << false;
        QTest::newRow("Exit, edits, Save") << exit << true << B { QMessageBox::Save } << true << true;
        QTest::newRow("Exit, edits, Save, no name given")
            << exit << true << B { QMessageBox::Save } << false << false;
    }

    void askBeforeLettingGo()
    {
        QFETCH(int, command);
        QFETCH(bool, edited);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(bool, gone);
        QFETCH(bool, saved);
        CGuiFixture f;
        QVERIFY(f.Start());
        if (edited)
            Edit(f);
        QPointer<CChildFrame> before = f.Child();
        f.answers = answers;
        if (saved)
            f.fileAnswers << f.DataPath("kept.dat");
        f.Run(command);

        QStringList questions;
        if (command == CMainFrame::kFileNew)
            questions << "All data will be Cleared!";
        if (edited)
            questions << "Save changes to Channel Information?";
        QCOMPARE(f.MessageTexts(), questions);
        if (command == CMainFrame::kFileNew)
            QCOMPARE(f.messages[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        if (edited)
            QCOMPARE(
                f.messages.last().buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(QFile::exists(f.DataPath("kept.dat")), saved);
        if (command == CMainFrame::kAppExit) {
            QCOMPARE(!f.Frame()->isVisible(), gone);
            return;
        }
        QCOMPARE(before.isNull(), gone);
        QCOMPARE(f.Frame()->Children().size(), 1);
        QCOMPARE(f.Doc()->IsModified(), edited && !gone);
        if (gone) // the new image holds the empty rows as stored, and stays unmodified
            QCOMPARE(f.Doc()->m_Image.Byte(16 * 7 + 13), 0xBF);
    }

    void openAsksAboutTheEditsOfTheWindowItReplaces()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        Edit(f);
        QPointer<CChildFrame> before = f.Child();
        QVERIFY(Write(f.DataPath("other.dat"), GoodFile()));
        f.fileAnswers << f.DataPath("other.dat") << f.DataPath("other.dat");
        f.answers << QMessageBox::Cancel << QMessageBox::Discard;
        f.Run(CMainFrame::kFileOpen);
        QCOMPARE(f.Child(), before.data());
        QVERIFY(before->isVisible() && f.Doc()->IsModified());
        f.Run(CMainFrame::kFileOpen);
        QCOMPARE(f.messages.size(), 2);
        QVERIFY(f.Child() != before);
        QVERIFY(!before->isVisible());
        // Quitting now asks nothing: the hidden document's edits were let go.
        f.Run(CMainFrame::kAppExit);
        QCOMPARE(f.messages.size(), 2);
        QVERIFY(!f.App().MainFrame()->isVisible());
    }

    void closeHidesAndChannelInformationShows()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        CChildFrame* child = f.Child();
        f.Run(CMainFrame::kFileClose);
        QVERIFY(!child->isVisible());
        QCOMPARE(f.Child(), child);
        f.Run(CMainFrame::kChannelInformation);
        QVERIFY(child->isVisible());
        child->close(); // the close box only hides too
        QVERIFY(!child->isVisible());
        QCOMPARE(f.App().MainFrame()->Children().size(), 1);
        f.Run(CMainFrame::kChannelInformation);
        QVERIFY(child->isVisible());
        QCOMPARE(f.Frame()->ActiveChild(), child);
    }

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
        Edit(f);
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
        QByteArray file = GoodFile();
        file[DataFile::kHeaderSize + ImageMap::kProductType] = 0; // a band of 130 to 160 MHz
        QVERIFY(Write(path, file));
        QVERIFY(f.Start({ path }));
        Edit(f);
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
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
