#include "link/BatchWriteDlg.h"

#include "link/LogRecord.h"
#include "link/ProgramLogDlg.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "link/BatchTransfer.h"
#include "link/PortName.h"
#include "link/RepeatWriter.h"
#include "link/RunningWork.h"
#include "link/SerialTrace.h"
#include "link/SystemPorts.h"
#include "link/TransferNotes.h"
#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"

#include <algorithm>
#include <utility>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kComPorts = 16;
constexpr CBilingual kNotPresent { "(not present)", "(不存在)" };
}

CBatchWriteDlg::CBatchWriteDlg(const CIniFile& ini, const CRadioImage& image, bool withTables, QWidget* parent)
    : QDialog(parent)
    , m_Ini(ini)
    , m_Image(image)
    , m_bWithTables(withTables)
    , m_Ports(new QListWidget(this))
    , m_Repeat(new QCheckBox(tr("One radio after another (until Stop)"), this))
    , m_Verify(new QCheckBox(tr("Verify after writing"), this))
    , m_Counts(new QLabel(this))
    , m_State(new QLabel(this))
    , m_Log(new QPlainTextEdit(this))
    , m_Start(new QPushButton(tr("Start"), this))
    , m_Stop(new QPushButton(tr("Stop"), this))
    , m_Close(new QPushButton(tr("Close"), this))
{
    m_pPortPoll = new QTimer(this);
    setWindowTitle(tr("Batch Write"));
    CDialogHelp::Attach(this, CHelpLayer::kBatchWriteTopic);
    m_Log->setReadOnly(true);
    m_Log->setMinimumSize(420, 160);
    m_Ports->setMinimumHeight(140);
    m_State->setWordWrap(true);
    connect(m_Start, &QPushButton::clicked, this, &CBatchWriteDlg::OnStart);
    connect(m_Stop, &QPushButton::clicked, this, &CBatchWriteDlg::OnStop);
    connect(m_Close, &QPushButton::clicked, this, &CBatchWriteDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_Start);
    buttons->addWidget(m_Stop);
    buttons->addWidget(m_Close);
    auto* layout = new QVBoxLayout(this);
    // The service-mode choice stays in sight for as long as radios are being written with it.
    m_pTables = new QLabel(tr("Service mode: every radio also gets the document's power and alignment tables."), this);
    m_pTables->setObjectName(QStringLiteral("withTables"));
    m_pTables->setWordWrap(true);
    m_pTables->setVisible(withTables);
    layout->addWidget(m_pTables);
    auto* atStart = new QLabel(tr("Each Start writes the document as it is at that moment; edits made while a "
                                  "batch runs reach the radios of the next Start."), this);
    atStart->setObjectName(QStringLiteral("atStart"));
    atStart->setWordWrap(true);
    layout->addWidget(atStart);
    layout->addWidget(new QLabel(tr("Ports:"), this));
    layout->addWidget(m_Ports);
    layout->addWidget(m_Repeat);
    layout->addWidget(m_Verify);
    layout->addWidget(m_Counts);
    layout->addWidget(m_State);
    layout->addWidget(m_Log);
    layout->addLayout(buttons);

    // Remembered as the Write progress window's box is: the same choice for one radio or many.
    m_Verify->setChecked(CUserSettings::ForConfiguration(m_Ini).VerifyAfterWriting());
    connect(m_Verify, &QCheckBox::toggled, this,
        [this](bool on) { CUserSettings::ForConfiguration(m_Ini).SetVerifyAfterWriting(on); });

    SetPorts(OfferedPorts(), { CPortName::Current() });
    UpdateControls();
    m_pPortPoll->setInterval(kPortPollMs);
    connect(m_pPortPoll, &QTimer::timeout, this, [this] {
        if (!IsRunning())
            RefreshPorts();
    });
    m_pPortPoll->start();
}

void CBatchWriteDlg::RefreshPorts()
{
    QStringList ports = m_Listed;
    for (const QString& port : OfferedPorts())
        if (!ports.contains(port))
            ports << port;
    // Made anew only when something shows differently, so a list being looked at stays still.
    const QList<PortRow> rows = PortRows(ports);
    bool same = rows.size() == m_Ports->count();
    for (int i = 0; same && i < rows.size(); ++i)
        same = m_Ports->item(i)->text() == rows.at(i).text;
    if (same)
        return;
    const int scrolled = m_Ports->verticalScrollBar()->value();
    SetPorts(ports, TickedPorts());
    m_Ports->verticalScrollBar()->setValue(scrolled);
}

CBatchWriteDlg::~CBatchWriteDlg()
{
    // The workers use this window's image and flag: they end before it goes.
    m_bStop = true;
    for (QThread* worker : m_Workers) {
        worker->wait();
        delete worker;
    }
    CRunningWork::Remove(m_nRunningId);
}

QStringList CBatchWriteDlg::OfferedPorts()
{
    QStringList ports;
    for (int n = 1; n <= kComPorts; ++n)
        ports << CPortName::FromNumber(n);
    for (const CSystemPorts::Port& port : CSystemPorts::Available()) {
#if defined(Q_OS_WIN)
        const QString name = port.device.section(QLatin1Char('\\'), -1);
#else
        const QString name = port.device;
#endif
        if (!ports.contains(name))
            ports << name;
    }
    return ports;
}

QList<CBatchWriteDlg::PortRow> CBatchWriteDlg::PortRows(const QStringList& ports) const
{
    QList<PortRow> rows;
    const QList<CSystemPorts::Port> present = CSystemPorts::Available();
    const bool zh = CLanguage::IsChinese();
    for (const QString& port : ports) {
        // A prefixed name such as COM10's is shown as the user knows it; the full name goes to the port.
        const bool prefixed = port.startsWith(QLatin1String("\\\\.\\"));
        const std::optional<int> number = prefixed ? CPortName::NumberOf(port) : std::nullopt;
        const QString name = number ? QStringLiteral("COM%1").arg(*number) : port;
        // Each entry says which device it opens and what the system knows of the cable on it; a port
        // with no device behind it now stays on offer (a cable may come) but greyed.
        const QString device = CPortName::DevicePath(port, m_Ini);
        const auto known = std::find_if(present.begin(), present.end(), [&](const CSystemPorts::Port& p) {
            return p.device == device || p.device.endsWith(QLatin1Char('\\') + device);
        });
        const bool there = known != present.end() || (device.startsWith(QLatin1Char('/')) && QFileInfo::exists(device));
        QString text = known != present.end() ? CSystemPorts::Describe(*known, zh) : device;
        if (name != device)
            text = name + QStringLiteral("  \u2192  ") + text;
        if (!there)
            text += QLatin1String("  ") + kNotPresent.Text(zh);
        rows.append({ port, text, there });
    }
    return rows;
}

void CBatchWriteDlg::SetPorts(const QStringList& ports, const QStringList& ticked)
{
    m_Listed = ports;
    m_Ports->clear();
    for (const PortRow& row : PortRows(ports)) {
        auto* item = new QListWidgetItem(row.text, m_Ports);
        item->setData(Qt::UserRole, row.port);
        item->setData(kPresentRole, row.present);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        if (!row.present)
            item->setForeground(m_Ports->palette().brush(QPalette::Disabled, QPalette::Text));
        item->setCheckState(ticked.contains(row.port) ? Qt::Checked : Qt::Unchecked);
    }
}

QStringList CBatchWriteDlg::TickedPorts() const
{
    QStringList ports;
    for (int i = 0; i < m_Ports->count(); ++i) {
        if (m_Ports->item(i)->checkState() == Qt::Checked)
            ports << m_Ports->item(i)->data(Qt::UserRole).toString();
    }
    return ports;
}

bool CBatchWriteDlg::IsRunning() const
{
    return !m_Workers.empty();
}

void CBatchWriteDlg::UpdateControls()
{
    const bool running = IsRunning();
    m_Start->setEnabled(!running);
    m_Stop->setEnabled(running);
    m_Ports->setEnabled(!running);
    m_Repeat->setEnabled(!running);
    m_Verify->setEnabled(!running);
    m_Counts->setText(tr("Done: %1    Failed: %2").arg(m_nDone).arg(m_nFailed));
    if (!running) {
        m_State->clear();
        m_Waiting.clear();
    }
}

void CBatchWriteDlg::SetWaiting(const QString& port, const QString& text)
{
    if (text.isEmpty())
        m_Waiting.remove(port);
    else
        m_Waiting.insert(port, text);
    QStringList lines;
    for (auto it = m_Waiting.cbegin(); it != m_Waiting.cend(); ++it)
        lines << it.key() + QStringLiteral(": ") + it.value();
    if (!m_bStop)
        m_State->setText(lines.join(QLatin1Char('\n')));
}

void CBatchWriteDlg::AddLine(const QString& line, bool succeeded, bool counts)
{
    if (counts)
        ++(succeeded ? m_nDone : m_nFailed);
    m_Log->appendPlainText(line);
    UpdateControls();
}

void CBatchWriteDlg::OnStart()
{
    const QStringList ports = TickedPorts();
    if (IsRunning() || ports.isEmpty()) {
        if (ports.isEmpty())
            m_State->setText(tr("Tick at least one port."));
        return;
    }
    // The document as it is now: edits made since the last Start go out with this one.
    if (m_Source) {
        const std::optional<Content> content = m_Source();
        if (!content)
            return;
        m_Image = content->image;
        m_bWithTables = content->withTables;
        m_pTables->setVisible(m_bWithTables);
    }
    m_bStop = false;
    const bool verify = m_Verify->isChecked();
    const bool service = m_bWithTables;
    const CRadioImage image = m_Image;
    const CBatchTransfer::Factory make = [image, service] { return CCloneTransfer::ChannelWrite(image, service); };
    QStringList devices;
    for (const QString& port : ports)
        devices << CPortName::DevicePath(port, m_Ini);

    // Each report crosses to the window's thread; the window outlives its workers.
    const QString file = m_strFile;
    const auto post = [this, file](const CBatchOutcome& outcome, const QString& prefix) {
        const QString line = prefix + CBatchTransfer::Line(outcome, CLanguage::IsChinese());
        const bool ok = outcome.Succeeded();
        // Logged on the worker, so a slow disk never holds the window up.
        const QString notice = CProgramLogDlg::RecordQuietly(CLogRecord::Of(
            outcome, CCloneTransfer::Direction::Write, CPortName::DevicePath(outcome.port, m_Ini), file, m_Ini));
        const bool partial = outcome.partialWrite;
        QMetaObject::invokeMethod(this, [this, line, ok, notice, partial] {
            AddLine(line, ok, true);
            if (partial)
                m_PartialLines << line;
            if (!notice.isEmpty())
                AddLine(notice, false, false);
        }, Qt::QueuedConnection);
    };

    if (m_Repeat->isChecked()) {
        for (int i = 0; i < ports.size(); ++i) {
            const QString port = ports.at(i), device = devices.at(i);
            m_Workers.push_back(QThread::create([this, make, verify, port, device, post] {
                CRepeatWriter writer(make, verify);
                writer.WatchStop(&m_bStop);
                const CRepeatWriter::Totals totals = writer.Run(port, device, 0,
                    [&](const CBatchOutcome& outcome, int count) { post(outcome, QStringLiteral("#%1 ").arg(count)); },
                    [this, port](CRepeatWriter::Waiting waiting) {
                        const QString text = CRepeatWriter::WaitingText(waiting, CLanguage::IsChinese());
                        QMetaObject::invokeMethod(this, [this, port, text] { SetWaiting(port, text); }, Qt::QueuedConnection);
                    });
                // Its loop has ended (stopped, or its port lost): it waits no more. A lost port is
                // said once, and is no radio: it counts neither way.
                const QString ending = CRepeatWriter::EndingText(totals, CLanguage::IsChinese());
                QMetaObject::invokeMethod(this, [this, port, ending] {
                    SetWaiting(port, QString());
                    if (!ending.isEmpty())
                        AddLine(ending, false, false);
                }, Qt::QueuedConnection);
            }));
        }
    } else {
        m_Workers.push_back(QThread::create([this, make, verify, ports, devices, post] {
            CBatchTransfer batch(make, verify);
            batch.WatchStop(&m_bStop);
            const std::vector<CBatchOutcome> outcomes
                = batch.Run(ports, devices, [&](const CBatchOutcome& outcome) { post(outcome, QString()); });
            const QString summary = CBatchTransfer::Summary(outcomes, CLanguage::IsChinese());
            QMetaObject::invokeMethod(this, [this, summary] { AddLine(summary, true, false); }, Qt::QueuedConnection);
        }));
    }
    for (QThread* worker : m_Workers) {
        connect(worker, &QThread::finished, this, &CBatchWriteDlg::OnWorkerDone, Qt::QueuedConnection);
        worker->start();
    }
    // Running until every worker has ended: closing the program asks first, and stops it as Stop does.
    m_PartialLines.clear();
    m_bStopForClose = false;
    QStringList named;
    for (int i = 0; i < ports.size(); ++i)
        named << TransferNotes::PortLabel(ports.at(i), devices.at(i));
    const CRunningWork::Kind kind
        = m_Repeat->isChecked() ? CRunningWork::Kind::RepeatWrite : CRunningWork::Kind::BatchWrite;
    m_nRunningId = CRunningWork::Add(kind, named, [this] {
        m_bStopForClose = true;
        OnStop();
    });
    UpdateControls();
}

void CBatchWriteDlg::OnWorkerDone()
{
    // Only when every worker has ended; their last reports were queued before their finished signal.
    if (m_Workers.empty())
        return;
    for (QThread* worker : m_Workers) {
        if (!worker->isFinished())
            return;
    }
    for (QThread* worker : m_Workers)
        delete worker;
    m_Workers.clear();
    for (const QString& line : CSerialTrace::TakeFailures(CLanguage::IsChinese()))
        AddLine(line, false, false);
    UpdateControls();
    // Stopped because the program closes: this window goes with it, so the radios left with part of
    // the new data are said once more where they cannot be missed.
    if (m_bStopForClose && !m_PartialLines.isEmpty())
        CMessageBox::Show(
            this, m_PartialLines.join(QLatin1Char('\n')), QMessageBox::Ok, QMessageBox::Warning);
    CRunningWork::Remove(std::exchange(m_nRunningId, 0));
    emit Finished();
}

void CBatchWriteDlg::OnStop()
{
    m_bStop = true;
    m_State->setText(tr("Stopping..."));
}

void CBatchWriteDlg::reject()
{
    // Closing while radios are being written stops them first; the window goes once they have.
    if (IsRunning()) {
        OnStop();
        connect(this, &CBatchWriteDlg::Finished, this, &QDialog::reject, Qt::SingleShotConnection);
        return;
    }
    QDialog::reject();
}
