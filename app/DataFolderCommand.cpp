#include "app/DataFolderCommand.h"

#include "config/AppPaths.h"
#include "config/Language.h"
#include "config/UserDataNotes.h"
#include "widgets/MessageBox.h"
#include "widgets/UrlOpener.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace DataFolderCommand {

void Run(QWidget* parent)
{
    const QString folder = CAppPaths::UserDataDir();
    // A file where the folder should be is not a folder to show.
    const bool made = QDir().mkpath(folder) && QFileInfo(folder).isDir();
    if (!made || !CUrlOpener::Open(QUrl::fromLocalFile(folder)))
        CMessageBox::Show(parent, UserDataNotes::FolderNotOpened(folder, CLanguage::IsChinese()));
}

} // namespace DataFolderCommand
