#include "app/KeyLockState.h"

#include <windows.h>

namespace KeyLockState {

State Current()
{
    // The low bit of a toggle key's state: on.
    State state;
    state.known = true;
    state.caps = GetKeyState(VK_CAPITAL) & 1;
    state.num = GetKeyState(VK_NUMLOCK) & 1;
    state.scroll = GetKeyState(VK_SCROLL) & 1;
    return state;
}

} // namespace KeyLockState
