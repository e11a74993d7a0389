#include "app/FrameStatusBar.h"

#include "app/KeyLockState.h"
#include "config/CommandPrompts.h"
#include "widgets/ElidedLabel.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>

#include <algorithm>

namespace {
const char* const kIndicatorNames[3] = { "CAP", "NUM", "SCRL" };
}

CFrameStatusBar::CFrameStatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("statusBar"));
    for (int i = 0; i < 3; ++i) {
        m_Indicators[i] = new QLabel(this);
        m_Indicators[i]->setObjectName(QLatin1String(kIndicatorNames[i]));
        m_Indicators[i]->setAlignment(Qt::AlignCenter);
        m_Indicators[i]->setMinimumWidth(m_Indicators[i]->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        m_Indicators[i]->setFrameShape(QFrame::StyledPanel);
        addPermanentWidget(m_Indicators[i]);
    }
    // An empty prompt brings back "Ready", or what the last command did, when the pointer left the
    // menu or the button; over a menu entry whose command has no prompt the pane stays empty.
    connect(this, &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty() && !IsOverMenuEntry())
            showMessage(m_strDone.isEmpty() ? CommandPrompts::Ready() : m_strDone);
        FitNotice();
    });
    showMessage(CommandPrompts::Ready());
    UpdateIndicators();
    // The lock keys change with key presses, and may have changed while another window had focus.
    qApp->installEventFilter(this);
}

CFrameStatusBar::~CFrameStatusBar()
{
    qApp->removeEventFilter(this);
}

void CFrameStatusBar::SetPortNotice(const QString& text)
{
    if (!m_pNotice) {
        m_pNotice = new CElidedLabel(text, this);
        m_pNotice->setObjectName(QStringLiteral("portNotice"));
        addPermanentWidget(m_pNotice);
    }
    m_pNotice->setText(text);
    m_pNotice->setToolTip(text);
    FitNotice();
}

QLabel* CFrameStatusBar::PortNotice() const
{
    return m_pNotice;
}

void CFrameStatusBar::FitNotice()
{
    if (!m_pNotice)
        return;
    // The message is drawn left of the first of the panes; the notice takes what the message leaves.
    constexpr int kRoom = 40; // margins, spacing and the size grip
    int used = fontMetrics().horizontalAdvance(currentMessage()) + kRoom;
    for (const QLabel* indicator : m_Indicators)
        used += indicator->width() + 6;
    const int room = width() - used;
    m_pNotice->setMaximumWidth(std::clamp(room, m_pNotice->minimumSizeHint().width(), m_pNotice->FullWidth()));
}

void CFrameStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    FitNotice();
}

void CFrameStatusBar::ShowDone(const QString& text)
{
    m_strDone = text;
    showMessage(text.isEmpty() ? CommandPrompts::Ready() : text);
}

void CFrameStatusBar::ClearDone()
{
    if (m_strDone.isEmpty())
        return;
    const bool shown = currentMessage() == m_strDone;
    m_strDone.clear();
    if (shown)
        showMessage(CommandPrompts::Ready());
}

bool CFrameStatusBar::IsOverMenuEntry()
{
    const auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu && menu->isVisible() && menu->activeAction() && !menu->activeAction()->isSeparator();
}

void CFrameStatusBar::UpdateIndicators()
{
    const KeyLockState::State state = KeyLockState::Current();
    const bool on[3] = { state.caps, state.num, state.scroll };
    for (int i = 0; i < 3; ++i) {
        // A pane whose key is off stays in its place, empty.
        m_Indicators[i]->setText(state.known && on[i] ? QLatin1String(kIndicatorNames[i]) : QString());
    }
}

bool CFrameStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Hide:
        // A menu closing over an entry without a prompt leaves the pane idle again.
        if (qobject_cast<QMenu*>(watched) && currentMessage().isEmpty())
            QMetaObject::invokeMethod(this, [this] {
                if (currentMessage().isEmpty() && !IsOverMenuEntry())
                    showMessage(CommandPrompts::Ready());
            }, Qt::QueuedConnection);
        break;
    case QEvent::KeyRelease:
    case QEvent::ApplicationStateChange:
        UpdateIndicators();
        break;
    default:
        break;
    }
    return QStatusBar::eventFilter(watched, event);
}
