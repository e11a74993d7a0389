#include "link/ProcessDlg.h"

#include "widgets/HelpLayer.h"
#include "config/Language.h"
#include "link/ClonePlan.h"
#include "link/TransferNotes.h"
#include "radio/ServiceAccess.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr CBilingual kReadCaption { "Read Data", "读数据" };
constexpr CBilingual kWriteCaption { "Write Data", "写数据" };
constexpr int kBarWidth = 300;
// The help pages of the Read and Write commands.
constexpr int kReadTopic = 32773;
constexpr int kWriteTopic = 32774;
}

CProcessDlg::CProcessDlg(QWidget* view)
    : QDialog(view)
    , m_Progress(new QProgressBar(this))
    , m_Percent(new QLabel(QStringLiteral("0"), this))
    , m_Ok(new QPushButton(tr("OK"), this))
    , m_Cancel(new QPushButton(tr("Cancel"), this))
    , m_Verify(new QCheckBox(tr("Verify after writing"), this))
    , m_PortNote(new QLabel(this))
{
    setWindowTitle(tr("Process"));
    setModal(false);
    CHelpLayer::SetControlId(m_Progress, kProgressId);
    CHelpLayer::SetControlId(m_Percent, kPercentId);
    // The percentage stands in its own text box under the bar, not inside it.
    m_Progress->setTextVisible(false);
    m_Progress->setMinimumWidth(kBarWidth);
    m_Percent->setAlignment(Qt::AlignCenter);
    m_PortNote->setWordWrap(true);
    m_PortNote->setFixedWidth(kBarWidth);
    m_Ok->setDefault(true);
    connect(m_Ok, &QPushButton::clicked, this, &CProcessDlg::OnOK);
    connect(m_Cancel, &QPushButton::clicked, this, &CProcessDlg::reject);
    connect(m_Verify, &QCheckBox::toggled, this, &CProcessDlg::VerifyToggled);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_Ok);
    buttons->addWidget(m_Cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(m_Progress);
    layout->addWidget(m_Percent);
    layout->addWidget(m_PortNote);
    layout->addWidget(m_Verify);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CProcessDlg::CaptionFor(bool read)
{
    return (read ? kReadCaption : kWriteCaption).Text();
}

void CProcessDlg::Open(bool read, bool withTables)
{
    m_bRead = read ? 1 : 0;
    m_bWithTables = !read && withTables;
    m_strCaption = CaptionFor(read);
    if (isVisible()) {
        // A started transfer keeps its window as it is; a window still waiting for OK follows the
        // command just chosen, so that it never says "Read Data" over a write.
        if (!IsStarted())
            OnInitDialog();
        return;
    }
    OnInitDialog();
    show();
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
        move(owner->frameGeometry().center() - QRect(QPoint(), frameGeometry().size()).center());
    raise();
    activateWindow();
    m_Ok->setFocus();
}

void CProcessDlg::OnInitDialog()
{
    const std::size_t blocks = m_bRead ? ClonePlan::ReadBlocks().size()
                                       : ClonePlan::WriteBlocks(m_bWithTables).size();
    m_Ok->setEnabled(true);
    SetBlockCount(static_cast<int>(blocks));
    setWindowTitle(m_strCaption);
    m_PortNote->setText(m_PortSource ? TransferNotes::ProgressNote(m_PortSource(), CLanguage::IsChinese()) : QString());
    m_PortNote->setVisible(!m_PortNote->text().isEmpty());
    m_Verify->setVisible(!m_bRead);
    m_Verify->setEnabled(true);
    m_bCancel = 0;
}

void CProcessDlg::Continue(const QString& caption)
{
    m_Ok->setEnabled(false);
    m_Verify->setEnabled(false);
    setWindowTitle(caption);
    m_bCancel = 0;
    show();
}

bool CProcessDlg::VerifyAfterWriting() const
{
    return m_Verify->isChecked();
}

void CProcessDlg::SetVerifyAfterWriting(bool on)
{
    const QSignalBlocker quiet(m_Verify);
    m_Verify->setChecked(on);
}

bool CProcessDlg::IsStarted() const
{
    return !m_Ok->isEnabled();
}

void CProcessDlg::SetBlockCount(int blocks)
{
    m_Progress->setRange(0, blocks);
    m_Progress->setValue(0);
    m_Percent->setText(QStringLiteral("0"));
}

void CProcessDlg::StepIt()
{
    const int blocks = m_Progress->maximum();
    const int position = std::min(m_Progress->value() + 1, blocks);
    // The text first, so whoever watches the bar sees both agree.
    m_Percent->setText(QString::asprintf("%d%%", blocks > 0 ? position * 100 / blocks : 100));
    m_Progress->setValue(position);
}

void CProcessDlg::DestroyWindow()
{
    const bool wasActive = isActiveWindow();
    hide();
    // The keyboard goes back to the program's window, also where no window manager hands it back.
    if (wasActive && parentWidget())
        parentWidget()->window()->activateWindow();
}

void CProcessDlg::OnOK()
{
    if (IsStarted())
        return;
    m_Ok->setEnabled(false);
    m_Verify->setEnabled(false);
    // Queued: the view starts once this click has been handled.
    QMetaObject::invokeMethod(this, &CProcessDlg::StartRequested, Qt::QueuedConnection);
}

void CProcessDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        CHelpLayer::ShowTopic(this, m_bRead ? kReadTopic : kWriteTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CProcessDlg::reject()
{
    m_bCancel = 1;
    // Nothing started: the window simply goes. A running transfer sees the flag between blocks and
    // closes the window itself.
    if (!IsStarted())
        QDialog::reject();
}
