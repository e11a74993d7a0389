#pragma once

#include <QDialog>

class CIniFile;
class QLabel;

// Help > About: the title, the version, copyright and owner lines of the running language's section
// of the configuration, and "title.ico" beside the executable (our radio when it does not load).
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(const CIniFile& ini, QWidget* parent = nullptr);

    // What the window system is given for an empty title.
    static constexpr QChar kEmptyBarTitle { 0x200B };

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_pIcon;
};
