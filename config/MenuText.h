#pragma once

#include <QString>

// Menu item texts reused elsewhere.
namespace MenuText {

// A menu text used as a window title: without the trailing "..." (or "…") that in a menu says a
// dialog follows.
QString WithoutEllipsis(const QString& text);

} // namespace MenuText
