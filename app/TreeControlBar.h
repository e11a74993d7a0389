#pragma once

#include <QWidget>

class QTreeWidget;

// The panel at the left edge of the main frame: a framed caption with the company's name, a small
// close button and the navigation tree. Its right edge is a sizing strip: a drag shows an inverted
// line (from 80 px up to half the frame) and the release applies the width (from 11 px up to half
// the frame). It never floats.
class CTreeControlBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kInitialWidth = 220;
    static constexpr int kCaptionHeight = 22;
    static constexpr int kStripWidth = 6;
    static constexpr int kMinTrackX = 80;
    static constexpr int kMinWidth = 11;

    // tree becomes the bar's child; caption is the configured company text.
    CTreeControlBar(QTreeWidget* tree, const QString& caption, QWidget* parent = nullptr);

    QTreeWidget* Tree() const { return m_pTree; }
    int BarWidth() const { return m_nBarWidth; }
    QRect CloseButtonRect() const { return m_rcClose; }
    QRect SizingStrip() const;
    // The x of the drag feedback line, or -1 while none is shown.
    int TrackingX() const { return m_nTrackX; }

    // The width limits of a drag, given the frame's client width.
    static int TrackX(int x, int frameWidth);
    static int AppliedWidth(int x, int frameWidth);

    QSize sizeHint() const override { return { m_nBarWidth, 400 }; }
    QSize minimumSizeHint() const override { return { kMinWidth, 120 }; }

signals:
    // The close button was released over itself.
    void CloseRequested();
    // A drag on the sizing strip ended: the bar is to be this wide from now on.
    void WidthApplied(int width);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect BorderRect() const;
    int FrameWidth() const;
    void ShowTrackingLine(int x);
    void HideTrackingLine();

    QString m_strCaption;
    QTreeWidget* m_pTree;
    QWidget* m_pTrackingLine = nullptr; // on the frame, above everything else
    QRect m_rcBorder;
    QRect m_rcClose;
    int m_nBarWidth = kInitialWidth;
    int m_nTrackX = -1;
    bool m_bSizing = false;
    bool m_bButtonDown = false;
    bool m_bHot = false;
    bool m_bPressed = false;
};
