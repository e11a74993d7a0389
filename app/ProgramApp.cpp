#include "app/ProgramApp.h"

#include "config/AppPaths.h"
#include "app/AboutDlg.h"
#include "app/ChildFrame.h"
#include "widgets/FilePrompt.h"
#include "config/Language.h"
#include "config/MenuText.h"
#include "app/MainFrame.h"
#include "app/BatchMenu.h"
#include "app/ServiceMenu.h"
#include "app/FrameBars.h"
#include "app/FrameStatusBar.h"
#include "widgets/MessageBox.h"
#include "app/NavigationTree.h"
#include "app/OpenBackupDlg.h"
#include "widgets/ModalDialog.h"
#include "widgets/PaintedIcon.h"
#include "config/NumberParse.h"
#include "config/SafeFile.h"
#include "config/StringTable.h"
#include "config/UserFilesMove.h"
#include "radio/ChannelCodec.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/PortName.h"
#include "link/ProgramLog.h"
#include "link/ProgramLogDlg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QDir>
#include <QLabel>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

namespace {

const QString kSetup = QStringLiteral("Setup");
constexpr CBilingual kLoadLanguageFailed { "Load language DLL fail", "加载语言链接库失败" };

// "<Language>.qm" beside the executable. Like the module lookup of the platform the program came
// from, the name is matched without regard to case.
QString languageFilePath(const QString& language)
{
    const QString fileName = language + QStringLiteral(".qm");
    const QString exact = CAppPaths::BesideExe(fileName);
    if (language.isEmpty() || QFileInfo::exists(exact))
        return exact;
    const QStringList files
        = QDir(CAppPaths::ExecutableDir()).entryList({ QStringLiteral("*.qm") }, QDir::Files);
    for (const QString& file : files)
        if (file.compare(fileName, Qt::CaseInsensitive) == 0)
            return CAppPaths::BesideExe(file);
    return exact;
}

} // namespace

CProgramApp::CProgramApp() = default;

CProgramApp::~CProgramApp()
{
    SafeFile::SetNotice({});
    m_pMainFrame.reset(); // documents and views go before the configuration and the translator
    QCoreApplication::removeTranslator(&m_Translator);
    QCoreApplication::removeTranslator(&m_QtTranslator);
}

bool CProgramApp::InitInstance(const QStringList& arguments)
{
    m_Ini.OpenBesideExe(QStringLiteral("Program.ini"), true, true, false);
    CUserFilesMove::MoveData(); // backups and traces of earlier versions, before anything looks for them
    CLanguage::SetName(m_Ini.GetValue(kSetup, QStringLiteral("Language")));
    CFilePrompt::SetSettingsName(m_Ini.GetValue(kSetup, QStringLiteral("AppName")));
    if (!LoadLanguageFile()) {
        CMessageBox::Show(nullptr, kLoadLanguageFailed.Text(), QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }

    CProgramDoc::SetLogFileTest([](const QString& path) { return CProgramLog().Owns(path); });

    // What a save that succeeded still has to tell (a hard link it broke), once the save is over.
    SafeFile::SetNotice([](const QString& notice) {
        QTimer::singleShot(0, qApp, [notice] {
            CMessageBox::Show(QApplication::activeWindow(), notice, QMessageBox::Ok, QMessageBox::Warning);
        });
    });

    // Every window carries the program's own icon unless "title.ico" gives another.
    QApplication::setWindowIcon(PaintedIcon::Icon(PaintedIcon::Kind::Radio));
    m_pMainFrame = std::make_unique<CMainFrame>(m_Ini.GetValue(CLanguage::Name(), QStringLiteral("Company")));
    connect(m_pMainFrame.get(), &CMainFrame::FileNewRequested, this, &CProgramApp::OnFileNew);
    connect(m_pMainFrame.get(), &CMainFrame::FileOpenRequested, this, &CProgramApp::OnFileOpen);
    connect(m_pMainFrame.get(), &CMainFrame::FileOpenBackupRequested, this, &CProgramApp::OnFileOpenBackup);
    connect(m_pMainFrame.get(), &CMainFrame::ProgrammingLogRequested, this, &CProgramApp::OnProgrammingLog);
    connect(m_pMainFrame.get(), &CMainFrame::AboutRequested, this, &CProgramApp::OnAppAbout);
    // Ctrl+F11 and the service entries; the frame owns it. The tree gains its two service entries
    // with the menu's and opens the same dialogs.
    auto* service = new CServiceMenu(m_pMainFrame.get(), m_Ini);
    new CBatchMenu(m_pMainFrame.get(), m_Ini); // Batch Write... and Log Serial Traffic; the frame owns it
    CNavigationTree* tree = m_pMainFrame->Bars()->Tree();
    connect(service, &CServiceMenu::Unlocked, tree, &CNavigationTree::AddServiceEntries);
    connect(tree, &CNavigationTree::CommandRequested, service, [service](int command) {
        if (command == CMainFrame::kPowerAdjust)
            service->OnPowerAdjust();
        else if (command == CMainFrame::kParameterAdjust)
            service->OnParamAdjust();
    });

    // --port COMn=DEVICE and --virtual-radio COMn=DEVICE: devices for this run only, said in the
    // status bar and never stored.
    QStringList refused;
    const QStringList rest = CPortName::TakeOverrideOptions(arguments, &refused);
    for (const QString& option : refused)
        qWarning("Program: ignored \"%s\": use --port COMn=DEVICE", qPrintable(option));
    if (const QString notice = CPortName::OverrideNotice(CLanguage::IsChinese()); !notice.isEmpty())
        m_pMainFrame->Bars()->StatusBar()->SetPortNotice(notice);

    const QString fileArgument = rest.isEmpty() ? QString() : rest.constFirst();
    CChildFrame* first = fileArgument.isEmpty() ? NewDocumentWindow() : OpenDocumentFile(fileArgument);
    if (!first)
        return false;

    // Sized to the screen first, so the window fills it also where no window manager maximizes it.
    if (const QScreen* screen = m_pMainFrame->screen())
        m_pMainFrame->setGeometry(screen->availableGeometry());
    m_pMainFrame->showMaximized();
    const QString icon = CAppPaths::BesideExe(QStringLiteral("title.ico"));
    if (QFileInfo::exists(icon))
        m_pMainFrame->setWindowIcon(QIcon(icon));
    // Message boxes from here on carry the company's name.
    CMessageBox::SetAppCaption(m_Ini.GetValue(CLanguage::Name(), QStringLiteral("Company")));
    AdjustMenus();
    return true;
}

bool CProgramApp::LoadLanguageFile()
{
    const QString path = languageFilePath(CLanguage::Name());
    if (CLanguage::Name().isEmpty() || !QFileInfo::exists(path) || !m_Translator.load(path))
        return false;
    if (CLanguage::IsChinese()
        && m_QtTranslator.load(
            QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_QtTranslator);
    QCoreApplication::installTranslator(&m_Translator); // searched first
    return true;
}

// The About entry is named by the configuration, the Language entry can be switched off, and the
// service entries wait for the service unlock.
void CProgramApp::AdjustMenus()
{
    if (QAction* about = m_pMainFrame->FindCommand(CMainFrame::kAppAbout))
        about->setText(m_Ini.GetValue(CLanguage::Name(), QStringLiteral("About Title")));
    if (NumberParse::Atoi(m_Ini.GetValue(kSetup, QStringLiteral("ShowLang"))) == 0)
        m_pMainFrame->RemoveCommand(CMainFrame::kLanguage);
    m_pMainFrame->RemoveCommand(CMainFrame::kParameterAdjust);
    m_pMainFrame->RemoveCommand(CMainFrame::kPowerAdjust);
}

void CProgramApp::OnFileNew()
{
    if (CChildFrame* active = m_pMainFrame->ActiveChild()) {
        if (CMessageBox::Show(m_pMainFrame.get(), StringTable::Message(StringTable::kAllDataCleared),
                QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Warning)
            != QMessageBox::Ok)
            return;
        if (!active->Document()->SaveModified())
            return;
        delete active; // the document goes with its window
    }
    NewDocumentWindow();
}

void CProgramApp::OnFileOpen()
{
    const QString path = CFilePrompt::OpenFileName(m_pMainFrame.get());
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CProgramApp::OnFileOpenBackup()
{
    COpenBackupDlg dialog(m_Ini, m_pMainFrame.get());
    ModalDialog::Exec(dialog);
    if (const QString path = dialog.ChosenPath(); !path.isEmpty())
        OpenDocumentFile(path, true);
}

// Program > Programming Log...; its Open Backup opens the chosen read's backup as File > Open Backup does.
void CProgramApp::OnProgrammingLog()
{
    QStringList openFiles;
    for (const CChildFrame* child : m_pMainFrame->Children())
        if (child->Document() && !child->Document()->PathName().isEmpty())
            openFiles << child->Document()->PathName();
    CProgramLogDlg dialog(m_pMainFrame.get(), openFiles);
    connect(&dialog, &CProgramLogDlg::Exported, m_pMainFrame.get(), &CMainFrame::ShowDone);
    ModalDialog::Exec(dialog);
    if (const QString path = dialog.ChosenBackup(); !path.isEmpty())
        OpenDocumentFile(path, true);
}

CChildFrame* CProgramApp::OpenDocumentFile(const QString& path, bool backup)
{
    auto document = std::make_unique<CProgramDoc>(m_Ini);
    document->SetWindow(m_pMainFrame.get());
    if (!(backup ? document->OnOpenBackup(path) : document->OnOpenDocument(path)))
        return nullptr; // reported; the open document stays as it was
    CChildFrame* previous = m_pMainFrame->ActiveChild();
    if (previous) {
        if (!previous->Document()->SaveModified())
            return nullptr;
        // The earlier window is only hidden, its document kept; its edits were saved or let go above.
        previous->Document()->SetModifiedFlag(false); // before the close, which would ask again
        previous->close();
    }
    return CreateWindowFor(std::move(document));
}

CChildFrame* CProgramApp::NewDocumentWindow()
{
    auto document = std::make_unique<CProgramDoc>(m_Ini);
    document->OnNewDocument();
    // The built-in image holds its channels as the empty grid writes them, so that saving the new
    // document unchanged stores what the grid shows. It stays unmodified.
    if (document->IsBuiltInImage())
        ChannelCodec::EncodeEmptyChannels(document->m_Image);
    return CreateWindowFor(std::move(document));
}

// One document, one child frame, one channel view.
CChildFrame* CProgramApp::CreateWindowFor(std::unique_ptr<CProgramDoc> document)
{
    auto* view = new CProgramView(document.get(), m_Ini);
    auto* child = new CChildFrame(document.release(), view);
    m_pMainFrame->AddChild(child);
    view->OnInitialUpdate();
    child->adjustSize();
    m_pMainFrame->FitChildToArea(child);
    child->show();
    m_pMainFrame->MdiArea()->setActiveSubWindow(child);
    view->setFocus();
    return child;
}

void CProgramApp::OnAppAbout()
{
    CAboutDlg about(m_Ini, m_pMainFrame.get());
    ModalDialog::Exec(about);
}
