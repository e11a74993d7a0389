#pragma once

class CCloneTransfer;
class CProgramView;

// Program > Compare with Radio, once the radio's channels have come in: shows what differs from the
// document and, when the user asks, goes on to the write.
namespace RadioCompare {

// transfer: a finished channel read. The document is not changed.
void ShowDifferences(CProgramView& view, const CCloneTransfer& transfer);

} // namespace RadioCompare
