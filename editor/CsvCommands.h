#pragma once

class CProgramView;

// File > Import CSV... and Export CSV... for the document a channel view shows.
namespace CsvCommands {

// Asks for a file and places its rows into the channels. Rows that cannot be placed are listed first;
// nothing changes unless every row fits or the user imports the rest.
void Import(CProgramView& view);
// Asks for a file name and writes the programmed channels as the grid holds them now.
void Export(CProgramView& view);

} // namespace CsvCommands
