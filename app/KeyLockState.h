#pragma once

// The lock keys as the keyboard has them now, for the status bar's CAP, NUM and SCRL panes.
// Known() is false where the platform does not tell (the panes then stay dim).
namespace KeyLockState {

struct State
{
    bool known = false;
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

State Current();

} // namespace KeyLockState
