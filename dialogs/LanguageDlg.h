#pragma once

#include <QDialog>

class CIniFile;
class QRadioButton;

// The Language dialog: English or Chinese. OK with the other language than the running one writes
// [Setup] Language at once and marks the dialog changed; the caller then restarts the program.
class CLanguageDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId { kEnglishId = 1006, kChineseId = 1007 };
    enum Language { kUnset = -1, kEnglish = 0, kChinese = 1 };

    explicit CLanguageDlg(CIniFile& ini, QWidget* parent = nullptr);

    int exec() override;
    void accept() override;

    int SelectedLanguage() const { return m_nLanguage; }
    // Set by the first OK that chose another language; never cleared.
    bool IsChanged() const { return m_bChanged; }
    QRadioButton* EnglishButton() const { return m_English; }
    QRadioButton* ChineseButton() const { return m_Chinese; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CIniFile& m_Ini;
    QRadioButton* m_English;
    QRadioButton* m_Chinese;
    int m_nLanguage = kUnset;
    bool m_bChanged = false;
};
