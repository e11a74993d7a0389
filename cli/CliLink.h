#pragma once

#include "config/StopRequest.h"

#include <QString>

class CCliContext;
class CCloneTransfer;
class CServiceExchange;

// What program-cli read and write share: the port argument, a transfer with a progress bar and the
// messages of a transfer that did not finish.
namespace CliLink {

// Held by every command that talks to a radio, from before its first port opens until its log records
// and files are written: Ctrl+C, SIGTERM (a shutdown, `timeout`) and SIGHUP (a closed terminal, a
// dropped ssh session) then stop the transfers between blocks, so the port is closed, the user told
// what the radio holds and the log written. One guard a command: a guard made later would forget a
// stop that came before it.
using CStopGuard = CStopRequest;

// The commands that talk to a radio; program-cli keeps them alive through a write to a terminal or
// pipe that went away with a hang-up (see CBrokenPipeGuard), to the last flush at exit.
bool TalksToRadio(const QString &command);

// True once a stop was asked for while the command's guard lives.
bool StopRequested();
// For a stop that came from outside the terminal (SIGTERM, SIGHUP): a line on stderr naming it.
void NoteStopSignal(CCliContext &context);

// Every "--port PORT" of args names a port a user could mean (COM1..COM16 or a device path); else
// says so as a usage error and returns its status. -1 when they all do.
int CheckPorts(CCliContext &context, const QStringList &args);

// The device to open for PORT: a COM name by Program.ini's [Ports] (else /dev/ttyUSB<n-1>), or a
// device path as it is.
QString DeviceFor(const CCliContext &context, const QString &port);

// Runs transfer on device, with a progress bar on stderr when that is a terminal and a stop request
// (see CStopGuard, which the caller holds) taken between blocks; a stop asked for before the port
// opened sends nothing. Prints the failure message (and the system's reason for a port that did not
// open) and returns false unless every block went through.
bool Run(CCliContext &context, CCloneTransfer &transfer, const QString &device);
// The same for a service read or write; on success prints its success message on stdout.
bool Run(CCliContext &context, CServiceExchange &exchange, const QString &device);

} // namespace CliLink
