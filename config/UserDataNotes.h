#pragma once

#include <QString>

// What the window says about the files it keeps for the user: where the serial traces go, and why
// the data folder could not be shown. Folders are shown as the system writes them.
namespace UserDataNotes {

// Setup > Log Serial Traffic's status prompt: what ticking it does and the folder the files go to.
QString TracePrompt(const QString& folder, bool chinese);
// The status bar once the entry was ticked (on) or unticked.
QString TraceSwitched(bool on, const QString& folder, bool chinese);
// Help > Open Data Folder when the folder cannot be made or no file manager takes it.
QString FolderNotOpened(const QString& folder, bool chinese);

} // namespace UserDataNotes
