#pragma once

#include <QStatusBar>

class QLabel;

// The status bar: the message pane ("Ready", or the prompt of the command under the pointer), then
// the CAP, NUM and SCRL panes lit while their lock key is on.
class CFrameStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit CFrameStatusBar(QWidget* parent = nullptr);
    ~CFrameStatusBar() override;

    // Reads the lock keys again.
    void UpdateIndicators();
    QLabel* Indicator(int index) const { return m_Indicators[index]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the pointer (or the keyboard) rests on an entry of an open menu.
    static bool IsOverMenuEntry();

    QLabel* m_Indicators[3];
};
