#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The progress window of a clone Read or Write. It belongs to the channel view and lives as long as
// the view; its window is shown only while a transfer is being prepared or runs. OK asks the view to
// start (queued, so the button's click returns first); Cancel, Escape and the close box ask it to stop
// between blocks, or simply close the window when nothing has started.
class CProcessDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId { kProgressId = 1001, kPercentId = 1009 };

    explicit CProcessDlg(QWidget* view);

    // Read or Write was chosen: shows the window ready to start, titled for the direction. A window
    // already open is left as it is once its transfer has started; before that it is retitled, so the
    // title always names what OK will do.
    // withTables: a write that also sends the power and alignment tables.
    void Open(bool read, bool withTables = false);
    // The transfer has started: OK was pressed and is disabled.
    bool IsStarted() const;
    // The bar runs from 0 to blocks; the text shows "0" until the first block.
    void SetBlockCount(int blocks);
    // One more block done: advances the bar and shows p × 100 / N as "%d%%".
    void StepIt();
    // The transfer is over (or never started): the window goes, the object stays for the next one.
    void DestroyWindow();

    // A further transfer of the same run (the read-back of a verify): the window shows again, already
    // started, under caption.
    void Continue(const QString& caption);
    // "Verify after writing": shown for a write only.
    bool VerifyAfterWriting() const;
    void SetVerifyAfterWriting(bool on);
    QCheckBox* VerifyBox() const { return m_Verify; }

    // Where the transfer goes, as the window names it ("COM3 (/dev/ttyUSB2)"); asked each time the
    // window opens, so it follows Com Setup.
    void SetPortSource(std::function<QString()> source) { m_PortSource = std::move(source); }
    QLabel* PortNote() const { return m_PortNote; }

    // The caption for a direction in the running language: "Read Data" or "Write Data".
    static QString CaptionFor(bool read);

    int m_bRead = 1;
    int m_bCancel = 0;
    bool m_bWithTables = false;
    QString m_strCaption;

    QPushButton* OkButton() const { return m_Ok; }
    QPushButton* CancelButton() const { return m_Cancel; }
    QProgressBar* Progress() const { return m_Progress; }
    QLabel* Percent() const { return m_Percent; }

signals:
    // Posted by OK; the view runs the transfer when it arrives.
    void StartRequested();
    // The user ticked or cleared "Verify after writing".
    void VerifyToggled(bool on);

public slots:
    void OnOK();
    // Cancel, Escape and the close box all come here.
    void reject() override;

protected:
    // F1: the help page of Read or Write.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnInitDialog();

    QProgressBar* m_Progress;
    QLabel* m_Percent;
    QPushButton* m_Ok;
    QPushButton* m_Cancel;
    QCheckBox* m_Verify;
    QLabel* m_PortNote;
    std::function<QString()> m_PortSource;
};
