#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

class QWidget;

// The Open and Save As file dialogs for data files; a test answers them through a hook.
class CFilePrompt {
    Q_DECLARE_TR_FUNCTIONS(CFilePrompt)

public:
    enum class Kind { Open, Save };
    struct Request {
        QWidget* parent = nullptr;
        Kind kind = Kind::Open;
        QString proposed; // the name offered in the Save As dialog
        bool csv = false; // a channel list (*.csv) rather than a data file
        QString folder; // where the dialog starts
    };
    using Hook = std::function<QString(const Request&)>;

    // The chosen file, empty when the user cancelled.
    static QString OpenFileName(QWidget* parent);
    // The chosen file for saving; ".dat" is added when the user typed a name without extension.
    static QString SaveFileName(QWidget* parent, const QString& proposed);

    // The same for channel lists; ".csv" is added to a name without extension.
    static QString OpenCsvName(QWidget* parent);
    static QString SaveCsvName(QWidget* parent, const QString& proposed);

    static void SetHook(Hook hook);
    // The per-user settings ([Setup] AppName) that remember the folder last used.
    static void SetSettingsName(const QString& appName);

private:
    // Starts the request in the remembered folder and remembers the folder of the file chosen.
    static QString Run(const Request& asked);
    static QString Ask(const Request& request);
    static Hook s_Hook;
    static QString s_strSettingsName;
};
