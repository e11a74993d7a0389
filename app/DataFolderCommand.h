#pragma once

class QWidget;

// Help > Open Data Folder: the folder this user's backups, serial traces and programming log live in,
// shown in the file manager; made first when nothing was kept in it yet.
namespace DataFolderCommand {

void Run(QWidget* parent);

} // namespace DataFolderCommand
