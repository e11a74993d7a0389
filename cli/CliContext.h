#pragma once

#include "config/IniFile.h"

#include <QStringList>
#include <QTextStream>

#include <utility>

// What every sub-command of program-cli works with: the configuration beside the executable, the
// language it names and the two output streams.
class CCliContext
{
public:
    enum ExitCode { kDone = 0, kFailed = 1, kUsage = 2 };

    CCliContext(QTextStream &out, QTextStream &err);

    QTextStream &Out() { return m_Out; }
    QTextStream &Err() { return m_Err; }
    const CIniFile &Ini() const { return m_Ini; }
    bool IsChinese() const { return m_bChinese; }
    void SetChinese(bool chinese) { m_bChinese = chinese; }
    // The value of "--lang": "english" or "chinese" in any case sets the language; false for others.
    bool TakeLanguage(const QString &value);

    // True the first time only: a log that cannot be written is said once a run, not once a radio.
    bool FirstLogFailure() { return !std::exchange(m_bLogFailed, true); }

    // Prints one line on stderr and returns kFailed.
    int Fail(const QString &line);
    // True, after saying so on stderr, when output leads to the file input (by its name, a symlink or
    // a hard link): no command replaces its own input.
    bool OutputIsInput(const QString &output, const QString &input);
    // True, after saying so on stderr, when output is one of the programming log's files: no command
    // writes over the record of every transfer.
    bool OutputIsLog(const QString &output);
    // Prints the message and where the usage is on stderr and returns kUsage.
    int UsageError(const QString &message);

    // -q: the line that says what a command did is left out; failures are still said.
    void SetQuiet(bool quiet) { m_bQuiet = quiet; }
    bool IsQuiet() const { return m_bQuiet; }
    // The one line that says what a command did, unless quiet: on stdout, or on stderr when stdout
    // carries the command's data (a script reads it).
    void Summary(const QString &line, bool stdoutCarriesData = false);

private:
    QTextStream &m_Out;
    QTextStream &m_Err;
    CIniFile m_Ini;
    bool m_bChinese = false;
    bool m_bLogFailed = false;
    bool m_bQuiet = false;
};

// Runs program-cli with its arguments (the program name left out); returns the exit status.
int RunCli(const QStringList &args, QTextStream &out, QTextStream &err);
QString CliUsage();
