#include "config/Language.h"

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
    return text == QLatin1String(english) || text == QString::fromUtf8(chinese);
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
