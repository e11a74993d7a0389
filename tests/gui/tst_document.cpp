#include "DocumentFiles.h"
#include "GuiFixture.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "config/FileName.h"
#include "config/SafeFile.h"
#include "config/UserSettings.h"
#include "widgets/MSFlexGrid.h"
#include "image/DataFile.h"
#include "image/ProgramDoc.h"
#include "tests/common/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>


using namespace TestFiles;

// New, Open, Save, Close and quitting, seen from the menus: what is written, what is said and asked.
class TestDocument : public QObject {
    Q_OBJECT

private:
    // Not a command: the channel window's own close box.
    static constexpr int kCloseBox = -1;

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
        DocumentFiles::Edit(f);
        f.Run(CMainFrame::kFileSave);
        QCOMPARE(f.filePrompts.size(), 1);
        QVERIFY(!f.Doc()->IsModified());
        QCOMPARE(Read(f.DataPath("first.dat")).mid(16 + 4 * 16, 4), QByteArray("\x00\x00\x00\x15", 4));
        QVERIFY(f.messages.isEmpty());
    }

    void open_data()
    {
        QTest::addColumn<QByteArray>("name"); // the file's name as the system stores it
        QTest::addColumn<QByteArray>("bytes");
        const auto row = [](const char* tag, const QByteArray& name = "radio.dat") -> QTestData& {
            return QTest::newRow(tag) << name;
        };
        QTest::addColumn<QString>("message"); // empty: opens
        QTest::addColumn<bool>("argument"); // named on the command line, else chosen in File > Open
        row("data file") << DocumentFiles::GoodFile() << "" << false;
        row("longer file, tail ignored") << DocumentFiles::GoodFile() + "tail"
                                                   << "" << false;
        QByteArray foreign = DocumentFiles::GoodFile();
        foreign[0] = 'X';
        row("foreign file") << foreign << "Data Format Error" << false;
        // A channel list opened as a data file: which file, why, and where it goes in instead.
        row("channel list")
            << QByteArray("Location,Name,Frequency\n1,,146.520000\n")
            << "Data Format Error\n%1 is not a data file of this radio: it starts with 4C 6F 63 61 74 69 6F 6E "
               "(\"Location\") and holds 38 bytes; a data file starts with Q707 and holds 1,040 bytes.\nIt looks like "
               "a channel list (CSV): open a data file, then use File > Import CSV to bring these channels in."
            << false;
        // Its size as the system has it, though QFileInfo cannot find a name that is not UTF-8.
        row("a foreign file whose name is not UTF-8", "radio \xff.dat")
            << QByteArray("PK") + QByteArray(4998, '\0')
            << "Data Format Error\n%1 is not a data file of this radio: it starts with 50 4B 00 00 00 00 00 00 and "
               "holds 5,000 bytes;"
            << false;
        row("short file") << DocumentFiles::GoodFile().left(100) << "shorter than 1040 bytes" << false;
        row("empty file") << QByteArray() << "shorter than 1040 bytes" << false;
        row("missing file") << QByteArray("<none>") << "Cannot open" << false;
        row("data file on the command line") << DocumentFiles::GoodFile() << "" << true;
        // Refused before the company is known, and no window shows.
        row("foreign file on the command line") << foreign << "Data Format Error" << true;
    }

    void open()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(bool, argument);
        CGuiFixture f;
        const QString path = f.DataPath(FileName::FromBytes(name));
        if (bytes != "<none>")
            QCOMPARE(SafeFile::Write(path, bytes), QString());
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
            if (message.contains("%1"))
                message = message.arg(FileName::Display(path));
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
        QByteArray bytes = DocumentFiles::GoodFile();
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
        // The channel window's close box asks as Exit does; gone: the window is hidden.
        QTest::newRow("close box, nothing to save") << kCloseBox << false << B { QMessageBox::Cancel } << true << false;
        QTest::newRow("close box, edits, Cancel") << kCloseBox << true << B { QMessageBox::Cancel } << false << false;
        QTest::newRow("close box, edits, Don't Save")
            << kCloseBox << true << B { QMessageBox::Discard } << true << false;
        QTest::newRow("close box, edits, Save") << kCloseBox << true << B { QMessageBox::Save } << true << true;
        QTest::newRow("close box, edits, Save, no name given")
            << kCloseBox << true << B { QMessageBox::Save } << false << false;
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
            DocumentFiles::Edit(f);
        QPointer<CChildFrame> before = f.Child();
        f.answers = answers;
        if (saved)
            f.fileAnswers << f.DataPath("kept.dat");
        if (command == kCloseBox)
            before->close();
        else
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
        if (command == kCloseBox) {
            // Only hidden: the document lives on, and edits not saved are still there (and still asked about).
            QVERIFY(before);
            QCOMPARE(!before->isVisible(), gone);
            QCOMPARE(f.Doc()->IsModified(), edited && !saved);
            QCOMPARE(f.Doc()->m_Image.Byte(4 * 16 + 3), std::uint8_t(edited ? 0x15 : 0xFF));
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
        DocumentFiles::Edit(f);
        QPointer<CChildFrame> before = f.Child();
        QVERIFY(Write(f.DataPath("other.dat"), DocumentFiles::GoodFile()));
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
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
