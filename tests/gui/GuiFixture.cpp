#include "GuiFixture.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "image/BackupStore.h"
#include "image/ProgramDoc.h"
#include "widgets/HelpLayer.h"
#include "widgets/ModalDialog.h"
#include "widgets/ProcessStarter.h"
#include "widgets/UrlOpener.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

namespace {

void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        if (name.endsWith(QLatin1String(".ini")) || name.endsWith(QLatin1String(".qm"))
            || name.endsWith(QLatin1String(".html")))
            QFile::copy(source.filePath(name), QDir(to).filePath(name));
    for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        copyTree(source.filePath(name), QDir(to).filePath(name));
}

} // namespace

CGuiFixture::CGuiFixture(const QString& language)
    : m_OldConfigHome(qgetenv("XDG_CONFIG_HOME"))
{
    copyTree(QStringLiteral(PROGRAM_BIN_DIR), m_Bin.path());
    CAppPaths::SetExecutableDir(m_Bin.path());
    qputenv("XDG_CONFIG_HOME", m_Settings.path().toLocal8Bit());
    SetIni(QStringLiteral("Setup"), QStringLiteral("Language"), language);
    CBackupStore::SetFolderOverride(m_Settings.filePath(QStringLiteral("Backups")));

    CMessageBox::SetHook([this](const CMessageBox::Request& request) {
        messages << Shown { request.text, request.caption, request.buttons };
        if (!answers.isEmpty())
            return answers.takeFirst();
        if (request.defaultButton != QMessageBox::NoButton)
            return request.defaultButton; // the user pressed Enter
        for (auto button : { QMessageBox::Ok, QMessageBox::Save, QMessageBox::Yes })
            if (request.buttons & button)
                return button;
        return QMessageBox::Cancel;
    });
    CFilePrompt::SetHook([this](const CFilePrompt::Request& request) {
        filePrompts << request;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    });
    CProcessStarter::SetHook([this](const QString& program, const QStringList& arguments) {
        started << (QStringList { program } + arguments).join(QLatin1Char(' '));
        return true;
    });
    CHelpLayer::SetHook([this](int contextId, const QString&) { helpTopics << contextId; });
    CUrlOpener::SetHook([this](const QUrl& url) {
        openedUrls << url;
        return urlsOpen;
    });
    ModalDialog::SetHook([this](QDialog& dialog) {
        dialogs << dialog.windowTitle();
        return onDialog ? onDialog(dialog) : int(QDialog::Rejected);
    });
}

CGuiFixture::~CGuiFixture()
{
    m_App.reset();
    CMessageBox::SetHook({});
    CMessageBox::SetAppCaption(QStringLiteral("Program"));
    CFilePrompt::SetHook({});
    CProcessStarter::SetHook({});
    CHelpLayer::SetHook({});
    CUrlOpener::SetHook({});
    ModalDialog::SetHook({});
    CLanguage::SetName(QString());
    CProgramDoc::SetNewDocument(false);
    CAppPaths::SetExecutableDir(QString());
    CBackupStore::SetFolderOverride(QString());
    qputenv("XDG_CONFIG_HOME", m_OldConfigHome);
}

QString CGuiFixture::BinPath(const QString& name) const
{
    return m_Bin.filePath(name);
}

QString CGuiFixture::BackupFolder() const
{
    return m_Settings.filePath(QStringLiteral("Backups"));
}

QString CGuiFixture::DataPath(const QString& name) const
{
    return m_Data.filePath(name);
}

void CGuiFixture::SetIni(const QString& section, const QString& key, const QString& value)
{
    CIniFile ini;
    ini.Open(BinPath(QStringLiteral("Program.ini")), false, true, false);
    ini.SetValue(section, key, value);
    ini.Save(false);
}

QString CGuiFixture::IniOnDisk(const QString& section, const QString& key) const
{
    CIniFile ini;
    ini.Open(BinPath(QStringLiteral("Program.ini")), false, true, false);
    return ini.GetValue(section, key);
}

void CGuiFixture::SetUserTypeAndField(quint32 type, quint32 field)
{
    CIniFile ini;
    ini.Open(BinPath(QStringLiteral("Program.ini")), false, true, false);
    CUserSettings(ini.GetValue(QStringLiteral("Setup"), QStringLiteral("AppName")))
        .SetTypeAndField(type, field);
}

bool CGuiFixture::Start(const QStringList& arguments)
{
    m_App = std::make_unique<CProgramApp>();
    if (!m_App->InitInstance(arguments))
        return false;
    QApplication::setActiveWindow(m_App->MainFrame());
    return true;
}

CMainFrame* CGuiFixture::Frame() const
{
    return m_App ? m_App->MainFrame() : nullptr;
}

void CGuiFixture::Run(int command)
{
    QAction* action = Frame()->FindCommand(command);
    QVERIFY2(action && action->isEnabled(), qPrintable(QString::number(command)));
    action->trigger();
}

QStringList CGuiFixture::MessageTexts() const
{
    QStringList texts;
    for (const Shown& shown : messages)
        texts << shown.text;
    return texts;
}

CChildFrame* CGuiFixture::Child() const
{
    return Frame() ? Frame()->ActiveChild() : nullptr;
}

CProgramView* CGuiFixture::View() const
{
    return Child() ? Child()->View() : nullptr;
}

CMSFlexGrid* CGuiFixture::Grid() const
{
    return View() ? View()->Grid() : nullptr;
}

CProgramDoc* CGuiFixture::Doc() const
{
    return Child() ? Child()->Document() : nullptr;
}

void CGuiFixture::ClickCell(int row, int col, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    ClickCell(Grid(), row, col, modifiers, button);
}

void CGuiFixture::ClickCell(
    CMSFlexGrid* grid, int row, int col, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    QTest::mouseClick(
        grid->viewport(), button, modifiers, grid->visualRect(grid->model()->index(row, col)).center());
}

QWidget* CGuiFixture::VisibleEditor() const
{
    QWidget* editor = View()->EditorForColumn(int(Grid()->GetCol()));
    return editor && editor->isVisible() ? editor : nullptr;
}

void CGuiFixture::Type(const QString& text)
{
    // An edit box, or a list that takes typing (the tone cells): keys go where the keyboard is.
    QWidget* editor = VisibleEditor();
    auto* list = qobject_cast<QComboBox*>(editor);
    QVERIFY2(qobject_cast<QLineEdit*>(editor) || (list && list->isEditable()), "no edit box open over the current cell");
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(editor, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(editor, c.toLatin1());
        else // what an input method delivers: the text without a key of its own
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void CGuiFixture::PressEnter()
{
    QWidget* target = VisibleEditor() ? VisibleEditor() : static_cast<QWidget*>(Grid());
    QTest::keyClick(target, Qt::Key_Return);
}

void CGuiFixture::ChooseItem(const QString& item)
{
    auto* list = qobject_cast<QComboBox*>(VisibleEditor());
    QVERIFY2(list, "no drop-down list open over the current cell");
    // A list that takes typing opens from its arrow; a click on its text only places the cursor.
    QStyleOptionComboBox arrow;
    arrow.initFrom(list);
    arrow.editable = list->isEditable();
    arrow.subControls = QStyle::SC_All;
    QTest::mouseClick(list, Qt::LeftButton, {},
        list->style()->subControlRect(QStyle::CC_ComboBox, &arrow, QStyle::SC_ComboBoxArrow, list).center());
    QAbstractItemView* popup = list->view();
    QTRY_VERIFY(popup->isVisible());
    const QModelIndex index = list->model()->index(list->findText(item, Qt::MatchExactly), 0);
    QVERIFY2(index.isValid(), qPrintable(item));
    // The pointer picks the item and Return takes it (a release right after the list opened would be
    // ignored by the list, as a guard against the click that opened it).
    popup->scrollTo(index);
    QTest::mouseMove(popup->viewport(), popup->visualRect(index).center());
    QCOMPARE(popup->currentIndex().row(), index.row());
    QTest::keyClick(popup, Qt::Key_Return);
    QVERIFY(!popup->isVisible());
}

QStringList CGuiFixture::RowTexts(int row) const
{
    QStringList texts;
    for (int col = 1; col < 9; ++col)
        texts << Grid()->GetTextMatrix(row, col);
    return texts;
}
