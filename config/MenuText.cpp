#include "config/MenuText.h"

#include <QRegularExpression>

namespace MenuText {

QString WithoutEllipsis(const QString& text)
{
    static const QRegularExpression ellipsis(QStringLiteral("\\s*(?:\\.{3,}|…+|。{3,})\\s*$"));
    QString title = text;
    title.remove(ellipsis);
    return title;
}

} // namespace MenuText
