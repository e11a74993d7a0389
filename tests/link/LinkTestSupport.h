#pragma once

#include "emulator/VirtualRadio.h"
#include "link/ClonePlan.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>

#include <memory>
#include <vector>

class CRadioImage;

// What the link tests share: a virtual radio on its own thread, the bytes the tool must put on the
// wire written out independently of the tool's own constants, and a second process holding a port.
namespace LinkTest {

// A running virtual radio with its factory memory and the given faults ("wakeup-nak:1", ...), paced
// like a real line at baud when given.
std::unique_ptr<CVirtualRadio> StartRadio(const QStringList &faults = {}, int baud = 0);
QString Device(const CVirtualRadio &radio);
// Waits until the radio has taken in `expected.size()` bytes, then returns all it received.
QByteArray ReceivedAfter(const CVirtualRadio &radio, const QByteArray &expected);

QByteArray WakeUp(); // 02 50 52 4F 47 52 41 4E
QByteArray LinkOpening(int wakeUps); // wake-ups, mode 02, confirm 06
QByteArray ReadFrame(const CCloneBlock &block); // 52 AH AL LEN
QByteArray WriteFrame(const CCloneBlock &block, const RadioMemory::Bytes &memory);
// Every byte of a complete read or write of blocks, link opening included.
QByteArray ReadSession(const std::vector<CCloneBlock> &blocks);
QByteArray WriteSession(const std::vector<CCloneBlock> &blocks, const RadioMemory::Bytes &memory);

RadioMemory::Bytes BytesOf(const CRadioImage &image);
// A memory pattern unlike the radio's factory memory and unlike a new image.
RadioMemory::Bytes Pattern(int seed);

// What each transfer covers, as [from, to) pairs: a read [0, 0x3FB), an ordinary write [0, 0x300)
// and [0x320, 0x3E0), a write with service access [0, 0x3FB).
const QList<int> kReadRanges { 0, 0x3FB }, kWriteRanges { 0, 0x300, 0x320, 0x3E0 }, kServiceRanges { 0, 0x3FB };
// base with over's bytes in each range.
RadioMemory::Bytes Overlay(const RadioMemory::Bytes &base, const RadioMemory::Bytes &over, const QList<int> &ranges);
// The radio's memory after a write of source over base.
RadioMemory::Bytes Written(const RadioMemory::Bytes &base, const RadioMemory::Bytes &source, bool service = false);
// The 16-byte blocks, in order, that cover ranges starting on 16-byte boundaries.
std::vector<CCloneBlock> BlocksOf(const QList<int> &ranges);

// Another process that opens device with the tool's own port class and keeps it open.
class CPortHolder {
public:
    explicit CPortHolder(const QString &device);
    ~CPortHolder();
    bool Holds() const { return m_bHeld; }

private:
    QProcess m_Process;
    bool m_bHeld = false;
};

// Saves memory as a data file "source.dat" in folder; the path.
QString SaveSourceFile(const QString &folder, const RadioMemory::Bytes &bytes);

} // namespace LinkTest
