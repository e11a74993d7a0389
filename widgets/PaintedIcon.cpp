#include "widgets/PaintedIcon.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace PaintedIcon {

namespace {

const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kPaper(0xfb, 0xfb, 0xf7);
const QColor kAccent(0x1f, 0x7a, 0xc4);
const QColor kFolder(0xe8, 0xb8, 0x4a);
const QColor kRadioBody(0x33, 0x3d, 0x47);

// All drawings are made on a 32 x 32 grid and scaled to the target rectangle.
void DrawPage(QPainter &p)
{
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(19, 3);
    page.lineTo(26, 10);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawPolyline(QPolygonF({ QPointF(19, 3), QPointF(19, 10), QPointF(26, 10) }));
}

void DrawArrow(QPainter &p, bool down)
{
    // A fat arrow between the computer (top) and the radio (bottom).
    QPainterPath arrow;
    const qreal tip = down ? 22 : 4, base = down ? 13 : 13;
    arrow.moveTo(16, tip);
    arrow.lineTo(9, base);
    arrow.lineTo(13, base);
    arrow.lineTo(13, down ? 4 : 22);
    arrow.lineTo(19, down ? 4 : 22);
    arrow.lineTo(19, base);
    arrow.lineTo(23, base);
    arrow.closeSubpath();
    p.setBrush(kAccent);
    p.drawPath(arrow);
}

void DrawTray(QPainter &p)
{
    p.setBrush(kRadioBody);
    p.drawRoundedRect(QRectF(5, 24, 22, 5), 1.5, 1.5);
}

void DrawRadio(QPainter &p)
{
    p.setBrush(kRadioBody);
    p.drawRoundedRect(QRectF(20, 1.5, 3, 9), 1.2, 1.2); // antenna
    p.drawRoundedRect(QRectF(8, 8, 17, 23), 3, 3);
    p.setBrush(QColor(0x9f, 0xd8, 0xa8));
    p.drawRect(QRectF(11, 11, 11, 6)); // display
    p.setPen(QPen(QColor(0xb8, 0xc2, 0xcc), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (qreal y = 20.5; y < 29; y += 2.5)
        p.drawLine(QPointF(11.5, y), QPointF(21.5, y)); // speaker grille
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd6, 0x45, 0x3d));
    p.drawEllipse(QPointF(12, 5), 1.6, 1.6); // the transmit lamp beside the antenna
}

void Draw(QPainter &p, Kind kind)
{
    p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (kind) {
    case Kind::New:
        DrawPage(p);
        p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16.5, 15), QPointF(16.5, 25));
        p.drawLine(QPointF(11.5, 20), QPointF(21.5, 20));
        break;
    case Kind::Open: {
        p.setBrush(kFolder.darker(115));
        p.drawRoundedRect(QRectF(3, 7, 24, 19), 1.5, 1.5);
        QPainterPath flap;
        flap.moveTo(3, 27);
        flap.lineTo(8, 13);
        flap.lineTo(30, 13);
        flap.lineTo(26, 27);
        flap.closeSubpath();
        p.setBrush(kFolder);
        p.drawPath(flap);
        break;
    }
    case Kind::Save:
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.drawRect(QRectF(8, 18, 16, 10));
        p.setBrush(kInk);
        p.drawRect(QRectF(18, 6, 3, 5));
        break;
    case Kind::Read:
        DrawTray(p);
        DrawArrow(p, false); // from the radio up into the computer
        break;
    case Kind::Write:
        DrawTray(p);
        DrawArrow(p, true);
        break;
    case Kind::Print:
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 3, 14, 9));
        p.setBrush(QColor(0x8c, 0x98, 0xa4));
        p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 19, 14, 10));
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(12, 23), QPointF(20, 23));
        p.drawLine(QPointF(12, 26), QPointF(18, 26));
        break;
    case Kind::About:
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
        p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1.5, 1.5);
        break;
    case Kind::Radio:
        p.setPen(Qt::NoPen);
        DrawRadio(p);
        break;
    case Kind::Close:
        p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 9), QPointF(23, 23));
        p.drawLine(QPointF(23, 9), QPointF(9, 23));
        break;
    }
}

class CPaintedIconEngine : public QIconEngine
{
public:
    explicit CPaintedIconEngine(Kind kind) : m_Kind(kind) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const qreal side = qMin(rect.width(), rect.height());
        painter->translate(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2);
        painter->scale(side / 32.0, side / 32.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        Draw(*painter, m_Kind);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new CPaintedIconEngine(m_Kind); }

private:
    Kind m_Kind;
};

} // namespace

QIcon Icon(Kind kind)
{
    return QIcon(new CPaintedIconEngine(kind));
}

QIcon ThemedIcon(const char *themeName, Kind kind)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), Icon(kind));
}

QPixmap BackgroundTile()
{
    // A quiet steel-blue tile whose waves meet their neighbours at the tile edges.
    QPixmap tile(238, 157);
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 157);
    sky.setColorAt(0, QColor(0x5b, 0x7c, 0x99));
    sky.setColorAt(0.5, QColor(0x4a, 0x6a, 0x88));
    sky.setColorAt(1, QColor(0x5b, 0x7c, 0x99));
    p.fillRect(tile.rect(), sky);
    p.setBrush(Qt::NoBrush);
    for (int ring = 1; ring <= 4; ++ring) {
        p.setPen(QPen(QColor(255, 255, 255, 34 - ring * 6), 2));
        const qreal r = ring * 22.0;
        for (const QPointF centre : { QPointF(0, 0), QPointF(238, 0), QPointF(0, 157), QPointF(238, 157) })
            p.drawEllipse(centre, r, r);
        p.drawEllipse(QPointF(119, 78.5), r, r);
    }
    return tile;
}

} // namespace PaintedIcon
