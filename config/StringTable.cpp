#include "config/StringTable.h"

#include <QCoreApplication>

namespace StringTable {

QString Message(Id id)
{
    const char *text = "";
    switch (id) {
    case kOutOfRange: text = QT_TRANSLATE_NOOP("StringTable", "Out of range,please input again."); break;
    case kDataFormat: text = QT_TRANSLATE_NOOP("StringTable", "Error Data Format, please input again."); break;
    case kAllDataCleared: text = QT_TRANSLATE_NOOP("StringTable", "All data will be Cleared!"); break;
    case kPortOpenFailed:
        text = QT_TRANSLATE_NOOP("StringTable",
                                 "Could not Open the Port,Please check whether the Port are occupied or the device are ok");
        break;
    case kOffStep:
        text = QT_TRANSLATE_NOOP("StringTable", "Error data Value, please input according the step value(6.25K/5k).");
        break;
    case kCaution: text = QT_TRANSLATE_NOOP("StringTable", "Caution"); break;
    }
    return QCoreApplication::translate("StringTable", text);
}

} // namespace StringTable
