#pragma once

#include <QUrl>

#include <functional>

// Hands a folder or a file to the desktop (the file manager for a folder); tests record the address
// instead of opening anything.
class CUrlOpener {
public:
    using Hook = std::function<bool(const QUrl& url)>;

    // False when nothing on the desktop took the address.
    static bool Open(const QUrl& url);
    static void SetHook(Hook hook);

private:
    static Hook s_Hook;
};
