#pragma once

#include "link/ServiceExchange.h"

#include <functional>

class CRadioImage;
class QWidget;

// Runs a service read or write for a dialog on the user-interface thread: a busy cursor while it
// runs, the windows repainted after the link opens and after every block (user input waits), then one
// message box with how it ended.
namespace ServiceDriver {

// Reads area into a scratch copy of image; image takes the area over only when every block came in.
// True then.
bool Read(QWidget* parent, CServiceExchange::Area area, CRadioImage& image, const QString& device);
// Writes area of image; true when every block was acknowledged.
bool Write(QWidget* parent, CServiceExchange::Area area, const CRadioImage& image, const QString& device);

// The port the user picked (COM3), named with its device in every message; empty: the device alone.
void SetPortName(const QString& name);

// Hears of every exchange as it ends, after its message (the programming log); empty: nobody.
using Recorder = std::function<void(QWidget* parent, const CServiceExchange& exchange)>;
void SetRecorder(Recorder recorder);

} // namespace ServiceDriver
