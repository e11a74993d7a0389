#include "service/ParamAdjustDlg.h"

#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "config/NumberParse.h"
#include "config/StringTable.h"
#include "widgets/MSFlexGrid.h"
#include "image/RadioImage.h"
#include "service/ServiceDriver.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ParamTable::Field;

namespace {

constexpr long kColumnWidth = 1000;
constexpr CBilingual kSqlTitle { "SQL", "静噪" };
constexpr CBilingual kRxRowTitles[]
    = { { "Param 1", "参数1" }, { "Param 2", "参数2" }, { "Param 3", "参数3" } };
constexpr CBilingual kRxColTitles[] = { { "Wide", "宽带" }, { "Narrow", "窄带" } };

// The boxes with their control ids, in the order of the image.
struct BoxSpec {
    Field field;
    int id;
};
constexpr BoxSpec kSqlBoxes[] = { { ParamTable::kSqlClose, 1008 }, { ParamTable::kNarrowSql, 1009 } };
constexpr BoxSpec kTxBoxes[] = {
    { ParamTable::kMic1Gain, 1014 },
    { ParamTable::kMic2Gain, 1023 },
    { ParamTable::kMic3Gain, 1024 },
    { ParamTable::kMaxDeviation, 1018 },
    { ParamTable::kCtcssDeviation, 1019 },
    { ParamTable::kDcsDeviation, 1022 },
};

// An editable box whose list holds the numbers min..max. What the user types stays as typed: the list
// never completes it (a "15" must not become the list's "150"), only picking an item takes the item.
void FillList(QComboBox* box, int min, int max)
{
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    for (int v = min; v <= max; ++v)
        box->addItem(QString::number(v));
}

void LayOut(CMSFlexGrid* grid, int rows, int cols)
{
    grid->SetCols(cols);
    grid->SetRows(rows);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    for (int col = 0; col < cols; ++col) {
        grid->SetColWidth(col, kColumnWidth);
        grid->SetColAlignment(col, CMSFlexGrid::kAlignCenterCenter);
    }
    grid->setMinimumSize(grid->sizeHint());
}

} // namespace

CParamAdjustDlg::CParamAdjustDlg(
    CRadioImage& image, const BandLimits& limits, const QString& device, QWidget* parent)
    : QDialog(parent)
    , m_Image(image)
    , m_Band(limits)
    , m_strDevice(device)
{
    setWindowTitle(tr("Param Adjust"));
    CDialogHelp::Attach(this, CHelpLayer::kParamAdjustTopic);
    m_Ok = new QPushButton(tr("OK"));
    m_Cancel = new QPushButton(tr("Cancel"));
    m_Read = new QPushButton(tr("Read"));
    m_Write = new QPushButton(tr("Write"));
    CHelpLayer::SetControlId(m_Read, kReadId);
    CHelpLayer::SetControlId(m_Write, kWriteId);
    for (QPushButton* button : { m_Ok, m_Cancel, m_Read, m_Write })
        button->setAutoDefault(false);
    connect(m_Ok, &QPushButton::clicked, this, &CParamAdjustDlg::OnOK);
    connect(m_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_Read, &QPushButton::clicked, this, &CParamAdjustDlg::OnRead);
    connect(m_Write, &QPushButton::clicked, this, &CParamAdjustDlg::OnWrite);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : { m_Ok, m_Cancel, m_Read, m_Write })
        buttons->addWidget(button);
    buttons->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(CreateRxGroup());
    right->addWidget(CreateTxGroup());
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(CreateSqlGroup());
    layout->addLayout(right);
    layout->addLayout(buttons);

    ShowImage();
}

QWidget* CParamAdjustDlg::CreateSqlGroup()
{
    auto* group = new QGroupBox(tr("SQL"));
    auto* column = new QVBoxLayout(group);
    m_SqlGrid = new CMSFlexGrid;
    CHelpLayer::SetControlId(m_SqlGrid, kSqlGridId);
    const std::vector<int> points = ParamTable::SquelchPoints(m_Band);
    LayOut(m_SqlGrid, int(points.size()) + 1, 2);
    m_SqlGrid->SetTextMatrix(0, 1, kSqlTitle.Text());
    for (int i = 0; i < int(points.size()); ++i)
        m_SqlGrid->SetTextMatrix(i + 1, 0, QString::number(points[std::size_t(i)]));
    m_SqlEditor = CreateEditor(m_SqlGrid, kSqlEditorId, ParamTable::kSquelchMin, ParamTable::kSquelchMax);
    column->addWidget(m_SqlGrid, 1);
    m_Note = new QLabel(m_Band.Note(ParamTable::kSquelchCapacity, CLanguage::IsChinese()));
    m_Note->setWordWrap(true);
    m_Note->setMaximumWidth(m_SqlGrid->minimumWidth());
    m_Note->setVisible(!m_Note->text().isEmpty());
    column->addWidget(m_Note);
    auto* form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    const QString labels[] = { tr("SQL close threshold"), tr("Narrow SQL threshold") };
    for (int i = 0; i < 2; ++i)
        form->addRow(labels[i], CreateBox(kSqlBoxes[i].field, kSqlBoxes[i].id, group));
    column->addLayout(form);
    return group;
}

QWidget* CParamAdjustDlg::CreateRxGroup()
{
    auto* group = new QGroupBox(tr("Rx"));
    auto* column = new QVBoxLayout(group);
    m_RxGrid = new CMSFlexGrid;
    CHelpLayer::SetControlId(m_RxGrid, kRxGridId);
    LayOut(m_RxGrid, kRxRows + 1, 3);
    for (int row = 0; row < kRxRows; ++row)
        m_RxGrid->SetTextMatrix(row + 1, 0, kRxRowTitles[row].Text());
    for (int col = 0; col < 2; ++col)
        m_RxGrid->SetTextMatrix(0, col + 1, kRxColTitles[col].Text());
    m_RxEditor = CreateEditor(m_RxGrid, kRxEditorId, kRxMin, kRxMax);
    column->addWidget(m_RxGrid);
    return group;
}

QWidget* CParamAdjustDlg::CreateTxGroup()
{
    auto* group = new QGroupBox(tr("Tx"));
    auto* form = new QFormLayout(group);
    const QString labels[] = { tr("MIC1 Gain"), tr("MIC2 Gain"), tr("MIC3 Gain"), tr("Max Deviation"),
        tr("Ctcss Deviation"), tr("Dcs Deviation") };
    for (int i = 0; i < int(std::size(kTxBoxes)); ++i)
        form->addRow(labels[i], CreateBox(kTxBoxes[i].field, kTxBoxes[i].id, group));
    return group;
}

QComboBox* CParamAdjustDlg::CreateBox(Field field, int id, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    FillList(box, ParamTable::Info(field).min, ParamTable::Info(field).max);
    CHelpLayer::SetControlId(box, id);
    m_Boxes[std::size_t(field)] = box;
    return box;
}

QComboBox* CParamAdjustDlg::CreateEditor(CMSFlexGrid* grid, int id, int min, int max)
{
    auto* editor = new QComboBox(grid->viewport());
    FillList(editor, min, max);
    CHelpLayer::SetControlId(editor, id);
    editor->hide();
    editor->installEventFilter(this);
    connect(grid, &CMSFlexGrid::MouseDown, this, [this, grid, editor](Qt::MouseButton button) {
        if (button == Qt::LeftButton && grid->GetMouseRow() > 0 && grid->GetMouseCol() > 0)
            OpenEditor(grid, editor);
    });
    return editor;
}

QComboBox* CParamAdjustDlg::Box(Field field) const
{
    return m_Boxes[std::size_t(field)];
}

void CParamAdjustDlg::ShowImage()
{
    m_CellNotes.clear(); // every cell shows the image again
    ParamTable::Sanitise(m_Image, m_Band);
    const int points = int(m_SqlGrid->GetRows()) - 1;
    for (int i = 0; i < points; ++i)
        m_SqlGrid->SetTextMatrix(
            i + 1, 1, QString::number(m_Image.Byte(ParamTable::SquelchAddress(m_Band, i))));
    for (int f = ParamTable::kRx1Wide; f <= ParamTable::kRx3Narrow; ++f) {
        const int n = f - ParamTable::kRx1Wide;
        m_RxGrid->SetTextMatrix(n / 2 + 1, n % 2 + 1, QString::number(ParamTable::Value(m_Image, Field(f))));
    }
    for (int f = 0; f < ParamTable::kFieldCount; ++f)
        if (QComboBox* box = Box(Field(f)))
            box->setCurrentIndex(box->findText(QString::number(ParamTable::Value(m_Image, Field(f)))));
    CommitEditors();
}

void CParamAdjustDlg::Apply()
{
    CommitEditors();
    for (int f = 0; f < ParamTable::kFieldCount; ++f) {
        const auto field = Field(f);
        QString text;
        if (f >= ParamTable::kRx1Wide && f <= ParamTable::kRx3Narrow) {
            const int n = f - ParamTable::kRx1Wide;
            text = m_RxGrid->GetTextMatrix(n / 2 + 1, n % 2 + 1);
        } else {
            text = Box(field)->currentText();
        }
        ParamTable::SetValue(m_Image, field, NumberParse::Atoi(text));
    }
    const int points = int(m_SqlGrid->GetRows()) - 1;
    for (int i = 0; i < points; ++i)
        ParamTable::SetSquelch(m_Image, m_Band, i, NumberParse::Atoi(m_SqlGrid->GetTextMatrix(i + 1, 1)));
    ParamTable::Sanitise(m_Image, m_Band);

    // The values stay as the radio allows them; the user is told which ones are not what was typed.
    const bool zh = CLanguage::IsChinese();
    QStringList notes;
    for (const auto& entry : m_CellNotes)
        notes << entry.second;
    m_CellNotes.clear();
    for (int f = 0; f < ParamTable::kFieldCount; ++f)
        if (const QComboBox* box = Box(Field(f))) {
            const ParamTable::FieldInfo& info = ParamTable::Info(Field(f));
            const QString note = ParamTable::StoredNote(ParamTable::Label(Field(f), zh), box->currentText(),
                info.min, info.max, ParamTable::Value(m_Image, Field(f)), zh);
            if (!note.isEmpty())
                notes << note;
        }
    if (!notes.isEmpty())
        CMessageBox::Show(this, ParamTable::StoredMessage(notes, zh), StringTable::Message(StringTable::kCaution),
            QMessageBox::Ok, QMessageBox::Information);
}

void CParamAdjustDlg::OpenEditor(CMSFlexGrid* grid, QComboBox* editor)
{
    const long twips = CMSFlexGrid::kTwipsPerInch;
    const int dx = grid->logicalDpiX();
    const int dy = grid->logicalDpiY();
    editor->setGeometry(int(grid->GetCellLeft() * dx / twips), int(grid->GetCellTop() * dy / twips),
        int(grid->GetCellWidth() * dx / twips) + 1, int(grid->GetCellHeight() * dy / twips) + 2);
    const int index = editor->findText(grid->GetText());
    editor->setCurrentIndex(index < 0 ? 0 : index);
    editor->lineEdit()->selectAll(); // typing replaces the cell's value
    editor->show();
    editor->raise();
    editor->setFocus();
}

// A value outside the editor's range becomes its first item, 5; what was typed instead is kept for
// the message that follows the storing.
void CParamAdjustDlg::CommitEditor(CMSFlexGrid* grid, QComboBox* editor, int min, int max)
{
    if (editor->isHidden())
        return;
    editor->hide();
    const QString typed = editor->currentText();
    const int value = NumberParse::Atoi(typed);
    if (value < min || value > max)
        editor->setCurrentIndex(0);
    const long row = grid->GetRow();
    const long col = grid->GetCol();
    grid->SetText(editor->currentText());
    const bool zh = CLanguage::IsChinese();
    const QString label = grid == m_SqlGrid
        ? ParamTable::SquelchLabel(NumberParse::Atoi(grid->GetTextMatrix(row, 0)), zh)
        : ParamTable::Label(Field(ParamTable::kRx1Wide + (row - 1) * 2 + (col - 1)), zh);
    const QString note
        = ParamTable::StoredNote(label, typed, min, max, NumberParse::Atoi(editor->currentText()), zh);
    const std::pair<int, QString> key { grid == m_SqlGrid ? 0 : 1, label };
    if (note.isEmpty())
        m_CellNotes.erase(key);
    else
        m_CellNotes[key] = note;
}

void CParamAdjustDlg::CommitEditors()
{
    CommitEditor(m_SqlGrid, m_SqlEditor, ParamTable::kSquelchMin, ParamTable::kSquelchMax);
    CommitEditor(m_RxGrid, m_RxEditor, kRxMin, kRxMax);
}

bool CParamAdjustDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Opening its own list does not take the editor away from the cell.
    if (event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == m_SqlEditor)
            CommitEditor(m_SqlGrid, m_SqlEditor, ParamTable::kSquelchMin, ParamTable::kSquelchMax);
        else if (watched == m_RxEditor)
            CommitEditor(m_RxGrid, m_RxEditor, kRxMin, kRxMax);
    } else if (event->type() == QEvent::KeyPress && (watched == m_SqlEditor || watched == m_RxEditor)) {
        // Enter takes the value into the cell and the keyboard back to the grid.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CommitEditors();
            (watched == m_SqlEditor ? m_SqlGrid : m_RxGrid)->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CParamAdjustDlg::OnRead()
{
    CommitEditors();
    if (ServiceDriver::Read(this, CServiceExchange::Area::Param, m_Image, m_strDevice))
        ShowImage();
}

void CParamAdjustDlg::OnWrite()
{
    Apply(); // the image holds the dialog's values even if it is cancelled afterwards
    ServiceDriver::Write(this, CServiceExchange::Area::Param, m_Image, m_strDevice);
}

void CParamAdjustDlg::OnOK()
{
    Apply();
    accept();
}
