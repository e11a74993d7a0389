// What the channel file tests share: the band, the two header lines, images made through the grid
// and program-cli run in-process.
#pragma once

#include "config/AppPaths.h"
#include "csv/ChannelCsv.h"
#include "csv/CsvText.h"
#include "csv/ImageDiff.h"
#include "radio/ChannelGrid.h"
#include "radio/ToneTable.h"
#include "image/DataFile.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace ChannelCodec;

namespace CsvTest {

constexpr BandLimits kLimits { 13000000, 17500000 };
const QByteArray kNewer = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                          "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";
const QByteArray kOlder = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                          "Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

CRadioImage freshImage()
{
    CRadioImage image;
    image.ApplyDefaults();
    return image;
}

// Puts record (up to 16 bytes) into the channel's place.
void setRecord(CRadioImage &image, int channel, const QByteArray &record)
{
    image.CopyIn(ImageMap::channelOffset(channel),
        std::span(reinterpret_cast<const std::uint8_t *>(record.data()), std::size_t(record.size())));
}

QString rowText(const CRadioImage &image, int channel)
{
    const RowTexts t = DecodeChannel(image, channel, false);
    return QStringList(t.begin(), t.end()).join(QLatin1Char('|'));
}

// Channels as the grid makes them: a receive frequency typed, then every other field chosen.
CRadioImage gridImage(const std::vector<RowTexts> &rows)
{
    CRadioImage image = freshImage();
    CChannelGrid grid(false);
    grid.SetBandLimits(kLimits);
    grid.LoadImage(image);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int channel = static_cast<int>(i) + 1;
        if (rows[i][0].isEmpty())
            continue;
        for (int col = 1; col < CChannelGrid::kCols; ++col)
            grid.Commit(channel, col, rows[i][col - 1], CChannelGrid::Trigger::Enter);
    }
    grid.StoreGrid(image);
    return image;
}

using CliRun::Run;
inline Run runCli(const QStringList &args) { return CliRun::run(args); }

} // namespace CsvTest
