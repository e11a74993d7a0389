#pragma once

#include "radio/ProductCatalog.h"

#include <optional>

class CIniFile;
class CProgramDoc;
class CRadioImage;
class QWidget;

// What the window asks once before every Write and Batch Write: whether to send channels that lie
// outside the band, and in service mode whether the radio's power and alignment tables are replaced
// with the document's (Enter keeps the radio's: channels and options only).
namespace WriteQuestions {

// image: what the write would send; limits: the band it is checked against. Nothing when the user
// stopped the write; else whether the write also sends the power and alignment tables.
std::optional<bool> Ask(QWidget* parent, const CIniFile& ini, const CProgramDoc& document,
    const CRadioImage& image, BandLimits limits);

} // namespace WriteQuestions
