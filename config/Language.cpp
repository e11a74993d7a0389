#include "config/Language.h"

#include <QAnyStringView>

QString CLanguage::s_Name;

QString CBilingual::Text(bool chinese) const
{
    return chinese ? QString::fromUtf8(this->chinese) : QString::fromLatin1(english);
}

QString CBilingual::Text() const
{
    return Text(CLanguage::IsChinese());
}

bool CBilingual::Matches(const QString &text) const
{
    // Compared in place: the grid asks this for every cell it stores.
    return text == QLatin1String(english) || QAnyStringView::compare(text, QUtf8StringView(chinese)) == 0;
}

bool CLanguage::IsChinese()
{
    return s_Name == QLatin1String("Chinese");
}

void CLanguage::SetName(const QString &languageName)
{
    s_Name = languageName;
}

QString CLanguage::Name()
{
    return s_Name;
}
