#pragma once

#include "config/Language.h"
#include "image/RadioImage.h"

#include <QStringList>
#include <span>

// The radio-wide options: one list each, whose selection index maps to one image byte (two bits for
// the side key). Shared by the options dialog, the printed report and the command-line tool.
namespace OptionalFeatures {

enum class Rule {
    Index,        // byte = index
    IndexPlusOne, // byte = index + 1
    OnOff,        // items "On", "Off": byte 1 shows "On", 0 shows "Off"; stored 1 for "On"
    NonZeroOn,    // items "On", "Off": any non-zero byte shows "On"; stored 1 for "On"
    SideKey,      // bits 4-5 of the byte; the other six bits stay
};

struct Option
{
    CBilingual label;
    int controlId;
    int offset;
    Rule rule;
};

// The ten options in dialog order.
std::span<const Option> All();

QStringList Items(const Option &option, bool chinese);
// The list index the image byte selects, or -1 when the byte lies outside the list.
int SelectionFromImage(const Option &option, const CRadioImage &image);
// Stores a selection index; -1 (no selection) keeps the byte as it was.
void StoreSelection(const Option &option, CRadioImage &image, int index);
// The item text the image selects, or "" when the byte lies outside the list.
QString ValueText(const Option &option, const CRadioImage &image, bool chinese);

// The list index of an item text in either language (case ignored), or -1 when it is no item.
int IndexOfText(const Option &option, const QString &text);
// The ten options as "Label: Value" lines in dialog order. A byte outside its list is written with
// outsideList, whose %1 takes the byte's two hex digits.
QStringList Lines(const CRadioImage &image, bool chinese, const QString &outsideList);

} // namespace OptionalFeatures
