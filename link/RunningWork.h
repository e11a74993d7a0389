#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

// What in this program is talking to a radio right now: a Read or Write of a channel window (and the
// read-back of its verify), a Batch Write or its repeat loop, a service dialog's read or write. The
// window asks about them before it closes, and ends each one the way its own Cancel or Stop does:
// between blocks, with the warning and the programming log record that Cancel gives. User-interface
// thread only.
class CRunningWork : public QObject {
    Q_OBJECT

public:
    enum class Kind { Read, Write, Verify, BatchWrite, RepeatWrite, ServiceRead, ServiceWrite };
    struct Entry {
        int id = 0;
        Kind kind = Kind::Read;
        QStringList ports; // as the user knows them
        std::function<void()> stop; // asks the work to end between blocks; it ends on its own later
    };

    // Listed for as long as it lives.
    class Guard {
    public:
        Guard(Kind kind, const QStringList& ports, std::function<void()> stop);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        void SetKind(Kind kind);

    private:
        int m_nId;
    };

    static CRunningWork& Instance();
    static int Add(Kind kind, const QStringList& ports, std::function<void()> stop);
    static void Remove(int id);
    static void SetKind(int id, Kind kind);
    static bool IsIdle();
    static QList<Entry> Entries();
    // Every running work is asked to stop; Idle follows once the last one has ended.
    static void StopAll();

    // The question before the window closes over running work: each one with its port(s) and what
    // stopping it leaves behind. Yes stops and closes, No (the default) keeps it running.
    static QString CloseQuestion(const QList<Entry>& entries, bool chinese);
    // What the window writes on its error output when a stop signal ends the running work.
    static QString SignalNote(const QString& signal, const QList<Entry>& entries, bool chinese);

signals:
    // The last running work has ended (its warning shown and its log record written).
    void Idle();

private:
    CRunningWork() = default;
    QList<Entry> m_Entries;
    int m_nNextId = 1;
};
