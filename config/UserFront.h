#pragma once

#include "config/Language.h"

// Where the user works in this process: the program's windows, or program-cli on a command line. A
// message that tells the user where to go next names the way of that front (a menu in the window, a
// command or an option on the command line), so nobody is sent to a menu they do not have.
namespace UserFront {

enum class Kind { Window, CommandLine };

// Window until program-cli says otherwise. Safe from any thread.
Kind Current();
void Set(Kind kind);

// window's text in the window, commandLine's on the command line.
const CBilingual &Pick(const CBilingual &window, const CBilingual &commandLine);

} // namespace UserFront
