#include "cli/CliContext.h"

#include "config/Language.h"

namespace {
const QString kSetup = QStringLiteral("Setup");
}

CCliContext::CCliContext(QTextStream &out, QTextStream &err)
    : m_Out(out)
    , m_Err(err)
{
    // Read-only use: the tool never writes the configuration.
    m_Ini.OpenBesideExe(QStringLiteral("Program.ini"), false, true, false);
    CLanguage::SetName(m_Ini.GetValue(kSetup, QStringLiteral("Language")));
    m_bChinese = CLanguage::IsChinese();
}

int CCliContext::Fail(const QString &line)
{
    m_Err << line << Qt::endl;
    return kFailed;
}

int CCliContext::UsageError(const QString &message)
{
    if (!message.isEmpty())
        m_Err << "program-cli: " << message << Qt::endl;
    m_Err << CliUsage() << Qt::flush;
    return kUsage;
}

bool CCliContext::TakeLanguage(const QString &value)
{
    const QString lang = value.toLower();
    if (lang != QLatin1String("english") && lang != QLatin1String("chinese"))
        return false;
    SetChinese(lang == QLatin1String("chinese"));
    return true;
}
