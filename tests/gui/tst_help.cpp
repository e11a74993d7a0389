// Help where the user is: F1 in every dialog, the pages and what they say about the user's files,
// Help > Open Data Folder and where Setup > Log Serial Traffic puts its files.

#include "GuiFixture.h"

#include "app/AboutDlg.h"
#include "app/FrameBars.h"
#include "app/FrameStatusBar.h"
#include "app/MainFrame.h"
#include "app/OpenBackupDlg.h"
#include "app/ProgramApp.h"
#include "app/ViewTargets.h"
#include "config/AppPaths.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "csv/CompareDlg.h"
#include "csv/ImportLocationDlg.h"
#include "csv/ImportReportDlg.h"
#include "dialogs/LanguageDlg.h"
#include "dialogs/OptionalFeaturesDlg.h"
#include "dialogs/ProductInfoDlg.h"
#include "editor/ProgramView.h"
#include "image/BackupStore.h"
#include "image/ProgramDoc.h"
#include "link/BatchWriteDlg.h"
#include "link/PortSettingDlg.h"
#include "link/ProcessDlg.h"
#include "link/ProgramLog.h"
#include "link/ProgramLogDlg.h"
#include "link/SerialTrace.h"
#include "link/SystemPorts.h"
#include "print/ReportPrinter.h"
#include "service/ParamAdjustDlg.h"
#include "service/PasswordDlg.h"
#include "service/PowerAdjustDlg.h"
#include "widgets/HelpLayer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QString kSourceDir = QStringLiteral(PROGRAM_TEST_DATA "/../..");

// Builds the dialog of a row over the running program; the test owns what it returns.
using DialogMaker = std::function<QDialog*(CGuiFixture&)>;

// The dialog classes of the program's sources: every class deriving from a Qt dialog or one of ours.
QSet<QString> dialogClassesInSources()
{
    QSet<QString> classes;
    static const QRegularExpression declaration(
        QStringLiteral("class\\s+(C\\w+)\\s*(?:final\\s*)?:\\s*public\\s+(?:Q\\w*Dialog|C\\w*Dlg)\\b"));
    for (const char* room : { "app", "config", "widgets", "image", "radio", "editor", "link", "dialogs",
             "service", "csv", "print", "cli" }) {
        QDirIterator it(kSourceDir + QLatin1Char('/') + QLatin1String(room), { QStringLiteral("*.h") },
            QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile header(it.next());
            if (!header.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(header.readAll());
            for (auto match = declaration.globalMatch(text); match.hasNext();)
                classes << match.next().captured(1);
        }
    }
    return classes;
}

QString pageText(const QString& folder, int topic)
{
    QFile page(QStringLiteral("%1/help/%2/%3.html").arg(QStringLiteral(PROGRAM_BIN_DIR), folder).arg(topic));
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

} // namespace

Q_DECLARE_METATYPE(DialogMaker)
Q_DECLARE_METATYPE(std::function<QString()>)

class TestHelp : public QObject {
    Q_OBJECT

    QSet<QString> m_Walked; // the dialog classes F1 was pressed in

private slots:
    void init()
    {
        CSystemPorts::SetSource([] { return QList<CSystemPorts::Port> {}; });
    }
    void cleanup() { CSystemPorts::SetSource({}); }

    void dialogHelp_data()
    {
        QTest::addColumn<DialogMaker>("make");
        QTest::addColumn<int>("topic");
        const auto limits = [](CGuiFixture& f) {
            return BandLimits { f.View()->m_nLowerLimit, f.View()->m_nUpperLimit };
        };
        const auto image = [](CGuiFixture& f) -> CRadioImage& { return f.Doc()->m_Image; };
        QTest::newRow("Com Setup") << DialogMaker([](CGuiFixture& f) -> QDialog* {
            return new CPortSettingDlg(f.App().Ini());
        }) << 32777;
        QTest::newRow("Batch Write") << DialogMaker([image](CGuiFixture& f) -> QDialog* {
            return new CBatchWriteDlg(f.App().Ini(), image(f), false, nullptr);
        }) << 32862;
        QTest::newRow("Compare with Radio")
            << DialogMaker([](CGuiFixture&) -> QDialog* { return new CCompareDlg({}, {}, false); }) << 32852;
        QTest::newRow("Import CSV, choice of the first Location") << DialogMaker(
            [](CGuiFixture&) -> QDialog* {
                ChannelCsv::Locations locations;
                locations.readable = true;
                locations.lowest = 1;
                locations.highest = 40;
                locations.rows.push_back({ 1, 2, QStringLiteral("146.52"), QString(), QString(), QString() });
                return new CImportLocationDlg(locations, [](int) { return ChannelCsv::ImportPlan {}; }, {});
            }) << 32850;
        QTest::newRow("Import CSV, the rows refused")
            << DialogMaker([](CGuiFixture&) -> QDialog* { return new CImportReportDlg({}, false); }) << 32850;
        QTest::newRow("Open Backup") << DialogMaker([](CGuiFixture& f) -> QDialog* {
            return new COpenBackupDlg(f.App().Ini());
        }) << 32845;
        QTest::newRow("Power Adjustment") << DialogMaker([limits, image](CGuiFixture& f) -> QDialog* {
            auto* dialog = new CPowerAdjustDlg;
            dialog->Prepare(image(f), limits(f), QStringLiteral("/dev/null"));
            return dialog;
        }) << 32781;
        QTest::newRow("Parameter Adjustment") << DialogMaker([limits, image](CGuiFixture& f) -> QDialog* {
            return new CParamAdjustDlg(image(f), limits(f), QStringLiteral("/dev/null"));
        }) << 32779;
        QTest::newRow("Programming Log")
            << DialogMaker([](CGuiFixture&) -> QDialog* { return new CProgramLogDlg; }) << 32860;
        QTest::newRow("service password")
            << DialogMaker([](CGuiFixture&) -> QDialog* { return new CPasswordDlg; }) << 1027;
        QTest::newRow("About") << DialogMaker([](CGuiFixture& f) -> QDialog* {
            return new CAboutDlg(f.App().Ini());
        }) << 57667;
        QTest::newRow("Language") << DialogMaker([](CGuiFixture& f) -> QDialog* {
            return new CLanguageDlg(f.App().Ini());
        }) << 32799;
        // These two give the page of the control with the focus: Type, and Time Out Time, when they open.
        QTest::newRow("Product Information")
            << DialogMaker([](CGuiFixture&) -> QDialog* { return new CProductInfoDlg; }) << 1013;
        QTest::newRow("Optional Features")
            << DialogMaker([](CGuiFixture&) -> QDialog* { return new COptionalFeaturesDlg; }) << 1118;
        // The transfer window belongs to the view; Read shows it.
        QTest::newRow("Read") << DialogMaker([](CGuiFixture& f) -> QDialog* {
            f.View()->ProcessDlg()->Open(true);
            return nullptr;
        }) << 32773;
        QTest::newRow("Print Preview") << DialogMaker([](CGuiFixture& f) -> QDialog* {
            return f.Frame()->ReportPrinter()->CreatePreview(nullptr, ViewTargets::Report(*f.View()));
        }) << 57607;
    }

    // F1 anywhere in a dialog opens its page (in both languages), and leaves the dialog open.
    void dialogHelp()
    {
        QFETCH(DialogMaker, make);
        QFETCH(int, topic);
        CGuiFixture f;
        QVERIFY(f.Start());
        std::unique_ptr<QDialog> owned(make(f));
        QDialog* dialog = owned ? owned.get() : f.View()->ProcessDlg();
        dialog->show();
        QApplication::setActiveWindow(dialog);
        QWidget* focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QTest::keyClick(focus, Qt::Key_F1);
        QCOMPARE(f.helpTopics, QList<int> { topic });
        QVERIFY(dialog->isVisible());
        for (const char* folder : { "enHelp", "chHelp" })
            QVERIFY2(!pageText(QLatin1String(folder), topic).isEmpty(), folder);
        m_Walked << QString::fromLatin1(dialog->metaObject()->className());
        dialog->hide();
    }

    // The real help window over a modal dialog (Com Setup, run as the menu runs it): it belongs to the
    // dialog, so the dialog does not block it; Escape closes it and leaves the dialog open.
    void helpOverModalDialog()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        CHelpLayer::SetHook({});
        f.ClickCell(1, 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1); // the help window of the grid first
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            const auto closing = qScopeGuard([dialog] { dialog->close(); }); // whatever fails below
            QApplication::setActiveWindow(dialog);
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_F1);
            QTextBrowser* help = nullptr;
            for (QTextBrowser* browser : dialog->findChildren<QTextBrowser*>())
                if (browser->isVisible())
                    help = browser;
            QVERIFY(help);
            QVERIFY(help->source().toLocalFile().endsWith(QStringLiteral("32777.html")));
            QApplication::setActiveWindow(help);
            QTest::keyClick(help, Qt::Key_Escape);
            QTRY_VERIFY(!help->isVisible());
            seen = dialog->isVisible();
        });
        f.Run(CMainFrame::kComSetup);
        QVERIFY(seen);
    }

    // Every dialog class of the program was in the table above: a new dialog fails here until F1
    // in it opens a page.
    void everyDialogWalked()
    {
        const QSet<QString> classes = dialogClassesInSources();
        QVERIFY(classes.contains(QStringLiteral("CPortSettingDlg"))); // the sources were found
        QStringList missing = (classes - m_Walked).values();
        missing.sort();
        QVERIFY2(missing.isEmpty(),
            qPrintable(QStringLiteral("no F1 test for: ") + missing.join(QStringLiteral(", "))));
    }

    // Both languages have the same pages; each leads back to the contents, and every link to a page.
    void pagesLinkBack()
    {
        const QDir english(QStringLiteral(PROGRAM_BIN_DIR "/help/enHelp"));
        const QDir chinese(QStringLiteral(PROGRAM_BIN_DIR "/help/chHelp"));
        const QStringList pages = english.entryList({ QStringLiteral("*.html") }, QDir::Files, QDir::Name);
        QVERIFY(pages.contains(QStringLiteral("57667.html")) && pages.size() > 30);
        QCOMPARE(chinese.entryList({ QStringLiteral("*.html") }, QDir::Files, QDir::Name), pages);
        static const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
        QStringList faults;
        for (const QDir& folder : { english, chinese })
            for (const QString& name : pages) {
                QFile file(folder.filePath(name));
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QString html = QString::fromUtf8(file.readAll());
                if (name != QLatin1String("57667.html")
                    && !html.contains(QLatin1String("href=\"57667.html\"")))
                    faults << folder.dirName() + '/' + name + QStringLiteral(": no way back to the contents");
                for (auto match = link.globalMatch(html); match.hasNext();)
                    if (const QString target = match.next().captured(1); !folder.exists(target))
                        faults << folder.dirName() + '/' + name + QStringLiteral(": no page ") + target;
            }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    void userFiles_data()
    {
        QTest::addColumn<QString>("shown"); // as the help and the manual page write it
        QTest::addColumn<std::function<QString()>>("actual"); // where the program puts it
        QTest::addColumn<QList<int>>("topics"); // the help pages that name it
        QTest::addColumn<bool>("inManual"); // listed under FILES in fieldcom-programmer(1)
        QTest::newRow("backups") << "~/.local/share/fieldcom-programmer/Backups"
                                 << std::function<QString()>([] { return CBackupStore::Folder(); })
                                 << QList<int> { 32870, 32845 } << true;
        QTest::newRow("serial traces")
            << "~/.local/share/fieldcom-programmer/traces"
            << std::function<QString()>([] { return CSerialTrace::DefaultFolder(); })
            << QList<int> { 32870, 32861 } << true;
        QTest::newRow("programming log")
            << "~/.local/share/fieldcom-programmer/programming-log.jsonl"
            << std::function<QString()>([] { return CProgramLog::Path(); }) << QList<int> { 32870 } << true;
        QTest::newRow("settings")
            << "~/.config/fieldcom-programmer/Fieldcom Radio Programmer.ini" << std::function<QString()>([] {
                   return CUserSettings(QStringLiteral("Fieldcom Radio Programmer")).Location();
               })
            << QList<int> { 32870 } << false;
        QTest::newRow("the user's Program.ini")
            << "~/.config/fieldcom-programmer/Program.ini"
            << std::function<QString()>([] { return CAppPaths::UserCopy(QStringLiteral("Program.ini")); })
            << QList<int> { 32870 } << false;
    }

    // The help pages and the manual page say where each per-user file really is (on Linux, with the
    // base folders at their defaults), in both languages.
    void userFiles()
    {
        QFETCH(QString, shown);
        QFETCH(std::function<QString()>, actual);
        QFETCH(QList<int>, topics);
        QFETCH(bool, inManual);
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        const QByteArray data = qgetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        const QString path = actual();
        qputenv("XDG_CONFIG_HOME", config);
        if (!data.isEmpty())
            qputenv("XDG_DATA_HOME", data);
        QCOMPARE(path, QDir::homePath() + shown.mid(1));
        for (int topic : topics)
            for (const char* folder : { "enHelp", "chHelp" })
                QVERIFY2(pageText(QLatin1String(folder), topic).contains(shown),
                    qPrintable(QStringLiteral("%1/%2").arg(folder).arg(topic)));
        if (inManual) {
            QFile page(kSourceDir + QStringLiteral("/packaging/man/fieldcom-programmer.1"));
            QVERIFY(page.open(QIODevice::ReadOnly));
            const QString manual
                = QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
            QVERIFY(manual.contains(QStringLiteral(".I ") + shown));
        }
    }

    void openDataFolder_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("fileInTheWay"); // a plain file where the folder goes
        QTest::addColumn<bool>("opens"); // whether the desktop takes the folder
        QTest::addColumn<QString>("message"); // %1: the folder
        const QString english
            = QStringLiteral("The data folder %1 could not be opened.\n"
                             "Open it in your file manager: it holds the backups, the serial traces "
                             "and the programming log.");
        QTest::newRow("opened") << "English" << false << true << QString();
        QTest::newRow("no file manager") << "English" << false << false << english;
        QTest::newRow("a file in its place") << "English" << true << true << english;
        QTest::newRow("no file manager, Chinese")
            << "Chinese" << false << false
            << QStringLiteral(
                   "无法打开数据文件夹 %1。\n请在文件管理器中打开它: 备份、串口记录和编程日志都在其中。");
    }

    // Help > Open Data Folder hands the data folder to the desktop, made first; when that fails the
    // user is told which folder it is.
    void openDataFolder()
    {
        QFETCH(QString, language);
        QFETCH(bool, fileInTheWay);
        QFETCH(bool, opens);
        QFETCH(QString, message);
        const QString folder = QDir::homePath() + QStringLiteral("/.local/share/fieldcom-programmer");
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        if (fileInTheWay) {
            QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        CGuiFixture f(language);
        f.urlsOpen = opens;
        QVERIFY(f.Start());
        f.Run(CMainFrame::kOpenDataFolder);
        QCOMPARE(f.openedUrls, fileInTheWay ? QList<QUrl> {} : QList<QUrl> { QUrl::fromLocalFile(folder) });
        QCOMPARE(QFileInfo(folder).isDir(), !fileInTheWay);
        QCOMPARE(f.MessageTexts(), message.isEmpty() ? QStringList {} : QStringList { message.arg(folder) });
        if (fileInTheWay)
            QFile::remove(folder);
    }

    void serialTrafficFolder_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>(
            "texts"); // the entry's prompt, then the status after ticking and unticking
        QTest::newRow("English")
            << "English"
            << QStringList { "Record every byte to and from the radio, one file per port, in %1 (F1: Help)",
                   "Serial traffic is logged in %1",
                   "Serial traffic is no longer logged; the files already made stay in %1" };
        QTest::newRow("Chinese")
            << "Chinese"
            << QStringList { "把与电台往来的每个字节记录下来, 每个串口一个文件, 保存在 %1 (F1: 帮助)",
                   "串口通信记录保存在 %1", "已停止记录串口通信; 已有的记录文件仍在 %1" };
    }

    // Setup > Log Serial Traffic says where the files go: while highlighted, and once ticked or unticked.
    void serialTrafficFolder()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, texts);
        const QString traces = QDir::homePath() + QStringLiteral("/.local/share/fieldcom-programmer/traces");
        CGuiFixture f(language);
        QVERIFY(f.Start());
        QAction* entry = f.Frame()->FindCommand(CHelpLayer::kSerialLogTopic);
        QVERIFY(entry && !entry->isChecked());
        QCOMPARE(entry->statusTip(), texts[0].arg(traces));
        entry->trigger();
        QCOMPARE(f.Frame()->Bars()->StatusBar()->DoneText(), texts[1].arg(traces));
        entry->trigger();
        QCOMPARE(f.Frame()->Bars()->StatusBar()->DoneText(), texts[2].arg(traces));
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
