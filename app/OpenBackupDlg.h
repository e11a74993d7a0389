#pragma once

#include <QDialog>

class CIniFile;
class QTreeWidget;

// File > Open Backup...: the kept copies of earlier reads from radios, newest first by the time each
// backup holds, with that time, the port and the radio's type and band.
class COpenBackupDlg : public QDialog {
    Q_OBJECT

public:
    COpenBackupDlg(const CIniFile& ini, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_List; }
    // The chosen backup's file once the dialog was accepted; empty otherwise.
    QString ChosenPath() const;

private:
    QTreeWidget* m_List;
};
