#include "config/SafeFile.h"

#include "config/SafeFileSteps.h"

#include "config/FileName.h"
#include "config/Language.h"

namespace SafeFile {

namespace {

constexpr CBilingual kSafeFileLinkBroken {
    "%1 was saved as a file of its own: its %2 other name(s) (hard links) still hold the earlier content",
    "%1 已保存为独立的文件: 它的另外 %2 个名称 (硬链接) 仍是原先的内容"
};

std::function<void(const QString &)> g_SafeFileNotice;

// The failure a test asked for, taken by the next write that reaches that step.
Step g_FailStep = Step::None;
int g_FailError = 0;

} // namespace

bool Injected(Step step, int &error)
{
    if (g_FailStep != step)
        return false;
    g_FailStep = Step::None;
    error = g_FailError;
    return true;
}

void LinkBroken(const QString &target, qint64 otherNames)
{
    if (g_SafeFileNotice)
        g_SafeFileNotice(kSafeFileLinkBroken.Text().arg(FileName::Display(target)).arg(otherNames));
}

void SetNotice(std::function<void(const QString &)> notice)
{
    g_SafeFileNotice = std::move(notice);
}

void FailNextWrite(Step step, int error)
{
    g_FailStep = step;
    g_FailError = error;
}

QByteArray TemporaryPrefix(const QByteArray &fileName)
{
    // Cut so that the temporary name still fits where the file's own name just fits.
    return '.' + fileName.left(200) + ".saving-";
}

} // namespace SafeFile
