#include "service/PowerAdjustDlg.h"

#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "config/NumberParse.h"
#include "config/StringTable.h"
#include "widgets/MSFlexGrid.h"
#include "image/RadioImage.h"
#include "service/PowerTable.h"
#include "service/ServiceDriver.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr CBilingual kLevelTitles[PowerTable::kLevels] = {
    { "Low Power", "低功率" },
    { "Middle Power", "中功率" },
    { "High Power", "高功率" },
};
// Column widths as parts of the grid's first column width.
constexpr double kPowerColumnWidths[] = { 0.8, 1.1, 1.2, 1.1 };

} // namespace

CPowerAdjustDlg::CPowerAdjustDlg(QWidget* parent)
    : QDialog(parent)
    , m_Grid(new CMSFlexGrid)
    , m_Edit(new QLineEdit(m_Grid->viewport()))
    , m_Note(new QLabel)
    , m_Ok(new QPushButton(tr("OK")))
    , m_Cancel(new QPushButton(tr("Cancel")))
    , m_Read(new QPushButton(tr("Read")))
    , m_Write(new QPushButton(tr("Write")))
{
    setWindowTitle(tr("Power Adjustment"));
    CDialogHelp::Attach(this, CHelpLayer::kPowerAdjustTopic);
    m_nBaseWidth = m_Grid->GetColWidth(0);
    CHelpLayer::SetControlId(m_Grid, kGridId);
    CHelpLayer::SetControlId(m_Edit, kEditId);
    CHelpLayer::SetControlId(m_Read, kReadId);
    CHelpLayer::SetControlId(m_Write, kWriteId);

    // The editor shows what is typed, sign and point included, so that the commit can refuse what is
    // no whole number instead of quietly dropping characters ("12.5" is not 125).
    m_Edit->setMaxLength(3);
    m_Edit->setAlignment(Qt::AlignCenter);
    m_Edit->hide();
    m_Edit->installEventFilter(this);
    m_Grid->installEventFilter(this);
    m_Note->setWordWrap(true);
    m_Note->hide();

    // Enter never presses OK from elsewhere: no button is a default one. Enter on a focused button
    // presses that button (keyPressEvent).
    for (QPushButton* button : { m_Ok, m_Cancel, m_Read, m_Write }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(m_Ok, &QPushButton::clicked, this, &CPowerAdjustDlg::OnOK);
    connect(m_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_Read, &QPushButton::clicked, this, &CPowerAdjustDlg::OnRead);
    connect(m_Write, &QPushButton::clicked, this, &CPowerAdjustDlg::OnWrite);
    connect(m_Grid, &CMSFlexGrid::EnterCell, this, &CPowerAdjustDlg::OnEnterCell);
    connect(m_Grid, &CMSFlexGrid::MouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton && m_Grid->GetMouseRow() > 0 && m_Grid->GetMouseCol() > 0)
            OpenEditor();
    });

    auto* left = new QVBoxLayout;
    left->addWidget(m_Grid, 1);
    left->addWidget(m_Note);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : { m_Ok, m_Cancel, m_Read, m_Write })
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
}

void CPowerAdjustDlg::Prepare(CRadioImage& image, const BandLimits& limits, const QString& device)
{
    m_pImage = &image;
    m_Band.emplace(limits);
    m_strDevice = device;
    m_Edit->hide();
    LayOutGrid();
    FillCells();
}

int CPowerAdjustDlg::Run(CRadioImage& image, const BandLimits& limits, const QString& device)
{
    Prepare(image, limits, device);
    return exec();
}

void CPowerAdjustDlg::LayOutGrid()
{
    const std::vector<int> points = PowerTable::Points(*m_Band);
    m_Grid->SetCols(PowerTable::kLevels + 1);
    m_Grid->SetRows(long(points.size()) + 1);
    m_Grid->SetFixedRows(1);
    m_Grid->SetFixedCols(1);
    for (int level = 0; level < PowerTable::kLevels; ++level)
        m_Grid->SetTextMatrix(0, level + 1, kLevelTitles[level].Text());
    for (int i = 0; i < int(points.size()); ++i)
        m_Grid->SetTextMatrix(i + 1, 0, QString::number(points[std::size_t(i)]));
    for (int col = 0; col <= PowerTable::kLevels; ++col) {
        m_Grid->SetColWidth(col, long(double(m_nBaseWidth) * kPowerColumnWidths[col]));
        m_Grid->SetColAlignment(col, CMSFlexGrid::kAlignCenterCenter);
    }
    m_Grid->setMinimumSize(m_Grid->sizeHint());
    const QString note = m_Band->Note(PowerTable::kCapacity, CLanguage::IsChinese());
    m_Note->setText(note);
    m_Note->setVisible(!note.isEmpty());
}

void CPowerAdjustDlg::FillCells()
{
    const std::vector<PowerTable::Row> rows = PowerTable::Rows(*m_pImage, *m_Band);
    for (int i = 0; i < int(rows.size()); ++i)
        for (int level = 0; level < PowerTable::kLevels; ++level)
            m_Grid->SetTextMatrix(
                i + 1, level + 1, QString::number(rows[std::size_t(i)].values[std::size_t(level)]));
}

bool CPowerAdjustDlg::Apply()
{
    if (!CommitEditor())
        return false;
    const int rows = int(PowerTable::Points(*m_Band).size());
    for (int i = 0; i < rows; ++i)
        for (int level = 0; level < PowerTable::kLevels; ++level)
            PowerTable::SetValue(
                *m_pImage, *m_Band, i, level, NumberParse::Atoi(m_Grid->GetTextMatrix(i + 1, level + 1)));
    return true;
}

void CPowerAdjustDlg::OpenEditor()
{
    // A refused text keeps its editor where it is, over its own cell.
    if (!CommitEditor())
        return;
    const long row = m_Grid->GetRow();
    const long col = m_Grid->GetCol();
    if (row < 1 || col < 1)
        return;
    m_nEditRow = row;
    m_nEditCol = col;
    const long twips = CMSFlexGrid::kTwipsPerInch;
    const int dx = m_Grid->logicalDpiX();
    const int dy = m_Grid->logicalDpiY();
    m_Edit->setGeometry(int(m_Grid->GetCellLeft() * dx / twips), int(m_Grid->GetCellTop() * dy / twips),
        int(m_Grid->GetCellWidth() * dx / twips), int(m_Grid->GetCellHeight() * dy / twips));
    m_Edit->setText(m_Grid->GetText());
    m_strTold.clear();
    m_Edit->selectAll();
    m_Edit->show();
    m_Edit->raise();
    m_Edit->setFocus();
}

// The editor's text reaches the cell only here. Above 255 it becomes 255; an emptied editor leaves
// the cell as it was rather than turn the level into 0. Text that is no whole number is refused: the
// editor stays open on it, the cell keeps its value and the user is told once for that text.
bool CPowerAdjustDlg::CommitEditor()
{
    if (m_Edit->isHidden())
        return true;
    const QString text = m_Edit->text();
    if (text.trimmed().isEmpty()) {
        m_Edit->hide();
        return true;
    }
    const std::optional<QString> cell = PowerTable::CellText(text);
    if (!cell) {
        m_Edit->selectAll();
        if (text != m_strTold) {
            m_strTold = text;
            // Told once the focus change that brought us here is over: a message box opened inside
            // it would fight it for the focus.
            QTimer::singleShot(0, this, &CPowerAdjustDlg::TellRefused);
        }
        return false;
    }
    m_Edit->hide();
    m_Grid->SetTextMatrix(m_nEditRow, m_nEditCol, *cell);
    return true;
}

void CPowerAdjustDlg::TellRefused()
{
    if (!m_Edit->isVisible()) // put right meanwhile, or the dialog cancelled
        return;
    CMessageBox::Show(this, PowerTable::RefusedMessage(CLanguage::IsChinese()),
        StringTable::Message(StringTable::kCaution), QMessageBox::Ok, QMessageBox::Warning);
    m_Edit->setFocus();
    m_Edit->selectAll();
}

void CPowerAdjustDlg::OnEnterCell()
{
    const long mode
        = m_Grid->GetMouseCol() == 0 ? CMSFlexGrid::kHighlightWithFocus : CMSFlexGrid::kHighlightNever;
    if (m_Grid->GetHighLight() != mode)
        m_Grid->SetHighLight(mode);
}

bool CPowerAdjustDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_Edit && event->type() == QEvent::FocusOut) {
        CommitEditor();
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == m_Edit && enter) {
            // Commit, then one row down, as a Down key in the grid would; a refused text stays.
            if (!CommitEditor())
                return true;
            m_Grid->setFocus();
            if (m_Grid->GetRow() + 1 < m_Grid->GetRows())
                m_Grid->SetRow(m_Grid->GetRow() + 1);
            return true;
        }
        if (watched == m_Grid && enter) {
            OpenEditor();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Escape never closes this dialog, whose typed values would go with it: it commits an open edit and
// gives the keyboard to the grid. Enter presses a focused button and never OK from anywhere else.
void CPowerAdjustDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        if (CommitEditor())
            m_Grid->setFocus();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
            button && button->window() == this && button->isEnabled())
            button->click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CPowerAdjustDlg::OnRead()
{
    if (!CommitEditor())
        return;
    if (ServiceDriver::Read(this, CServiceExchange::Area::Power, *m_pImage, m_strDevice))
        FillCells();
}

void CPowerAdjustDlg::OnWrite()
{
    if (!Apply()) // the image takes the cells even if the dialog is cancelled afterwards
        return;
    ServiceDriver::Write(this, CServiceExchange::Area::Power, *m_pImage, m_strDevice);
}

void CPowerAdjustDlg::OnOK()
{
    if (Apply())
        accept();
}
