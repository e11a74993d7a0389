#include "editor/ProgramView.h"


#include "config/AppPaths.h"
#include "widgets/HelpLayer.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "dialogs/LanguageDlg.h"
#include "radio/UnlistedBand.h"
#include "widgets/MessageBox.h"
#include "widgets/ProcessStarter.h"
#include "config/UserSettings.h"
#include "widgets/MSFlexGrid.h"
#include "editor/CellEditing.h"
#include "editor/RowEditor.h"
#include "radio/ToneTable.h"
#include "image/ProgramDoc.h"
#include "link/PortName.h"
#include "link/PortSettingDlg.h"
#include "link/ProcessDlg.h"
#include "link/RunningWork.h"
#include "link/TransferNotes.h"
#include "radio/ServiceAccess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

using namespace ChannelCodec;

QString CProgramView::s_strMainTitle;

namespace {

// Column widths as multiples of column 0's starting width.
constexpr double kChannelColumnWidths[CChannelGrid::kCols] = { 0.51, 1.2, 1.2, 1.2, 1.2, 1.0, 0.8, 1.0, 0.8 };

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
    // The grid never gets smaller than its natural size and grows with its window.
    layout->addWidget(m_Grid, 1);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    m_pCellEditing = new CCellEditing(*this, m_Grid, m_Cells, document);
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
    m_pProcessDlg->SetPortSource([this] {
        return TransferNotes::PortLabel(CPortName::Current(), CPortName::DevicePath(CPortName::Current(), m_Ini));
    });
    connect(m_pProcessDlg, &CProcessDlg::VerifyToggled, this,
        [this](bool on) { CUserSettings::ForConfiguration(m_Ini).SetVerifyAfterWriting(on); });
}

CProgramView::~CProgramView()
{
    // The editing goes first: it watches the grid and the editors, which go with the view's children.
    // A cell change the grid still reports on its way out then finds no editing to reach.
    delete m_pCellEditing;
    m_pCellEditing = nullptr;
}

void CProgramView::OnInitialUpdate()
{
    if (m_bFirstInit) {
        const bool zh = CLanguage::IsChinese();
        m_ToneList = ToneTable::BuildToneList(zh);
        m_Grid->SetRows(CChannelGrid::kRows);
        m_Grid->SetCols(CChannelGrid::kCols);
        m_Grid->SetForeColorFixed(kFixedTextColor);
        m_pCellEditing->CreateEditors(m_ToneList);
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

void CProgramView::SetupGrid()
{
    for (int col = 0; col < CChannelGrid::kCols; ++col)
        m_Grid->SetColAlignment(col, CMSFlexGrid::kAlignCenterCenter);
    const long w = m_Grid->GetColWidth(0);
    for (int col = 0; col < CChannelGrid::kCols; ++col)
        m_Grid->SetColWidth(col, long(double(w) * kChannelColumnWidths[col]));
    for (int col = 0; col < CChannelGrid::kCols; ++col)
        m_NaturalColWidths[static_cast<std::size_t>(col)] = m_Grid->GetColWidth(col);
    m_nNaturalRowHeight = m_Grid->GetRowHeight(0);
    m_Grid->setMinimumSize(m_Grid->sizeHint());
    m_Grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
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
            m_pCellEditing->HideEditor(editor);
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
    // The title can only say "Unknown": the status bar says which band the checks follow.
    if (const QString note = UnlistedBand::StatusNote(m_Ini, image, zh); !note.isEmpty())
        emit BandNote(note);
}

void CProgramView::SetMainWindowTitle(QWidget* mainWindow, const QString& title)
{
    s_strMainTitle = title;
    if (mainWindow)
        mainWindow->setWindowTitle(CServiceAccess::MarkedTitle(title, CLanguage::IsChinese()));
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
    // Channels of the band before stay as they are: the grid shows which ones this band leaves out.
    for (int row = 1; row < CChannelGrid::kRows; ++row)
        MarkBandFit(row);
}

void CProgramView::RefreshRow(int row)
{
    for (int col = 0; col < CChannelGrid::kCols; ++col)
        m_Grid->SetTextMatrix(row, col, m_Cells.Text(row, col));
    MarkBandFit(row);
}

void CProgramView::RefreshAll()
{
    for (int row = 0; row < CChannelGrid::kRows; ++row)
        RefreshRow(row);
}

// A grid given more room than it needs shares it out: each column keeps its share of the width and
// the rows share the height evenly.
void CProgramView::FitGridToSize()
{
    if (m_nNaturalRowHeight <= 0)
        return;
    const QSize natural = m_Grid->minimumSize();
    const double sx = std::max(1.0, double(m_Grid->width()) / natural.width());
    const double sy = std::max(1.0, double(m_Grid->height()) / natural.height());
    for (int col = 0; col < CChannelGrid::kCols; ++col)
        m_Grid->SetColWidth(col, long(m_NaturalColWidths[static_cast<std::size_t>(col)] * sx));
    for (int row = 0; row < CChannelGrid::kRows; ++row)
        m_Grid->SetRowHeight(row, long(m_nNaturalRowHeight * sy));
    QWidget* editor = EditorForColumn(int(m_Grid->GetCol()));
    if (editor && !editor->isHidden())
        m_pCellEditing->ShowEditorOverCurrentCell();
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
    // question answered with Cancel keeps the program as it is), and opens the document that was open,
    // under the name the save question may just have given it.
    const QPointer<CProgramDoc> document = m_pDocument;
    const auto restart = [document] {
        QStringList arguments = CPortName::OverrideOptions();
        if (document && !document->PathName().isEmpty())
            arguments << QFileInfo(document->PathName()).absoluteFilePath();
        CProcessStarter::StartDetached(QCoreApplication::applicationFilePath(), arguments);
    };
    QWidget* frame = window();
    if (frame->close()) {
        restart();
        return;
    }
    // A transfer was running, so the close asked about it. If the user chose to stop it, the window
    // closes once it has ended (that close is queued first) and the restart follows; a window still
    // open by then (the transfer kept running, or Cancel at the save question) restarts nothing.
    if (CRunningWork::IsIdle())
        return;
    connect(
        &CRunningWork::Instance(), &CRunningWork::Idle, frame,
        [frame, restart] {
            if (!frame->isVisible())
                restart();
        },
        Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
}
