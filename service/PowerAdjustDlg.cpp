#include "service/PowerAdjustDlg.h"

#include "widgets/HelpLayer.h"
#include "config/Language.h"
#include "config/NumberParse.h"
#include "editor/MSFlexGrid.h"
#include "image/RadioImage.h"
#include "service/PowerTable.h"
#include "service/ServiceDriver.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
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
    m_nBaseWidth = m_Grid->GetColWidth(0);
    CHelpLayer::SetControlId(m_Grid, kGridId);
    CHelpLayer::SetControlId(m_Edit, kEditId);
    CHelpLayer::SetControlId(m_Read, kReadId);
    CHelpLayer::SetControlId(m_Write, kWriteId);

    // Digits only: a negative or a word would be stored as some other number without a word said.
    m_Edit->setMaxLength(3);
    m_Edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), m_Edit));
    m_Edit->setAlignment(Qt::AlignCenter);
    m_Edit->hide();
    m_Edit->installEventFilter(this);
    m_Grid->installEventFilter(this);
    m_Note->setWordWrap(true);
    m_Note->hide();

    // Enter never presses OK: no button is a default one.
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

void CPowerAdjustDlg::Apply()
{
    CommitEditor();
    const int rows = int(PowerTable::Points(*m_Band).size());
    for (int i = 0; i < rows; ++i)
        for (int level = 0; level < PowerTable::kLevels; ++level)
            PowerTable::SetValue(
                *m_pImage, *m_Band, i, level, NumberParse::Atoi(m_Grid->GetTextMatrix(i + 1, level + 1)));
}

void CPowerAdjustDlg::OpenEditor()
{
    const long row = m_Grid->GetRow();
    const long col = m_Grid->GetCol();
    if (row < 1 || col < 1)
        return;
    const long twips = CMSFlexGrid::kTwipsPerInch;
    const int dx = m_Grid->logicalDpiX();
    const int dy = m_Grid->logicalDpiY();
    m_Edit->setGeometry(int(m_Grid->GetCellLeft() * dx / twips), int(m_Grid->GetCellTop() * dy / twips),
        int(m_Grid->GetCellWidth() * dx / twips), int(m_Grid->GetCellHeight() * dy / twips));
    m_Edit->setText(m_Grid->GetText());
    m_Edit->selectAll();
    m_Edit->show();
    m_Edit->raise();
    m_Edit->setFocus();
}

// The editor's text reaches the cell only here. Above 255 it becomes 255; an emptied editor leaves
// the cell as it was rather than turn the level into 0.
void CPowerAdjustDlg::CommitEditor()
{
    if (m_Edit->isHidden())
        return;
    m_Edit->hide();
    const QString text = m_Edit->text();
    if (text.isEmpty())
        return;
    const int value = NumberParse::Atoi(text);
    m_Grid->SetText(value > PowerTable::kMaxValue ? QString::number(PowerTable::kMaxValue) : text);
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
            // Commit, then one row down, as a Down key in the grid would.
            CommitEditor();
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

// Escape commits an open edit and goes back to the grid; with no edit open it closes the dialog as
// Cancel does, like every other dialog. Enter in any other control stays with that control.
void CPowerAdjustDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        if (m_Edit->isHidden()) {
            reject();
            return;
        }
        CommitEditor();
        m_Grid->setFocus();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CPowerAdjustDlg::OnRead()
{
    CommitEditor();
    if (ServiceDriver::Read(this, CServiceExchange::Area::Power, *m_pImage, m_strDevice))
        FillCells();
}

void CPowerAdjustDlg::OnWrite()
{
    Apply(); // the image takes the cells even if the dialog is cancelled afterwards
    ServiceDriver::Write(this, CServiceExchange::Area::Power, *m_pImage, m_strDevice);
}

void CPowerAdjustDlg::OnOK()
{
    Apply();
    accept();
}
