// The tool side of the clone protocol against a radio that answers anything: the link opening and
// every block exchange of a read and a write must neither crash nor write outside the block they
// were asked for, whatever bytes, short answers or silences come back.
#include "fuzz/FuzzOptions.h"
#include "image/RadioImage.h"
#include "link/ClonePlan.h"
#include "link/CloneProtocol.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Serves each read from the fuzz input: one control byte says how many of the wanted bytes arrive.
class CScriptedPort : public CSerialPort
{
public:
    CScriptedPort(const std::uint8_t *data, std::size_t size)
        : m_Data(data)
        , m_Size(size)
    {
    }

    void Purge() override { }
    void Pause(int) override { }
    int Write(const std::uint8_t *, int n) override { return n; }

    ReadResult Read(std::uint8_t *buffer, int n) override
    {
        if (m_Pos >= m_Size)
            return { 0, false };
        const int control = m_Data[m_Pos++];
        if (control == 0xFF)
            return { 0, true }; // the read call itself fails
        const int count = std::min<std::size_t>({ std::size_t(control % (n + 1)), std::size_t(n), m_Size - m_Pos });
        std::memcpy(buffer, m_Data + m_Pos, std::size_t(count));
        m_Pos += std::size_t(count);
        return { count, false };
    }

private:
    const std::uint8_t *m_Data;
    std::size_t m_Size;
    std::size_t m_Pos = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    CScriptedPort port(data, size);
    if (!CloneProtocol::OpenLink(port))
        return 0;

    CRadioImage image;
    image.ApplyDefaults();
    const CRadioImage before = image;
    const std::vector<CCloneBlock> blocks = ClonePlan::ReadBlocks();
    for (const CCloneBlock &block : blocks) {
        const bool ok = CloneProtocol::ReadBlock(port, block, image);
        if (!ok)
            break;
    }
    // A read never reaches the five bytes that live only in data files.
    for (int offset = ImageMap::kTransferEnd; offset < ImageMap::kImageSize; ++offset)
        if (image.Byte(offset) != before.Byte(offset))
            std::abort();

    for (const CCloneBlock &block : ClonePlan::WriteBlocks(false))
        if (!CloneProtocol::WriteBlock(port, block, image))
            break;
    return 0;
}
