// What the channel editor tests share: channel records read and written as hex, and a band.
#pragma once

#include "config/IniFile.h"
#include "config/UserSettings.h"
#include "radio/ChannelGrid.h"
#include "radio/DecimalMultiply.h"
#include "radio/ToneTable.h"
#include "tests/common/TestFiles.h"
#include "tests/radio/StandardTones.h"

#include <QPoint>
#include <QTest>

using namespace ChannelCodec;
using TestFiles::Hex;

namespace EditorTest {

// Channel n's record as hex, and written from hex (as many bytes as given).
QByteArray recordHex(const CRadioImage& image, int channel)
{
    return QByteArray(reinterpret_cast<const char*>(image.ChannelRecord(channel).data()), 16)
        .toHex(' ')
        .toUpper();
}

void setRecord(CRadioImage& image, int channel, const char* hex)
{
    const QByteArray bytes = Hex(hex);
    image.CopyIn(channel * 16,
        { reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()) });
}

QString joined(const RowTexts& texts)
{
    return QStringList(texts.begin(), texts.end()).join('|');
}

constexpr BandLimits kBand130to160 { 13000000, 16100000 };

} // namespace EditorTest
