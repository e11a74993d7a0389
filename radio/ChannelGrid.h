#pragma once

#include "radio/ProductCatalog.h"
#include "radio/ChannelCodec.h"
#include "image/RadioImage.h"

#include <QString>
#include <array>
#include <optional>
#include <utility>
#include <vector>

// The working copy of the 16 channels as the grid shows them: a 17 × 9 matrix of texts (row 0 the
// headers, column 0 the channel numbers) with the rules every edit follows. The grid widget only shows
// this matrix and forwards what the user does.
class CChannelGrid
{
public:
    static constexpr int kRows = 17;
    static constexpr int kCols = 9;

    // How the cell being left was confirmed: by moving to another cell, or with Enter.
    enum class Trigger { LeaveCell, Enter };
    // What a commit ends with; anything but Accepted comes with a message. BadTone: a tone cell given
    // a text that names no item of the tone list.
    enum class Outcome { Accepted, OutOfRange, OffStep, BadFormat, BadTone };

    explicit CChannelGrid(bool chinese);

    bool IsChinese() const { return m_bChinese; }
    const QString &Text(int row, int col) const;
    void SetText(int row, int col, const QString &text);
    ChannelCodec::RowTexts RowTexts(int channel) const;

    static QString HeaderText(int col, bool chinese);
    static QString RowLabel(int row); // "%2d"

    void SetBandLimits(BandLimits limits) { m_Limits = limits; }
    BandLimits Limits() const { return m_Limits; }

    // Rows 1..16 from the image's channel records.
    void LoadImage(const CRadioImage &image);
    // Writes rows 1..16 into the channel records and marks the image with 'P' at 0x1B8. Only the
    // fields whose text differs from the image's own decoding are written; the rest keep their bytes.
    void StoreGrid(CRadioImage &image) const;

    // Commits editorText, the text of the editor open over cell (row, col), by the grid's rules:
    // frequency checks against the band limits, a new channel getting its defaults, the transmit
    // frequency following the receive one, an empty receive frequency deleting the channel, a refused
    // receive frequency keeping the row, a refused transmit frequency leaving the cell as it was, a tone
    // cell taking only a text that names an item of the tone list (stored as that item).
    Outcome Commit(int row, int col, const QString &editorText, Trigger trigger);

    // The cells Enter passes through from (row, col): the next column, or column 1 and then the next
    // row, wrapping from row 16 column 8 to row 1 column 1. Each step is one change of the current cell.
    static std::vector<std::pair<int, int>> EnterMoves(int row, int col);
    // The cell Shift+Tab goes back to in one step: the previous column, or column 8 of the previous
    // row, wrapping from row 1 column 1 to row 16 column 8.
    static std::pair<int, int> BackMove(int row, int col);

    // Maps a message-bearing outcome to its string-table text; empty for Accepted.
    static QString Message(Outcome outcome);
    // As Message, with a second line where it helps: under "Out of range" the channel, the typed
    // value and the band (bandText as the band list names it) with what it takes; under the step
    // message the nearest valid frequencies; under a refused tone what a tone cell takes.
    QString MessageFor(Outcome outcome, int channel, const QString &typed, const QString &bandText) const;
    // Whether text starts as a number does (blanks, a sign, then a digit or a decimal point or comma
    // before a digit, or "inf" or "nan"); anything else is no frequency at all.
    static bool StartsAsNumber(const QString &text);

private:
    void ClearRow(int row);
    void FillNewChannelDefaults(int row);

    bool m_bChinese;
    BandLimits m_Limits { 0, 100000 };
    std::array<std::array<QString, kCols>, kRows> m_Text;
};
