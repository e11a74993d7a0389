#pragma once

#include <QByteArray>
#include <QString>

// File names as the system stores them are bytes. Names in valid UTF-8 become the same text Qt makes of
// them; every byte that is not part of valid UTF-8 becomes a lone surrogate U+DC80..U+DCFF, so that
// ToBytes gives back exactly the bytes the name came as. Qt's own decoding turns such bytes into U+FFFD
// and the name could then never be found again.
namespace FileName {

QString FromBytes(const QByteArray &bytes);
QByteArray ToBytes(const QString &name);

// The name for messages: escaped bytes shown as "\xNN".
QString Display(const QString &name);

} // namespace FileName
