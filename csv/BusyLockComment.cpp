#include "csv/BusyLockComment.h"

#include "radio/ChannelCodec.h"

#include <QRegularExpression>

namespace BusyLockComment {

QString Write(const QString &busyLockText)
{
    const char *value = ChannelCodec::kCarrier.Matches(busyLockText) ? "Carrier"
        : ChannelCodec::kQtDqt.Matches(busyLockText)                 ? "QT/DQT"
                                                                     : "Off";
    return QStringLiteral("busy=") + QLatin1String(value);
}

std::optional<QString> Read(const QString &comment)
{
    static const QRegularExpression token(QStringLiteral("(?:^|\\s)busy\\s*=\\s*(off|carrier|qt/dqt)(?=$|[\\s;,])"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = token.match(comment);
    if (!match.hasMatch())
        return std::nullopt;
    const QString value = match.captured(1).toLower();
    if (value == QLatin1String("carrier"))
        return QString::fromLatin1(ChannelCodec::kCarrier.english);
    if (value == QLatin1String("qt/dqt"))
        return QString::fromLatin1(ChannelCodec::kQtDqt.english);
    return QString::fromLatin1(ChannelCodec::kOff.english);
}

} // namespace BusyLockComment
