#include "widgets/FilePrompt.h"

#include "config/UserSettings.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

CFilePrompt::Hook CFilePrompt::s_Hook;
QString CFilePrompt::s_strSettingsName;

QString CFilePrompt::OpenFileName(QWidget* parent)
{
    return Run({ parent, Kind::Open, {}, false, {} });
}

QString CFilePrompt::SaveFileName(QWidget* parent, const QString& proposed)
{
    return Run({ parent, Kind::Save, proposed, false, {} });
}

void CFilePrompt::SetSettingsName(const QString& appName)
{
    s_strSettingsName = appName;
}

QString CFilePrompt::OpenCsvName(QWidget* parent)
{
    return Run({ parent, Kind::Open, {}, true, {} });
}

QString CFilePrompt::SaveCsvName(QWidget* parent, const QString& proposed)
{
    return Run({ parent, Kind::Save, proposed, true, {} });
}

void CFilePrompt::SetHook(Hook hook)
{
    s_Hook = std::move(hook);
}

QString CFilePrompt::Run(const Request& asked)
{
    CUserSettings settings(s_strSettingsName);
    Request request = asked;
    request.folder = settings.FileFolder();
    const QString chosen = Ask(request);
    if (!chosen.isEmpty())
        settings.SetFileFolder(QFileInfo(chosen).absolutePath());
    return chosen;
}

QString CFilePrompt::Ask(const Request& request)
{
    if (s_Hook)
        return s_Hook(request);
    const bool open = request.kind == Kind::Open;
    QFileDialog dialog(request.parent, open ? tr("Open") : tr("Save As"));
    dialog.setNameFilters({ request.csv ? tr("Channel List (*.csv)") : tr("Program Document (*.dat)"), tr("All Files (*)") });
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.csv ? QStringLiteral("csv") : QStringLiteral("dat"));
    dialog.setDirectory(request.folder);
    if (!open)
        dialog.selectFile(request.proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
