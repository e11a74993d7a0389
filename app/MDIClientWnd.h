#pragma once

#include <QMdiArea>
#include <QPixmap>

// The area behind the document windows, tiled from its top-left corner with "background.bmp" beside
// the executable, or with our own picture when that file is missing or unreadable. The file is read
// again at every repaint, so a replaced picture shows at the next one.
class CMDIClientWnd : public QMdiArea {
    Q_OBJECT

public:
    explicit CMDIClientWnd(QWidget* parent = nullptr);

    // The picture the next repaint tiles with.
    static QPixmap BackgroundPicture();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
