#include "config/ShellWord.h"

#include <QRegularExpression>

namespace ShellWord {

// In double quotes, or in single quotes where even double quotes would let the shell expand a $ or a `.
QString Quoted(const QString &word)
{
    static const QRegularExpression plainWord(QStringLiteral("^[A-Za-z0-9_./+,:@%=\\x{80}-\\x{10FFFF}-]+$"));
    static const QRegularExpression expandedInQuotes(QStringLiteral("[$`\\\\\"!]"));
    QString quoted = word;
    if (quoted.contains(expandedInQuotes))
        return QLatin1Char('\'') + quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
    if (!plainWord.match(quoted).hasMatch())
        return QLatin1Char('"') + quoted + QLatin1Char('"');
    return quoted;
}

} // namespace ShellWord
