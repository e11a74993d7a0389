#pragma once

class CCliContext;
class CLogRecord;

// program-cli's side of the programming log.
namespace CliLog {

// Appends record to the log. A log that cannot be written is said once a run on stderr; the
// command's output and exit status stay as they are.
void Record(CCliContext& context, const CLogRecord& record);

} // namespace CliLog
