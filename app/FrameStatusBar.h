#pragma once

#include <QStatusBar>

class CElidedLabel;
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

    // A note that stays at the right for the whole run (which device a COM port stands for). It gives
    // way to the message: narrowed and cut with an ellipsis, whole in its tooltip, so the message is
    // never cut by it.
    void SetPortNotice(const QString& text);
    QLabel* PortNotice() const;

    // Reads the lock keys again.
    void UpdateIndicators();
    QLabel* Indicator(int index) const { return m_Indicators[index]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Whether the pointer (or the keyboard) rests on an entry of an open menu.
    static bool IsOverMenuEntry();

    // Leaves the message the room it needs, the notice the rest.
    void FitNotice();

    QLabel* m_Indicators[3];
    CElidedLabel* m_pNotice = nullptr;
    QString m_strDone;
};
