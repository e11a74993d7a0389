#include "app/MDIClientWnd.h"

#include "widgets/PaintedIcon.h"
#include "config/AppPaths.h"

#include <QPaintEvent>
#include <QPainter>

CMDIClientWnd::CMDIClientWnd(QWidget* parent)
    : QMdiArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QPixmap CMDIClientWnd::BackgroundPicture()
{
    QPixmap picture(CAppPaths::BesideExe(QStringLiteral("background.bmp")));
    if (picture.isNull())
        picture = PaintedIcon::BackgroundTile();
    return picture;
}

QList<QPoint> CMDIClientWnd::TileOrigins(const QSize& area, const QSize& picture)
{
    QList<QPoint> origins;
    if (picture.isEmpty())
        return origins;
    for (int i = 0; i <= area.width() / picture.width(); ++i)
        for (int j = 0; j <= area.height() / picture.height(); ++j)
            origins << QPoint(i * picture.width(), j * picture.height());
    return origins;
}

void CMDIClientWnd::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = BackgroundPicture();
    QPainter painter(viewport());
    for (const QPoint& origin : TileOrigins(viewport()->size(), picture.size()))
        if (event->rect().intersects(QRect(origin, picture.size())))
            painter.drawPixmap(origin, picture);
}

void CMDIClientWnd::resizeEvent(QResizeEvent* event)
{
    QMdiArea::resizeEvent(event);
    viewport()->update();
}
