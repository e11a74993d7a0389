#include "app/MDIClientWnd.h"

#include "app/PaintedIcon.h"
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

void CMDIClientWnd::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = BackgroundPicture();
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    const int w = picture.width(), h = picture.height();
    // Whole tiles from the top-left corner; the last column and row are cut off by the edge.
    for (int i = 0; i <= area.width() / w; ++i)
        for (int j = 0; j <= area.height() / h; ++j) {
            const QRect tile(area.left() + i * w, area.top() + j * h, w, h);
            if (tile.intersects(event->rect()))
                painter.drawPixmap(tile.topLeft(), picture);
        }
}

void CMDIClientWnd::resizeEvent(QResizeEvent* event)
{
    QMdiArea::resizeEvent(event);
    viewport()->update();
}
