#include "link/ProgramLogDlg.h"

#include "widgets/FilePrompt.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "config/FileKind.h"
#include "config/FileLock.h"
#include "config/FileName.h"
#include "config/SafeFile.h"
#include "link/ProgramLog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <atomic>
#include <deque>

namespace {

constexpr int kRecordRole = Qt::UserRole + 1; // the row's index into the records as read
constexpr int kBlocksColumn = 8;
constexpr int kMostNotes = 20; // more are counted, not listed

// Said once a session: a dealer writing forty radios wants one notice, not forty.
std::atomic<bool> g_Told { false };

} // namespace

CProgramLogDlg::CProgramLogDlg(QWidget* parent, const QStringList& openFiles)
    : QDialog(parent)
    , m_Table(new QTableWidget(this))
    , m_Filter(new QLineEdit(this))
    , m_Notes(new QLabel(this))
    , m_Export(new QPushButton(tr("Export CSV..."), this))
    , m_OpenBackup(new QPushButton(tr("Open Backup"), this))
    , m_OpenFiles(openFiles)
{
    setWindowTitle(tr("Programming Log"));
    CHelpLayer::SetControlId(this, kHelpTopic);
    m_Table->setObjectName(QStringLiteral("logTable"));
    m_Filter->setObjectName(QStringLiteral("logFilter"));
    m_Filter->setPlaceholderText(tr("Filter"));
    m_Filter->setClearButtonEnabled(true);
    m_Notes->setObjectName(QStringLiteral("logNotes"));
    m_Notes->setWordWrap(true);
    m_Notes->setTextFormat(Qt::PlainText);
    m_Export->setObjectName(QStringLiteral("exportCsv"));
    m_OpenBackup->setObjectName(QStringLiteral("openBackup"));

    m_Table->setColumnCount(int(CLogRecord::Columns().size()));
    m_Table->setHorizontalHeaderLabels(
        { tr("Time (UTC)"), tr("Port"), tr("Direction"), tr("Area"), tr("File"), tr("SHA-256"), tr("Type"),
            tr("Band"), tr("Blocks"), tr("Verify"), tr("Outcome"), tr("Version"), tr("Backup") });
    m_Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_Table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_Table->verticalHeader()->hide();
    m_Table->horizontalHeader()->setStretchLastSection(true);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(tr("Show rows containing:"), this));
    filterRow->addWidget(m_Filter, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_Export, QDialogButtonBox::ActionRole);
    buttons->addButton(m_OpenBackup, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_Table, 1);
    layout->addWidget(m_Notes);
    layout->addWidget(buttons);
    resize(900, 420);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_Filter, &QLineEdit::textChanged, this, &CProgramLogDlg::OnFilter);
    connect(m_Export, &QPushButton::clicked, this, &CProgramLogDlg::OnExport);
    connect(m_OpenBackup, &QPushButton::clicked, this, &CProgramLogDlg::OnOpenBackup);
    connect(m_Table, &QTableWidget::itemSelectionChanged, this, &CProgramLogDlg::UpdateButtons);
    connect(m_Table, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_OpenBackup->isEnabled())
            OnOpenBackup();
    });
    Load();
}

void CProgramLogDlg::Load()
{
    // A record at a time, keeping the newest rows and the first notes: memory stays bounded whatever
    // the size of the log.
    std::deque<CLogRecord> newest;
    qint64 total = 0;
    QStringList notes;
    qint64 moreNotes = 0;
    CProgramLog().ForEach(
        CLanguage::IsChinese(),
        [&](const CLogRecord& record) {
            ++total;
            newest.push_back(record);
            if (newest.size() > std::size_t(kMostRows))
                newest.pop_front();
        },
        [&](const QString& note) {
            if (notes.size() < kMostNotes)
                notes << note;
            else
                ++moreNotes;
        });
    m_Records = QList<CLogRecord>(newest.begin(), newest.end());
    newest.clear();
    if (moreNotes > 0)
        notes << tr("%1 more line(s) of the log could not be read.").arg(moreNotes);
    if (total > m_Records.size())
        notes << tr("The log holds %1 records; the newest %2 are shown. program-cli log finds any of them.")
                     .arg(total)
                     .arg(m_Records.size());
    m_Notes->setText(notes.join(QLatin1Char('\n')));
    m_Notes->setVisible(!notes.isEmpty());
    m_Table->setSortingEnabled(false);
    m_Table->setRowCount(int(m_Records.size()));
    for (int row = 0; row < m_Records.size(); ++row) {
        const QStringList fields = m_Records.at(row).ShownFields();
        for (int column = 0; column < fields.size(); ++column) {
            auto* item = new QTableWidgetItem;
            // Blocks sort as numbers; every other column as its text (the times are ISO 8601).
            if (column == kBlocksColumn)
                item->setData(Qt::DisplayRole, m_Records.at(row).blocks);
            else
                item->setText(fields.at(column));
            item->setData(kRecordRole, row);
            m_Table->setItem(row, column, item);
        }
    }
    m_Table->setSortingEnabled(true);
    m_Table->sortByColumn(0, Qt::AscendingOrder);
    m_Table->resizeColumnsToContents();
    if (!m_Records.isEmpty()) {
        m_Table->selectRow(m_Table->rowCount() - 1);
        m_Table->scrollToBottom();
    }
    UpdateButtons();
}

void CProgramLogDlg::OnFilter(const QString& text)
{
    for (int row = 0; row < m_Table->rowCount(); ++row) {
        bool shown = text.isEmpty();
        for (int column = 0; !shown && column < m_Table->columnCount(); ++column)
            shown = m_Table->item(row, column)->text().contains(text, Qt::CaseInsensitive);
        m_Table->setRowHidden(row, !shown);
    }
    UpdateButtons();
}

const CLogRecord* CProgramLogDlg::Current() const
{
    const QList<QTableWidgetItem*> selected = m_Table->selectedItems();
    if (selected.isEmpty() || m_Table->isRowHidden(selected.first()->row()))
        return nullptr;
    return &m_Records.at(selected.first()->data(kRecordRole).toInt());
}

void CProgramLogDlg::UpdateButtons()
{
    const CLogRecord* record = Current();
    m_OpenBackup->setEnabled(
        record && record->direction == QLatin1String("read") && !record->backup.isEmpty());
}

void CProgramLogDlg::OnExport()
{
    const QString path = CFilePrompt::SaveCsvName(this, QStringLiteral("programming-log.csv"));
    if (path.isEmpty())
        return;
    // Never over the log itself or a document's data file, as File > Export CSV... never writes over
    // the document's own file.
    if (CProgramLog().Owns(path)) {
        CMessageBox::Show(this,
            tr("%1 is a file of the programming log; the list is not written over it.").arg(FileName::Display(path)));
        return;
    }
    for (const QString& open : m_OpenFiles)
        if (FileKind::SameFile(path, open)) {
            CMessageBox::Show(this,
                tr("%1 is the data file of an open document; the list is not written over it.")
                    .arg(FileName::Display(path)));
            return;
        }
    // The rows as shown: filtered, in the order the table is sorted.
    QByteArray bytes = CLogRecord::CsvHeader();
    for (int row = 0; row < m_Table->rowCount(); ++row)
        if (!m_Table->isRowHidden(row))
            bytes += m_Records.at(m_Table->item(row, 0)->data(kRecordRole).toInt()).CsvRow();
    // Held like any save, so another program writing the same file waits or is told.
    CFileLock lock(path);
    if (!lock.Lock()) {
        CMessageBox::Show(this, lock.Error());
        return;
    }
    if (const QString failure = SafeFile::Write(path, bytes); !failure.isEmpty())
        CMessageBox::Show(this, tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), failure));
}

void CProgramLogDlg::OnOpenBackup()
{
    const CLogRecord* record = Current();
    if (!record)
        return;
    // Backups beyond the newest ones kept are removed; the log still names them.
    if (!QFileInfo::exists(record->backup)) {
        CMessageBox::Show(
            this, tr("The backup %1 is no longer there.").arg(QDir::toNativeSeparators(record->backup)));
        return;
    }
    m_strChosen = record->backup;
    accept();
}

void CProgramLogDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        CHelpLayer::ShowTopic(this, kHelpTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

QString CProgramLogDlg::RecordQuietly(const CLogRecord& record)
{
    const QString failure = CProgramLog().Append(record);
    if (failure.isEmpty() || g_Told.exchange(true))
        return {};
    return CProgramLog::NotWritten(failure, CLanguage::IsChinese());
}

void CProgramLogDlg::Record(QWidget* parent, const CLogRecord& record)
{
    if (const QString notice = RecordQuietly(record); !notice.isEmpty())
        CMessageBox::Show(parent, notice, QMessageBox::Ok, QMessageBox::Warning);
}
