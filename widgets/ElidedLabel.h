#pragma once

#include <QLabel>

// A one-line label that gives way: narrower than its text, it shows the start of the text with an
// ellipsis and the whole in its tooltip; text() always holds all of it.
class CElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit CElidedLabel(const QString& text, QWidget* parent = nullptr);

    // The width of the whole text: what the label asks for when there is room.
    int FullWidth() const;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
