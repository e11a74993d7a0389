#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starts a program that lives on after this one ends (the restart after a language change); tests
// record the command instead.
class CProcessStarter {
public:
    using Hook = std::function<bool(const QString& program, const QStringList& arguments)>;

    static bool StartDetached(const QString& program, const QStringList& arguments = {});
    static void SetHook(Hook hook);

private:
    static Hook s_Hook;
};
