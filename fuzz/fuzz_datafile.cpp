// Data files from anywhere: the loader must refuse or take them without harm, and whatever it takes
// must survive the grid's decode and encode. After one pass through the grid an image is settled:
// showing it again gives the same texts, and storing those gives the same bytes.
#include "fuzz/FuzzOptions.h"
#include "radio/ChannelGrid.h"
#include "image/DataFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void settles(const CRadioImage& image, bool chinese, const QString& typed)
{
    CChannelGrid grid(chinese);
    grid.LoadImage(image);
    CRadioImage stored = image;
    grid.StoreGrid(stored);

    CChannelGrid shown(chinese);
    shown.LoadImage(stored);
    for (int row = 1; row < CChannelGrid::kRows; ++row)
        for (int col = 1; col < CChannelGrid::kCols; ++col)
            check(shown.Text(row, col) == grid.Text(row, col));
    CRadioImage again = stored;
    shown.StoreGrid(again);
    check(again == stored);

    // Bytes after the image act as text typed into every column of one channel.
    grid.SetBandLimits(ProductCatalog::LimitsFromBandText(typed));
    const int channel = 1 + typed.size() % ImageMap::kChannelCount;
    for (int col = 1; col < CChannelGrid::kCols; ++col)
        grid.Commit(
            channel, col, typed, col % 2 ? CChannelGrid::Trigger::Enter : CChannelGrid::Trigger::LeaveCell);
    grid.StoreGrid(stored);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    CRadioImage image;
    const CRadioImage untouched = image;
    if (!DataFile::Parse(bytes, image).ok()) {
        check(image == untouched);
        return 0;
    }
    check(DataFile::Serialize(image).mid(DataFile::kHeaderSize)
        == bytes.mid(DataFile::kHeaderSize, ImageMap::kImageSize));
    // One language per input, picked by its length: both are reached, each at half the cost.
    const QString typed = QString::fromUtf8(bytes.mid(DataFile::kFileSize));
    settles(image, size % 2 != 0, typed);
    return 0;
}
