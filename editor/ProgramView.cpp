#include "editor/ProgramView.h"

#include "csv/RadioCompare.h"

#include "config/AppPaths.h"
#include "widgets/HelpLayer.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "dialogs/LanguageDlg.h"
#include "widgets/MessageBox.h"
#include "widgets/ProcessStarter.h"
#include "config/StringTable.h"
#include "config/UserSettings.h"
#include "editor/MSFlexGrid.h"
#include "editor/RowEditor.h"
#include "editor/ToneTable.h"
#include "image/BackupStore.h"
#include "image/ProgramDoc.h"
#include "link/CloneTransfer.h"
#include "link/PortName.h"
#include "link/PortSettingDlg.h"
#include "link/ProcessDlg.h"
#include "link/TransferDriver.h"
#include "link/VerifyRun.h"
#include "service/ServiceAccess.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace ChannelCodec;

QString CProgramView::s_strMainTitle;

namespace {

// Column widths as multiples of column 0's starting width.
constexpr double kWidthFactors[CChannelGrid::kCols] = { 0.51, 1.2, 1.2, 1.2, 1.2, 1.0, 0.8, 1.0, 0.8 };
constexpr int kListIds[] = { CProgramView::kDecodeToneId, CProgramView::kEncodeToneId,
    CProgramView::kBandwidthId, CProgramView::kScanId, CProgramView::kBusyLockId, CProgramView::kPowerId };

const QColor kFixedTextColor(0, 50, 240);
const QColor kTitleColor(250, 10, 10);

QFont gridFont()
{
    QFont font;
    // Where Times New Roman is missing, a serif of the same build; Chinese headers fall back to a CJK font.
    font.setFamilies({ QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
        QStringLiteral("Tinos"), QStringLiteral("DejaVu Serif"), QStringLiteral("WenQuanYi Micro Hei") });
    font.setPointSize(9);
    return font;
}

// "宋体" where the system has it, else another font that carries Chinese.
QFont titleFont()
{
    QFont font;
    font.setFamilies({ QStringLiteral("宋体"), QStringLiteral("SimSun"),
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC") });
    font.setPointSize(12);
    return font;
}

} // namespace

CProgramView::CProgramView(CProgramDoc* document, CIniFile& ini, QWidget* parent)
    : QWidget(parent)
    , m_pDocument(document)
    , m_Ini(ini)
    , m_Cells(CLanguage::IsChinese())
    , m_Title(new QLabel(this))
    , m_Grid(new CMSFlexGrid(this))
{
    CHelpLayer::SetControlId(m_Title, kTitleId);
    CHelpLayer::SetControlId(m_Grid, kGridId);
    m_Title->setAlignment(Qt::AlignCenter);
    m_Grid->setFont(gridFont());
    m_Grid->installEventFilter(this);
    setFocusProxy(m_Grid);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(m_Title);
    layout->addWidget(m_Grid, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_Grid, &CMSFlexGrid::LeaveCell, this, &CProgramView::OnLeaveCell);
    connect(m_Grid, &CMSFlexGrid::EnterCell, this, &CProgramView::OnEnterCell);
    connect(m_Grid, &CMSFlexGrid::MouseDown, this,
        [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int, int) {
            // A channel number selects its row; any other cell opens its editor.
            if (m_Grid->GetMouseCol() == 0)
                m_pRowEditor->OnRowNumberPressed(int(m_Grid->GetMouseRow()), button, modifiers);
            else
                OnGridMouseDown();
        });
    connect(document, &CProgramDoc::CommitEdits, this, &CProgramView::OnLeaveCell);
    connect(document, &CProgramDoc::StoreGrid, this, &CProgramView::StoreGrid);
    connect(document, &CProgramDoc::ImageReplaced, this, &CProgramView::OnImageReplaced);
    m_pRowEditor = new CRowEditor(this);

    // Every new channel view takes the port from this user's settings.
    CPortName::LoadFromSettings(CUserSettings::ForConfiguration(m_Ini));
    m_pProcessDlg = new CProcessDlg(this);
    connect(m_pProcessDlg, &CProcessDlg::StartRequested, this, &CProgramView::OnTransfer);
    connect(m_pProcessDlg, &CProcessDlg::VerifyToggled, this,
        [this](bool on) { CUserSettings::ForConfiguration(m_Ini).SetVerifyAfterWriting(on); });
}

CProgramView::~CProgramView() = default;

void CProgramView::OnInitialUpdate()
{
    if (m_bFirstInit) {
        const bool zh = CLanguage::IsChinese();
        m_ToneList = ToneTable::BuildToneList(zh);
        m_Grid->SetRows(CChannelGrid::kRows);
        m_Grid->SetCols(CChannelGrid::kCols);
        m_Grid->SetForeColorFixed(kFixedTextColor);
        CreateEditors();
        RefreshAll(); // header texts and row numbers
        m_Title->setText(m_Ini.GetValue(
            zh ? QStringLiteral("Chinese") : QStringLiteral("English"), QStringLiteral("Title")));
        SetupGrid();
        layout()->activate(); // the view takes its fixed size now, so its window can be sized to it
        m_bFirstInit = false;
    }
    const QString icon = CAppPaths::BesideExe(QStringLiteral("title.ico"));
    if (QWidget* frame = Frame(); frame && QFileInfo::exists(icon))
        frame->setWindowIcon(QIcon(icon));
    ShowImage();
}

void CProgramView::CreateEditors()
{
    m_RxEdit = new QLineEdit(m_Grid->viewport());
    m_TxEdit = new QLineEdit(m_Grid->viewport());
    CHelpLayer::SetControlId(m_RxEdit, kRxEditId);
    CHelpLayer::SetControlId(m_TxEdit, kTxEditId);
    for (std::size_t i = 0; i < m_Lists.size(); ++i) {
        auto* list = new QComboBox(m_Grid->viewport());
        const int column = kDecodeTone + int(i);
        list->addItems(column == kDecodeTone || column == kEncodeTone
                ? m_ToneList
                : ListItems(column, CLanguage::IsChinese()));
        list->setMaxVisibleItems(12);
        list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }")); // a scrolled drop-down list
        CHelpLayer::SetControlId(list, kListIds[i]);
        // Only the user's own choice (mouse, keys or wheel) counts as an edit, not the item the list
        // was opened on.
        connect(list, &QComboBox::activated, this, [this] { m_bListChosen = true; });
        m_Lists[i] = list;
    }
    QList<QWidget*> editors { m_RxEdit, m_TxEdit };
    for (QComboBox* list : m_Lists)
        editors << list;
    for (QWidget* editor : editors) {
        editor->setFont(font()); // the view's font, not the grid's
        editor->hide();
        editor->installEventFilter(this);
    }
}

void CProgramView::SetupGrid()
{
    for (int col = 0; col < CChannelGrid::kCols; ++col)
        m_Grid->SetColAlignment(col, CMSFlexGrid::kAlignCenterCenter);
    const long w = m_Grid->GetColWidth(0);
    for (int col = 0; col < CChannelGrid::kCols; ++col)
        m_Grid->SetColWidth(col, long(double(w) * kWidthFactors[col]));
    m_Grid->setFixedSize(m_Grid->sizeHint());
    m_Grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_Grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_Title->setFont(titleFont());
    QPalette palette = m_Title->palette();
    palette.setColor(QPalette::WindowText, kTitleColor);
    m_Title->setPalette(palette);
}

void CProgramView::ShowImage()
{
    CRadioImage& image = m_pDocument->m_Image;
    m_Cells.LoadImage(image);
    RefreshAll();

    // A new document takes product type and band from this user's settings; an opened or read image
    // hands its own to them when the configuration lists them.
    ShowTitleAndLimits(CProgramDoc::IsNewDocument());
}

void CProgramView::OnImageReplaced()
{
    for (int col = 1; col < CChannelGrid::kCols; ++col)
        if (QWidget* editor = EditorForColumn(col); editor && !editor->isHidden())
            HideEditor(editor);
    m_Cells.LoadImage(m_pDocument->m_Image);
    RefreshAll();
    // An image given back by undo keeps its own type and band, also in a new document.
    ShowTitleAndLimits(false);
}

void CProgramView::ShowTitleAndLimits(bool newDocument)
{
    CRadioImage& image = m_pDocument->m_Image;
    CUserSettings settings = CUserSettings::ForConfiguration(m_Ini);
    ProductCatalog::SyncTypeAndBand(m_Ini, image, settings, newDocument);

    const bool zh = CLanguage::IsChinese();
    const std::uint8_t type = image.Byte(ImageMap::kProductType);
    const QString typeText = ProductCatalog::ShownTypeText(m_Ini, type, zh);
    const QString bandText
        = ProductCatalog::ShownBandText(m_Ini, type, image.Byte(ImageMap::kFrequencyBand), zh);
    const QString appName = m_Ini.GetValue(CLanguage::Name(), QStringLiteral("AppName"));
    SetMainWindowTitle(window(), ProductCatalog::WindowTitle(appName, typeText, bandText, zh));
    SetBandLimits(ProductCatalog::CheckedLimits(m_Ini, image, settings));
}

void CProgramView::SetMainWindowTitle(QWidget* mainWindow, const QString& title)
{
    s_strMainTitle = title;
    if (mainWindow)
        mainWindow->setWindowTitle(title);
}

void CProgramView::StoreGrid()
{
    m_Cells.StoreGrid(m_pDocument->m_Image);
}

void CProgramView::SetBandLimits(BandLimits limits)
{
    m_nLowerLimit = limits.lower;
    m_nUpperLimit = limits.upper;
    m_Cells.SetBandLimits(limits);
}

void CProgramView::RefreshRow(int row)
{
    for (int col = 0; col < CChannelGrid::kCols; ++col)
        m_Grid->SetTextMatrix(row, col, m_Cells.Text(row, col));
}

void CProgramView::RefreshAll()
{
    for (int row = 0; row < CChannelGrid::kRows; ++row)
        RefreshRow(row);
}

QWidget* CProgramView::EditorForColumn(int col) const
{
    if (col >= kDecodeTone && col <= kPower)
        return m_Lists[std::size_t(col - kDecodeTone)];
    return col == kTxFrequency ? m_TxEdit : m_RxEdit;
}

QString CProgramView::EditorText(const QWidget* editor) const
{
    if (auto* edit = qobject_cast<const QLineEdit*>(editor))
        return edit->text();
    if (auto* list = qobject_cast<const QComboBox*>(editor))
        return list->currentText();
    return {};
}

bool CProgramView::IsEdited(const QWidget* editor, int row, int col) const
{
    if (qobject_cast<const QComboBox*>(editor))
        return m_bListChosen;
    return EditorText(editor) != m_Cells.Text(row, col);
}

void CProgramView::OnEnterCell()
{
    ShowEditorOverCurrentCell();
}

void CProgramView::OnGridMouseDown()
{
    ShowEditorOverCurrentCell();
}

void CProgramView::ShowEditorOverCurrentCell()
{
    const int row = int(m_Grid->GetRow());
    const int col = int(m_Grid->GetCol());
    QWidget* editor = EditorForColumn(col);
    if (!editor || row < 1 || col < 1 || IsTransferWindowOpen())
        return;
    const QString text = m_Grid->GetTextMatrix(row, col);
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        m_bListChosen = false;
        // The first item that begins with the cell's text, whatever its case. A text the list lacks
        // (a tone the radio holds but the list does not offer) is shown as it is, with no item chosen.
        const int index = list->findText(text, Qt::MatchStartsWith);
        list->setPlaceholderText(text);
        list->setCurrentIndex(index);
    }
    // The grid reports the cell in twips; the editor sits exactly on it. (The -3 pixel nudge other
    // grid controls need for their border does not apply: our cell positions are already inside it.)
    const long dx = m_Grid->logicalDpiX();
    const long dy = m_Grid->logicalDpiY();
    const long twips = CMSFlexGrid::kTwipsPerInch;
    editor->setGeometry(int(m_Grid->GetCellLeft() * dx / twips), int(m_Grid->GetCellTop() * dy / twips),
        int(m_Grid->GetCellWidth() * dx / twips), int(m_Grid->GetCellHeight() * dy / twips));
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
        edit->selectAll();
    }
    editor->show();
    editor->raise();
    editor->setFocus();
    // In a window smaller than the grid, the cell being edited is scrolled into sight.
    for (QWidget* up = parentWidget(); up; up = up->parentWidget())
        if (auto* scroller = qobject_cast<QScrollArea*>(up)) {
            scroller->ensureWidgetVisible(editor, 0, 0);
            break;
        }
    m_Grid->viewport()->update();
}

void CProgramView::HideEditor(QWidget* editor)
{
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    if (hadFocus)
        m_Grid->setFocus(); // keep the keyboard on the grid, so arrows and Enter go on working
}

CChannelGrid::Outcome CProgramView::CommitCell(
    int row, int col, QWidget* editor, CChannelGrid::Trigger trigger)
{
    // An editor left as it was opened keeps the cell as it is: a tone the list lacks shows as item 0
    // in its list, yet stays what it was.
    if (!IsEdited(editor, row, col)) {
        HideEditor(editor);
        return CChannelGrid::Outcome::Accepted;
    }
    const RowTexts before = m_Cells.RowTexts(row);
    const CChannelGrid::Outcome outcome = m_Cells.Commit(row, col, EditorText(editor), trigger);
    if (outcome != CChannelGrid::Outcome::Accepted)
        CMessageBox::Show(this, CChannelGrid::Message(outcome), StringTable::Message(StringTable::kCaution),
            QMessageBox::Ok, QMessageBox::Warning);
    RefreshRow(row);
    if (m_Cells.RowTexts(row) != before) {
        // The image follows every edit at once, so that each one is a step of the undo history.
        const CRadioImage old = m_pDocument->m_Image;
        m_Cells.StoreGrid(m_pDocument->m_Image);
        m_pDocument->RecordChange(old, QStringLiteral("Edit"));
    }
    HideEditor(editor);
    return outcome;
}

void CProgramView::OnLeaveCell()
{
    const int row = int(m_Grid->GetRow());
    const int col = int(m_Grid->GetCol());
    QWidget* editor = EditorForColumn(col);
    if (editor && !editor->isHidden())
        CommitCell(row, col, editor, CChannelGrid::Trigger::LeaveCell);
}

void CProgramView::OnEnterKey(bool back)
{
    const int row = int(m_Grid->GetRow());
    const int col = int(m_Grid->GetCol());
    QWidget* editor = EditorForColumn(col);
    if (editor && !editor->isHidden()
        && CommitCell(row, col, editor, CChannelGrid::Trigger::Enter) != CChannelGrid::Outcome::Accepted)
        return; // a refused value keeps the cell current
    if (back) {
        // One change of the current cell straight to the previous one.
        const auto [prevRow, prevCol] = CChannelGrid::BackMove(row, col);
        m_Grid->setCurrentCell(prevRow, prevCol);
        return;
    }
    // Each step is one change of the current cell, with its own leave and enter.
    for (const auto& [nextRow, nextCol] : CChannelGrid::EnterMoves(row, col)) {
        if (nextRow != m_Grid->GetRow())
            m_Grid->SetRow(nextRow);
        if (nextCol != m_Grid->GetCol())
            m_Grid->SetCol(nextCol);
    }
}

void CProgramView::OnEscapeKey()
{
    // The edit is dropped: the cell still holds its text, since only a commit writes it.
    QWidget* editor = EditorForColumn(int(m_Grid->GetCol()));
    if (editor && !editor->isHidden())
        HideEditor(editor);
}

bool CProgramView::eventFilter(QObject* watched, QEvent* event)
{
    // A key the focused control ignores comes by again on its way up to the grid: handle it once.
    if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl+Tab stays the window switch of the document area.
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (key->key() == Qt::Key_F1) {
            CHelpLayer::ShowTopic(this, CHelpLayer::ControlId(QApplication::focusWidget()));
        } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
            || (key->key() == Qt::Key_Tab && plain)) {
            OnEnterKey(false); // Tab moves on as Enter does
            return true;
        } else if (key->key() == Qt::Key_Backtab && plain) {
            OnEnterKey(true);
            return true;
        } else if (key->key() == Qt::Key_Escape && watched != m_Grid) {
            OnEscapeKey();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* CProgramView::Frame() const
{
    // The view sits in a scroll area inside its document window.
    for (QWidget* up = parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(up))
            return up;
    return parentWidget();
}

bool CProgramView::IsTransferWindowOpen() const
{
    return m_pProcessDlg && m_pProcessDlg->isVisible();
}

void CProgramView::OnRead()
{
    // A read replaces every channel: unsaved edits are offered for saving first, as Open does. A
    // running transfer is not asked about; the choice only sets what the next window does.
    if (!m_pProcessDlg->IsStarted() || !m_pProcessDlg->isVisible()) {
        OnLeaveCell();
        if (!m_pDocument->SaveModified())
            return;
    }
    m_bWrite = 0;
    m_bCompare = false;
    m_pProcessDlg->Open(true);
}

void CProgramView::OnWrite()
{
    OnLeaveCell(); // the grid stays read-only while the progress window is up
    m_bWrite = 1;
    m_bCompare = false;
    m_pProcessDlg->SetVerifyAfterWriting(CUserSettings::ForConfiguration(m_Ini).VerifyAfterWriting());
    m_pProcessDlg->Open(false);
}

void CProgramView::OnCompare()
{
    m_bWrite = 0;
    m_bCompare = true;
    m_pProcessDlg->Open(true);
}

// OK in the progress window: one clone transfer on the port chosen in Port Setting. The port is opened
// here and closed before this returns, whatever happens.
void CProgramView::OnTransfer()
{
    OnLeaveCell(); // a value still in its edit box belongs to the grid
    const bool write = m_bWrite != 0;
    if (write)
        StoreGrid(); // even when the port then fails, as Save would
    CRadioImage& image = m_pDocument->m_Image;
    // A read receives into a copy: the document keeps its image unless every block comes in.
    const std::unique_ptr<CCloneTransfer> transfer = write
        ? CCloneTransfer::ChannelWrite(image, CServiceAccess::IsGranted())
        : CCloneTransfer::ChannelRead(image);
    const QString device = CPortName::DevicePath(CPortName::Current(), m_Ini);

    // The windows are serviced between blocks, where any command may run: even one that closes
    // this view. Nothing of the view is touched once it has gone.
    CTransferDriver driver(m_pProcessDlg, this);
    const CCloneTransfer::Status status = driver.Run(*transfer, device);
    if (driver.Abandoned() || status != CCloneTransfer::Status::Done)
        return;
    if (!write && m_bCompare) {
        RadioCompare::ShowDifferences(*this, *transfer);
        return;
    }
    if (write && m_pProcessDlg->VerifyAfterWriting() && !CVerifyRun::Run(m_pProcessDlg, this, *transfer, device))
        return;
    if (!write) {
        const CRadioImage before = image;
        for (const CCloneBlock& block : transfer->Blocks())
            image.CopyIn(block.address, transfer->Image().Range(block.address, block.length));
        CProgramDoc::SetNewDocument(false);
        ShowImage();
        m_pDocument->RecordRead(before, QStringLiteral("Read"));
        // Every read is also kept in the user's backups; the read stands even when that fails.
        const DataFile::Result kept = CBackupStore().Keep(image, QDateTime::currentDateTime());
        if (!kept.ok())
            CMessageBox::Show(this, DataFile::Describe(kept, CBackupStore::Folder()), QMessageBox::Ok,
                QMessageBox::Warning);
    }
    // File > Close only hid the channel window; a finished transfer brings it back.
    if (QWidget* frame = Frame(); frame && frame->isHidden())
        frame->showNormal();
}

void CProgramView::OnComSetup()
{
    if (!m_PortSettingDlg)
        m_PortSettingDlg = new CPortSettingDlg(m_Ini, this);
    m_PortSettingDlg->exec(); // its OK does everything
}

void CProgramView::OnLanguage()
{
    if (!m_LanguageDlg)
        m_LanguageDlg = new CLanguageDlg(m_Ini, this);
    if (m_LanguageDlg->exec() != QDialog::Accepted || !m_LanguageDlg->IsChanged())
        return;
    // The new language needs a new process; it starts only once this one has really closed (a save
    // question answered with Cancel keeps the program as it is).
    if (window()->close())
        CProcessStarter::StartDetached(QCoreApplication::applicationFilePath(), CPortName::OverrideOptions());
}
