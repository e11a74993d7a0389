#include "link/ProgramLogDlg.h"

#include "widgets/FilePrompt.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "config/FileKind.h"
#include "config/FileLock.h"
#include "config/FileName.h"
#include "config/SafeFile.h"
#include "config/WrittenNotes.h"
#include "link/LogFollower.h"
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
#include <QTime>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>

namespace {

constexpr int kRecordRole = Qt::UserRole + 1; // the row's record: its serial number in this window
constexpr int kMostNotes = 20; // more are counted, not listed
constexpr int kLogReadAttempts = 3;

// Said once a session: a dealer writing forty radios wants one notice, not forty.
std::atomic<bool> g_Told { false };

// The window's columns from the record's shown fields (in the order of CLogRecord::Columns).
constexpr int kLogFieldOfColumn[CProgramLogDlg::kColumnCount]
    = { 0, 1, 2, 3, 10, 9, 4, 6, 7, 8, 11, 12, 5 };

} // namespace

CProgramLogDlg::CProgramLogDlg(QWidget* parent, const QStringList& openFiles)
    : QDialog(parent)
    , m_Table(new QTableWidget(this))
    , m_Filter(new QLineEdit(this))
    , m_Notes(new QLabel(this))
    , m_Export(new QPushButton(tr("Export CSV..."), this))
    , m_OpenBackup(new QPushButton(tr("Open Backup"), this))
    , m_pFollower(new CLogFollower(CProgramLog::Path(), this))
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

    m_Table->setColumnCount(kColumnCount);
    m_Table->setHorizontalHeaderLabels({ tr("Time (UTC)"), tr("Port"), tr("Direction"), tr("Area"), tr("Outcome"),
        tr("Verify"), tr("File"), tr("Type"), tr("Band"), tr("Blocks"), tr("Version"), tr("Backup"), tr("SHA-256") });
    m_Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_Table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_Table->setWordWrap(false);
    m_Table->setTextElideMode(Qt::ElideMiddle); // a path keeps its file name in sight
    m_Table->verticalHeader()->hide();
    m_Table->horizontalHeader()->setStretchLastSection(true);
    m_Table->horizontalHeader()->setSortIndicator(kTime, Qt::AscendingOrder);

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
    connect(m_pFollower, &CLogFollower::Changed, this, &CProgramLogDlg::OnLogChanged);
    Load();
}

void CProgramLogDlg::Load()
{
    // A record at a time, keeping the newest rows and the first notes: memory stays bounded whatever
    // the size of the log.
    std::deque<CLogRecord> newest;
    // Read again when another program renamed the log meanwhile (at most a few times: the log is only
    // renamed every 10 MB).
    for (int attempt = 0; attempt < kLogReadAttempts; ++attempt) {
        newest.clear();
        m_nTotal = 0;
        m_NoteLines.clear();
        m_nMoreNotes = 0;
        const bool whole = m_pFollower->ReadAll(
            CLanguage::IsChinese(),
            [&](const CLogRecord& record) {
                ++m_nTotal;
                newest.push_back(record);
                if (newest.size() > std::size_t(kMostRows))
                    newest.pop_front();
            },
            [this](const QString& note) { AddNote(note); });
        if (whole)
            break;
    }
    m_Records.clear();
    m_nFirstSerial = 0;
    m_Table->setRowCount(0);
    AddRows(newest);
}

void CProgramLogDlg::AddNote(const QString& note)
{
    // A cut line at the end is said when the window opens and again when a record completes it.
    if (m_NoteLines.contains(note))
        return;
    if (m_NoteLines.size() < kMostNotes)
        m_NoteLines << note;
    else
        ++m_nMoreNotes;
}

void CProgramLogDlg::OnLogChanged()
{
    std::deque<CLogRecord> added;
    const bool appended = m_pFollower->ReadNew(
        CLanguage::IsChinese(),
        [&](const CLogRecord& record) {
            ++m_nTotal;
            added.push_back(record);
            if (added.size() > std::size_t(kMostRows))
                added.pop_front();
        },
        [this](const QString& note) { AddNote(note); });
    // Renamed at its size limit, or replaced: read anew, which finds the records of the renamed file.
    if (!appended)
        Load();
    else
        AddRows(added);
}

void CProgramLogDlg::AddRows(const std::deque<CLogRecord>& records)
{
    // Whoever watched the bottom row (the newest, as the window opens) goes on watching the bottom row.
    const QList<QTableWidgetItem*> selected = m_Table->selectedItems();
    const bool followBottom = selected.isEmpty() || selected.first()->row() == m_Table->rowCount() - 1;
    m_Table->setSortingEnabled(false);
    for (const CLogRecord& record : records) {
        const qint64 serial = m_nFirstSerial + qint64(m_Records.size());
        m_Records.push_back(record);
        const int row = m_Table->rowCount();
        m_Table->insertRow(row);
        const QStringList fields = record.ShownFields();
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new QTableWidgetItem;
            const QString full = column == kPort ? record.ShownPort() : fields.at(kLogFieldOfColumn[column]);
            // Blocks sort as numbers; every other column as its text (the times are ISO 8601).
            if (column == kBlocks)
                item->setData(Qt::DisplayRole, record.blocks);
            else
                item->setText(column == kDigest ? record.ShortDigest() : full);
            item->setToolTip(full);
            item->setData(kRecordRole, serial);
            m_Table->setItem(row, column, item);
        }
    }
    // The oldest rows make way, so the window holds no more than kMostRows however long it is open.
    while (m_Records.size() > std::size_t(kMostRows)) {
        for (int row = 0; row < m_Table->rowCount(); ++row)
            if (m_Table->item(row, kTime)->data(kRecordRole).toLongLong() == m_nFirstSerial) {
                m_Table->removeRow(row);
                break;
            }
        m_Records.pop_front();
        ++m_nFirstSerial;
    }
    m_Table->setSortingEnabled(true); // sorted again as the header says
    OnFilter(m_Filter->text());
    m_Table->resizeColumnsToContents();
    for (int column = 0; column + 1 < kColumnCount; ++column)
        m_Table->setColumnWidth(column, std::min(m_Table->columnWidth(column), kWidestColumn));
    if (followBottom && m_Table->rowCount() > 0) {
        m_Table->selectRow(m_Table->rowCount() - 1);
        m_Table->scrollToBottom();
    }
    SetNotes();
    UpdateButtons();
}

void CProgramLogDlg::SetNotes()
{
    QStringList notes = m_NoteLines;
    if (m_nMoreNotes > 0)
        notes << tr("%1 more line(s) of the log could not be read.").arg(m_nMoreNotes);
    if (m_nTotal > qint64(m_Records.size()))
        notes << tr("The log holds %1 records; the newest %2 are shown. program-cli log finds any of them.")
                     .arg(m_nTotal)
                     .arg(m_Records.size());
    m_Notes->setText(notes.join(QLatin1Char('\n')));
    m_Notes->setVisible(!notes.isEmpty());
}

void CProgramLogDlg::OnFilter(const QString& text)
{
    // The whole texts count, also where a cell shows them cut (the digest).
    for (int row = 0; row < m_Table->rowCount(); ++row) {
        bool shown = text.isEmpty();
        for (int column = 0; !shown && column < m_Table->columnCount(); ++column)
            shown = m_Table->item(row, column)->toolTip().contains(text, Qt::CaseInsensitive);
        m_Table->setRowHidden(row, !shown);
    }
    UpdateButtons();
}

const CLogRecord* CProgramLogDlg::Current() const
{
    const QList<QTableWidgetItem*> selected = m_Table->selectedItems();
    if (selected.isEmpty() || m_Table->isRowHidden(selected.first()->row()))
        return nullptr;
    return &m_Records.at(std::size_t(selected.first()->data(kRecordRole).toLongLong() - m_nFirstSerial));
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
    int rows = 0;
    for (int row = 0; row < m_Table->rowCount(); ++row)
        if (!m_Table->isRowHidden(row)) {
            bytes += m_Records.at(std::size_t(m_Table->item(row, kTime)->data(kRecordRole).toLongLong() - m_nFirstSerial))
                         .CsvRow();
            ++rows;
        }
    // Held like any save, so another program writing the same file waits or is told.
    CFileLock lock(path);
    if (!lock.Lock()) {
        CMessageBox::Show(this, lock.Error());
        return;
    }
    if (const QString failure = SafeFile::Write(path, bytes); !failure.isEmpty()) {
        CMessageBox::Show(this, tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), failure));
        return;
    }
    emit Exported(WrittenNotes::LogExported(rows, path, QTime::currentTime(), CLanguage::IsChinese()));
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
