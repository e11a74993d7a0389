#pragma once

#include <QString>

class CCliContext;
class CCloneTransfer;
class CServiceExchange;

// What program-cli read and write share: the port argument, a transfer with a progress bar and the
// messages of a transfer that did not finish.
namespace CliLink {

// The device to open for PORT: a COM name by Program.ini's [Ports] (else /dev/ttyUSB<n-1>), or a
// device path as it is.
QString DeviceFor(const CCliContext &context, const QString &port);

// Runs transfer on device, with a progress bar on stderr when that is a terminal and Ctrl+C taken as
// a stop between blocks. Prints the failure message (and the system's reason for a port that did not
// open) and returns false unless every block went through.
bool Run(CCliContext &context, CCloneTransfer &transfer, const QString &device);
// The same for a service read or write; on success prints its success message on stdout.
bool Run(CCliContext &context, CServiceExchange &exchange, const QString &device);

} // namespace CliLink
