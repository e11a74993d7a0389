#pragma once

#include <QMdiArea>
#include <QPixmap>

// The area behind the document windows, tiled from its top-left corner with "background.bmp" beside
// the executable, or with our own picture when that file is missing, unreadable or cut short. The file
// is read again at every repaint, so a replaced picture shows at the next one.
class CMDIClientWnd : public QMdiArea {
    Q_OBJECT

public:
    explicit CMDIClientWnd(QWidget* parent = nullptr);

    // The picture the next repaint tiles with.
    static QPixmap BackgroundPicture();
    // Where the whole tiles of a picture go in an area, from its top-left corner; the last column and
    // row may stick out past the edge.
    static QList<QPoint> TileOrigins(const QSize& area, const QSize& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
