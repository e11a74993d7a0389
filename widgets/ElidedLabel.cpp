#include "widgets/ElidedLabel.h"

#include <QPainter>
#include <QStyle>

CElidedLabel::CElidedLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setToolTip(text);
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

int CElidedLabel::FullWidth() const
{
    return fontMetrics().horizontalAdvance(text()) + 2 * margin() + 2 * frameWidth() + 4;
}

QSize CElidedLabel::minimumSizeHint() const
{
    // Room for the ellipsis and a letter or two.
    return { fontMetrics().horizontalAdvance(QStringLiteral("COM\u2026")), QLabel::minimumSizeHint().height() };
}

void CElidedLabel::paintEvent(QPaintEvent* event)
{
    if (FullWidth() <= width()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shown, foregroundRole());
}
