#include "cli/CliContext.h"

#include "config/FileKind.h"
#include "config/FileName.h"
#include "config/Language.h"
#include "link/ProgramLog.h"

#include <QFileInfo>

namespace {
const QString kSetup = QStringLiteral("Setup");
constexpr CBilingual kOutputIsInput { "%1 would replace the input file %2; nothing was written",
                                      "%1 会覆盖输入文件 %2; 未写入任何内容" };
constexpr CBilingual kOutputIsLog { "%1 is a file of the programming log; nothing was written",
                                    "%1 是编程日志的文件; 未写入任何内容" };
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

bool CCliContext::OutputIsInput(const QString &output, const QString &input)
{
    if (!FileKind::SameFile(output, input) && QFileInfo(output).absoluteFilePath() != QFileInfo(input).absoluteFilePath())
        return false;
    Fail(kOutputIsInput.Text(m_bChinese).arg(FileName::Display(output), FileName::Display(input)));
    return true;
}

bool CCliContext::OutputIsLog(const QString &output)
{
    if (!CProgramLog().Owns(output))
        return false;
    Fail(kOutputIsLog.Text(m_bChinese).arg(FileName::Display(output)));
    return true;
}

int CCliContext::UsageError(const QString &message)
{
    // The one line that helps, not the whole usage above it.
    m_Err << "program-cli: " << message << '\n' << "see program-cli --help" << Qt::endl;
    return kUsage;
}

void CCliContext::Summary(const QString &line, bool stdoutCarriesData)
{
    if (!m_bQuiet)
        (stdoutCarriesData ? m_Err : m_Out) << line << Qt::endl;
}

bool CCliContext::TakeLanguage(const QString &value)
{
    const QString lang = value.toLower();
    if (lang != QLatin1String("english") && lang != QLatin1String("chinese"))
        return false;
    SetChinese(lang == QLatin1String("chinese"));
    return true;
}
