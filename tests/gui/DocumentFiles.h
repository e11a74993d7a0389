#pragma once

#include "GuiFixture.h"

#include "image/DataFile.h"
#include "image/ProgramDoc.h"
#include "radio/ChannelCodec.h"

#include <QTest>

// What the document tests open and edit.
namespace DocumentFiles {

// A data file whose channel 1 is 146.5 MHz, type 1 and band 1, with a header tail that is not zero.
inline QByteArray GoodFile()
{
    CRadioImage image;
    image.ApplyDefaults();
    ChannelCodec::EncodeChannel(image, 1, { "146.5", "146.5", "None", "None", "Wide", "Yes", "Off", "High" });
    image.SetByte(ImageMap::kProductType, 1);
    image.SetByte(ImageMap::kFrequencyBand, 1);
    QByteArray bytes = DataFile::Serialize(image);
    bytes.replace(4, 12, QByteArray(12, '\xAA'));
    return bytes;
}

// Channel 4 typed to 150 MHz, so the document has an unsaved edit.
inline void Edit(CGuiFixture& f)
{
    f.ClickCell(4, 1);
    f.Type("150");
    f.PressEnter();
    QVERIFY(f.Doc()->IsModified());
}

} // namespace DocumentFiles
