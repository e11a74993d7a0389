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

    // What the last command did: the message pane says it instead of "Ready" (also after a menu's
    // prompt) until ClearDone, which the next command calls.
    void ShowDone(const QString& text);
    void ClearDone();
    QString DoneText() const { return m_strDone; }

    // Reads the lock keys again.
    void UpdateIndicators();
    QLabel* Indicator(int index) const { return m_Indicators[index]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the pointer (or the keyboard) rests on an entry of an open menu.
    static bool IsOverMenuEntry();

    QLabel* m_Indicators[3];
    QString m_strDone;
};
