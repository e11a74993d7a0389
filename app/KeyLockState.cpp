#include "app/KeyLockState.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(PROGRAM_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace KeyLockState {

State Current()
{
    State state;
#if defined(Q_OS_WIN)
    state.known = true;
    state.caps = GetKeyState(VK_CAPITAL) & 1;
    state.num = GetKeyState(VK_NUMLOCK) & 1;
    state.scroll = GetKeyState(VK_SCROLL) & 1;
#elif defined(PROGRAM_HAVE_X11)
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        unsigned int indicators = 0;
        if (Display *display = x11->display(); display && XkbGetIndicatorState(display, XkbUseCoreKbd, &indicators) == Success) {
            // The core keyboard's usual indicator order: Caps Lock, Num Lock, Scroll Lock.
            state.known = true;
            state.caps = indicators & 0x1;
            state.num = indicators & 0x2;
            state.scroll = indicators & 0x4;
        }
    }
#endif
    return state;
}

} // namespace KeyLockState
