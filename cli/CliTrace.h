#pragma once

#include <QStringList>

class CCliContext;

// --trace FILE on any command that talks to the radio: every byte on every port goes into FILE for
// as long as the object lives.
class CCliTrace {
public:
    CCliTrace() = default;
    ~CCliTrace();
    CCliTrace(const CCliTrace &) = delete;
    CCliTrace &operator=(const CCliTrace &) = delete;

    // Takes "--trace FILE" out of args and starts the trace. Returns the exit status to end with when
    // it cannot (usage or an unwritable file), else -1.
    int Take(CCliContext &context, QStringList &args);
    // After the command: says on stderr which trace could not be written whole, and why. The
    // command's own exit status stays what it was.
    void Finish(CCliContext &context);

private:
    bool m_bActive = false;
};
