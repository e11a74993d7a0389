#include "app/TreeControlBar.h"

#include "widgets/PaintedIcon.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>
#include <QTreeWidget>

namespace {

// The feedback line: two thin inverted-looking strokes two pixels apart, over the frame.
class CTrackingLine : public QWidget {
public:
    explicit CTrackingLine(QWidget* frame)
        : QWidget(frame)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setObjectName(QStringLiteral("trackingLine"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(0, 0, 1, height(), palette().windowText());
        painter.fillRect(2, 0, 1, height(), palette().windowText());
    }
};

} // namespace

CTreeControlBar::CTreeControlBar(QTreeWidget* tree, const QString& caption, QWidget* parent)
    : QWidget(parent)
    , m_strCaption(caption)
    , m_pTree(tree)
{
    setObjectName(QStringLiteral("controlBar"));
    setWindowTitle(QStringLiteral("IE Control Bar"));
    setMouseTracking(true);
    QFont captionFont(QStringLiteral("Times New Roman"));
    captionFont.setPixelSize(14);
    setFont(captionFont);
    m_pTree->setParent(this);
    m_pTree->setFont(captionFont);
}

QRect CTreeControlBar::BorderRect() const
{
    // The client area less 3 left, 6 top, 6 right and 49 bottom, inside its white inner edge.
    const QRect client = rect();
    return QRect(QPoint(client.left() + 4, client.top() + 7), QPoint(client.right() - 6, client.bottom() - 49));
}

QRect CTreeControlBar::SizingStrip() const
{
    if (m_rcBorder.isNull())
        return {};
    return QRect(m_rcBorder.right(), m_rcBorder.top(), kStripWidth, m_rcBorder.height());
}

int CTreeControlBar::FrameWidth() const
{
    const QWidget* frame = window();
    return frame ? frame->width() : width() * 2;
}

int CTreeControlBar::TrackX(int x, int frameWidth)
{
    return qBound(kMinTrackX, x, qMax(kMinTrackX, frameWidth / 2));
}

int CTreeControlBar::AppliedWidth(int x, int frameWidth)
{
    if (x < kMinWidth)
        return kMinWidth;
    return qMin(x, frameWidth / 2);
}

void CTreeControlBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_pTree->setGeometry(QRect(QPoint(5, 8 + kCaptionHeight + 1), QPoint(width() - 8, height() - 51)));
}

void CTreeControlBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor grey = palette().color(QPalette::Disabled, QPalette::WindowText);
    const QRect outline(QPoint(3, 6), QPoint(width() - 7, height() - 50));
    painter.setPen(grey);
    painter.drawRect(outline);
    painter.setPen(Qt::white);
    painter.drawLine(outline.left() + 1, outline.top() + 1, outline.left() + 1, outline.bottom() - 1);
    painter.drawLine(outline.left() + 1, outline.top() + 1, outline.right() - 1, outline.top() + 1);
    m_rcBorder = BorderRect();

    // Caption, left-aligned after a 5 px inset, and the line under it.
    const int captionWidth = painter.fontMetrics().horizontalAdvance(m_strCaption);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(m_rcBorder.left() + 5, m_rcBorder.top(), captionWidth + 1, kCaptionHeight),
        Qt::AlignCenter | Qt::TextSingleLine, m_strCaption);
    painter.setPen(grey);
    painter.drawLine(m_rcBorder.left() + 1, m_rcBorder.top() + kCaptionHeight, m_rcBorder.right(),
        m_rcBorder.top() + kCaptionHeight);

    // The close button: raised while hot, sunken while pressed over it.
    m_rcClose = QRect(QPoint(m_rcBorder.right() - 20, m_rcBorder.top() + 4), QSize(16, 15));
    if (m_bHot || m_bPressed) {
        const QColor light = palette().color(QPalette::Light), dark = palette().color(QPalette::Dark);
        painter.setPen(m_bHot ? light : dark);
        painter.drawLine(m_rcClose.topLeft(), m_rcClose.topRight());
        painter.drawLine(m_rcClose.topLeft(), m_rcClose.bottomLeft());
        painter.setPen(m_bHot ? dark : light);
        painter.drawLine(m_rcClose.bottomLeft(), m_rcClose.bottomRight());
        painter.drawLine(m_rcClose.topRight(), m_rcClose.bottomRight());
    }
    PaintedIcon::Icon(PaintedIcon::Kind::Close).paint(&painter, QRect(m_rcClose.topLeft(), QSize(16, 16)));
}

bool CTreeControlBar::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (m_rcClose.contains(help->pos()))
            QToolTip::showText(help->globalPos(), tr("Close"), this, m_rcClose);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void CTreeControlBar::ShowTrackingLine(int x)
{
    QWidget* frame = window();
    if (!m_pTrackingLine)
        m_pTrackingLine = new CTrackingLine(frame);
    const QPoint top = mapTo(frame, QPoint(x, 0));
    m_pTrackingLine->setGeometry(top.x(), top.y(), 3, qMax(1, height() - 43));
    m_pTrackingLine->raise();
    m_pTrackingLine->show();
    m_nTrackX = x;
}

void CTreeControlBar::HideTrackingLine()
{
    if (m_pTrackingLine)
        m_pTrackingLine->hide();
    m_nTrackX = -1;
}

void CTreeControlBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    if (!m_rcClose.isNull()) {
        m_bButtonDown = true;
        m_bHot = false;
        m_bPressed = m_rcClose.contains(p);
        update(m_rcClose);
    }
    if (SizingStrip().contains(p))
        m_bSizing = true;
}

void CTreeControlBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    setCursor(SizingStrip().contains(p) || m_bSizing ? Qt::SplitHCursor : Qt::ArrowCursor);
    if (m_bSizing)
        ShowTrackingLine(TrackX(p.x(), FrameWidth()));
    if (m_rcClose.isNull())
        return;
    if (m_rcClose.contains(p)) {
        if (m_bHot)
            return;
        m_bHot = !m_bButtonDown;
        m_bPressed = m_bButtonDown;
        update(m_rcClose);
    } else if (m_bHot || m_bPressed) {
        m_bHot = m_bPressed = false;
        update(m_rcClose);
    }
}

void CTreeControlBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    m_bButtonDown = m_bHot = m_bPressed = false;
    HideTrackingLine();
    update(m_rcClose);
    if (!m_rcClose.isNull() && m_rcClose.contains(p))
        emit CloseRequested();
    if (m_bSizing) {
        // The release applies down to 11 px although the feedback stopped at 80.
        m_nBarWidth = AppliedWidth(p.x(), FrameWidth());
        emit WidthApplied(m_nBarWidth);
    }
    m_bSizing = false;
}

void CTreeControlBar::mouseDoubleClickEvent(QMouseEvent*)
{
    // Never floats, never re-docks.
}
