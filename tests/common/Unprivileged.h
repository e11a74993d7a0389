#pragma once

#include <QString>
#include <QStringList>

#include <cerrno>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Root writes into any folder and opens any device: tests of what an ordinary user may not do run their
// body as the nobody user then (in a child process, without root's groups). Where no other user can
// be become, the caller skips with a visible reason; a permission test never passes just because it
// ran as root.
namespace TestFiles {

inline bool IsRoot()
{
    return ::geteuid() == 0;
}

// groups: the supplementary groups to keep, as a user in them would have (none by default).
inline bool BecomeNobody(const std::vector<gid_t>& groups = {})
{
    return ::setgroups(groups.size(), groups.data()) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0
        && ::geteuid() != 0;
}

// The body's result is the child's exit status; 99: cannot switch.
inline int RunUnprivileged(const std::function<int()>& body)
{
    if (!IsRoot())
        return body();
    const pid_t child = ::fork();
    if (child == 0) {
        if (!BecomeNobody())
            ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// The same for a body that tells what it saw: its lines come back to be compared in the test itself.
// Empty when no other user can be become.
inline std::optional<QStringList> SeenUnprivileged(
    const std::function<QStringList()>& body, const std::vector<gid_t>& groups = {})
{
    if (!IsRoot())
        return body();
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringList { QStringLiteral("no pipe") };
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (!BecomeNobody(groups))
            ::_exit(99);
        const QByteArray text = body().join(QLatin1Char('\n')).toUtf8();
        for (qsizetype sent = 0; sent < text.size();) {
            const ssize_t n = ::write(channel[1], text.constData() + sent, size_t(text.size() - sent));
            if (n <= 0)
                ::_exit(97);
            sent += n;
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            text.append(buffer, n);
        else if (errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 99)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringList { QStringLiteral("the unprivileged child ended with status %1").arg(status) };
    return QString::fromUtf8(text).split(QLatin1Char('\n'));
}

} // namespace TestFiles
