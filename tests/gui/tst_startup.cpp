#include "GuiFixture.h"

#include "app/AboutDlg.h"
#include "app/ChildFrame.h"
#include "dialogs/LanguageDlg.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "config/IniFile.h"
#include "image/ProgramDoc.h"

#include <QApplication>
#include <QDir>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

// Start-up from the configuration, the language it names, and the switch to the other language.
class TestStartup : public QObject {
    Q_OBJECT

private:
    static QString MenuTitle(CGuiFixture& f, int index)
    {
        return f.App().MainFrame()->menuBar()->actions().at(index)->text();
    }

    // Runs Setup > Language and works the dialog: picks a language (or keeps it), presses OK or Cancel.
    static void SwitchLanguage(CGuiFixture& f, const QString& pick, bool ok)
    {
        QTimer::singleShot(0, [&f, pick, ok] {
            auto* dialog = qobject_cast<CLanguageDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // Each language by its own name, whatever the running one.
            QCOMPARE(dialog->EnglishButton()->text(), QStringLiteral("English"));
            QCOMPARE(dialog->ChineseButton()->text(), QStringLiteral("中文"));
            QTest::keyClick(dialog, Qt::Key_F1);
            if (pick == "Chinese")
                QTest::mouseClick(dialog->ChineseButton(), Qt::LeftButton);
            else if (pick == "English")
                QTest::mouseClick(dialog->EnglishButton(), Qt::LeftButton);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            for (QAbstractButton* button : buttons->buttons())
                if (buttons->buttonRole(button)
                    == (ok ? QDialogButtonBox::AcceptRole : QDialogButtonBox::RejectRole))
                    QTest::mouseClick(button, Qt::LeftButton);
        });
        f.App().MainFrame()->FindCommand(CMainFrame::kLanguage)->trigger();
    }

private slots:
    void languageOfTheWindow_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("texts"); // File menu, grid header, document, box caption, title
        QTest::newRow("English") << "English"
                                 << QStringList { "&File", "CH", "Channel Information", "Fieldcom Tools",
                                        "Fieldcom Radio Programmer  [ Type:QR-260  Fre:130 - 160MHz ]" };
        QTest::newRow("Chinese") << "Chinese"
                                 << QStringList { "文件(&F)", "信道", "信道信息", "菲尔德通信工具",
                                        "菲尔德电台编程软件  [ 类型:QR-260  频率:130 - 160MHz ]" };
        // Only "Chinese" exactly switches the program's own texts; the language file and the INI
        // section are found whatever the case.
        QTest::newRow("chinese") << "chinese"
                                 << QStringList { "文件(&F)", "CH", "Channel Information", "菲尔德通信工具",
                                        "菲尔德电台编程软件  [ Type:QR-260  Fre:130 - 160MHz ]" };
    }

    void languageOfTheWindow()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, texts);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        QCOMPARE((QStringList { MenuTitle(f, 0), f.Grid()->GetTextMatrix(0, 0), f.Doc()->Title(),
                     CMessageBox::AppCaption(), f.Frame()->windowTitle() }),
            texts);
        QCOMPARE(CProgramView::MainWindowTitle(), texts.last());
        QVERIFY(f.App().MainFrame()->isVisible());
        QVERIFY(f.App().MainFrame()->windowState() & Qt::WindowMaximized);
        QVERIFY(f.messages.isEmpty());
    }

    void noLanguageFileNoWindow_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("message");
        const QString none, fail = "Load language DLL fail";
        QTest::newRow("no language named") << none << none << fail;
        QTest::newRow("unknown language") << "Klingon" << none << fail;
        QTest::newRow("English file missing") << "English" << QStringLiteral("English.qm") << fail;
        QTest::newRow("Chinese file missing")
            << "Chinese" << QStringLiteral("Chinese.qm") << "加载语言链接库失败";
    }

    void noLanguageFileNoWindow()
    {
        QFETCH(QString, language);
        QFETCH(QString, removed);
        QFETCH(QString, message);
        CGuiFixture f(language);
        if (!removed.isEmpty())
            QVERIFY(QFile::remove(f.BinPath(removed)));
        QVERIFY(!f.Start());
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages[0].text, message);
        QCOMPARE(f.messages[0].caption, QString("Program"));
        QCOMPARE(f.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!f.App().MainFrame());
    }

    void menusFromTheConfiguration_data()
    {
        QTest::addColumn<QString>("showLang");
        QTest::addColumn<bool>("languageEntry");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("2x") << "2x" << true;
        QTest::newRow(" -3") << " -3" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("abc") << "abc" << false;
    }

    void menusFromTheConfiguration()
    {
        QFETCH(QString, showLang);
        QFETCH(bool, languageEntry);
        CGuiFixture f;
        f.SetIni("Setup", "ShowLang", showLang);
        QVERIFY(f.Start());
        CMainFrame* frame = f.App().MainFrame();
        QCOMPARE(frame->FindCommand(CMainFrame::kLanguage) != nullptr, languageEntry);
        QCOMPARE(
            frame->FindCommand(CMainFrame::kAppAbout)->text(), QString("About Fieldcom Radio Programmer..."));
        QVERIFY(!frame->FindCommand(CMainFrame::kPowerAdjust));
        QVERIFY(!frame->FindCommand(CMainFrame::kParameterAdjust));
        QVERIFY(frame->FindCommand(CMainFrame::kRead) && frame->FindCommand(CMainFrame::kWrite));
        QCOMPARE(frame->FindCommand(CMainFrame::kRead)->shortcut(), QKeySequence("Ctrl+R"));
    }

    // Without the language's section: an empty title bar (not the program's file name), empty lines.
    void aboutWithoutItsSection()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("Program.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[Setup]\nLanguage=English\n") > 0);
        file.close();
        CIniFile ini;
        QCOMPARE(ini.Open(file.fileName(), false, true, false), 1);
        CAboutDlg box(ini);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.windowTitle(), QString());
        const QString bar = box.windowHandle()->title();
        QVERIFY2(std::none_of(bar.begin(), bar.end(), [](QChar c) { return c.isPrint(); }), qPrintable(bar));
        for (const char* name : { "version", "copyrights", "owner" })
            QCOMPARE(box.findChild<QLabel*>(name)->text(), QString());
    }

    void bandFromTheUsersSettings()
    {
        CGuiFixture f;
        f.SetUserTypeAndField(0, 1);
        QVERIFY(f.Start());
        QVERIFY(f.App().MainFrame()->windowTitle().endsWith("Type:QR-260  Fre:136 - 174MHz ]"));
        QCOMPARE(f.View()->m_nLowerLimit, 13600000);
        QCOMPARE(f.View()->m_nUpperLimit, 17500000);
        QCOMPARE(f.Doc()->m_Image.Byte(ImageMap::kFrequencyBand), 1);
        // 170 MHz is inside this band, though outside the first one.
        f.ClickCell(1, 1);
        f.Type("170");
        f.PressEnter();
        QVERIFY(f.messages.isEmpty());
    }

    void withoutBandListEveryFrequencyIsOutOfRange()
    {
        CGuiFixture f;
        f.SetIni("Setup", "Field1", "");
        QVERIFY(f.Start());
        QCOMPARE(f.View()->m_nLowerLimit, 0);
        QCOMPARE(f.View()->m_nUpperLimit, 100000);
        f.ClickCell(1, 1);
        f.Type("146.5");
        f.PressEnter();
        QCOMPARE(f.messages.size(), 1);
    }

    void languageSwitch_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("pick");
        QTest::addColumn<bool>("restarted");
        QTest::addColumn<QString>("written");
        QTest::newRow("to Chinese") << "English" << true << "Chinese" << true << "Chinese";
        QTest::newRow("to English") << "Chinese" << true << "English" << true << "English";
        QTest::newRow("Cancel") << "English" << false << "Chinese" << false << "English";
        QTest::newRow("OK, same language") << "English" << true << "" << false << "English";
        // Program.ini turned into a folder after start-up: the switch is refused with a message.
        QTest::newRow("Program.ini cannot be saved") << "English" << true << "Chinese" << false << "";
    }

    void languageSwitch()
    {
        QFETCH(QString, running);
        QFETCH(QString, pick);
        QFETCH(bool, ok);
        QFETCH(QString, written);
        QFETCH(bool, restarted);
        CGuiFixture f(running);
        QVERIFY(f.Start());
        const bool unsavable = written.isEmpty();
        if (unsavable)
            QVERIFY(QFile::remove(f.BinPath("Program.ini")) && QDir().mkdir(f.BinPath("Program.ini")));
        SwitchLanguage(f, pick, ok);
        QCOMPARE(f.IniOnDisk("Setup", "Language"), written);
        QCOMPARE(f.messages.size(), unsavable ? 1 : 0);
        if (unsavable) {
            QVERIFY2(f.messages[0].text.contains("Cannot save") && f.messages[0].text.contains("a folder"),
                qPrintable(f.messages[0].text));
            f.messages.clear();
        }
        QCOMPARE(
            f.started, restarted ? QStringList { QCoreApplication::applicationFilePath() } : QStringList {});
        QCOMPARE(f.App().MainFrame()->isVisible(), !restarted);
        QCOMPARE(f.helpTopics, QList<int> { 32799 });
        QVERIFY(f.messages.isEmpty());
    }

    void languageSwitchReopensTheDocument_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("reopened");
        QTest::newRow("document saved before") << "saved" << true;
        QTest::newRow("new document saved at the prompt") << "prompt" << true;
        QTest::newRow("new document, edits dropped") << "dropped" << false;
        QTest::newRow("cancelled, then dropped") << "cancelled" << false;
    }

    // After the switch the new process opens the document that was open, under the name it has once
    // the save question is answered. Cancel keeps the edits and the switch pending: the next OK
    // restarts.
    void languageSwitchReopensTheDocument()
    {
        QFETCH(QString, how);
        QFETCH(bool, reopened);
        CGuiFixture f;
        QVERIFY(f.Start());
        f.ClickCell(1, 1);
        f.Type("146.5");
        f.PressEnter();
        const QString path = f.DataPath("radio one.dat");
        if (how == "saved") {
            f.fileAnswers << path;
            QVERIFY(f.Doc()->DoSaveAs());
        } else if (how == "prompt") {
            f.answers << QMessageBox::Save;
            f.fileAnswers << path;
        } else if (how == "cancelled") {
            f.answers << QMessageBox::Cancel;
            SwitchLanguage(f, "Chinese", true);
            QCOMPARE(f.IniOnDisk("Setup", "Language"), QString("Chinese"));
            QCOMPARE(f.MessageTexts(), QStringList { "Save changes to Channel Information?" });
            QVERIFY(f.started.isEmpty() && f.Frame()->isVisible());
        }
        if (how != "prompt" && how != "saved")
            f.answers << QMessageBox::Discard;
        SwitchLanguage(f, how == "cancelled" ? QString() : QStringLiteral("Chinese"), true);
        QCOMPARE(f.started.size(), 1);
        QVERIFY(!f.Frame()->isVisible());
        QCOMPARE(
            f.started.first(), QCoreApplication::applicationFilePath() + (reopened ? " " + path : QString()));
        QCOMPARE(QFileInfo::exists(path), reopened);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
