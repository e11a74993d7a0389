#pragma once

#include <QDialog>

class QLineEdit;

// "Password": one masked edit box. OK closes with Accepted only for the service access code, typed
// exactly; any other entry closes with Rejected and says nothing, so the code cannot be guessed from
// the answers.
class CPasswordDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId { kPasswordId = 1027 };
    static constexpr int kMaxLength = 8;
    // The only mode in use: the service access code.
    static constexpr int kServiceMode = 2;

    explicit CPasswordDlg(QWidget* parent = nullptr);

    int m_nMode = kServiceMode;
    QLineEdit* Edit() const { return m_Edit; }

public slots:
    void accept() override;

private:
    QLineEdit* m_Edit;
};
