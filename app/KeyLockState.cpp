#include "app/KeyLockState.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// The lock keys where the program runs on X11 (KeyLockStateWin.cpp on Windows).
#if defined(PROGRAM_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace KeyLockState {

State Current()
{
    State state;
#if defined(PROGRAM_HAVE_X11)
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
