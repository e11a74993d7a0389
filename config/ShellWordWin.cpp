#include "config/ShellWord.h"

#include <QRegularExpression>

namespace ShellWord {

// cmd.exe splits at blanks and acts on & | < > ^ ( ); in double quotes it takes them as they are. A
// Windows file name holds no double quote, and backslashes are plain characters there.
QString Quoted(const QString &word)
{
    static const QRegularExpression plainWord(QStringLiteral("^[A-Za-z0-9_.\\\\/:+,@=\\x{80}-\\x{10FFFF}-]+$"));
    if (plainWord.match(word).hasMatch())
        return word;
    return QLatin1Char('"') + word + QLatin1Char('"');
}

} // namespace ShellWord
