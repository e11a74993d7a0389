#include "image/TableOrigin.h"

#include "config/Language.h"

#include <algorithm>

namespace {

constexpr CBilingual kBoth { "Power and alignment tables: %1.", "功率表和校准表: %1。" };
constexpr CBilingual kPowerOnly { "Power table: %1.", "功率表: %1。" };
constexpr CBilingual kAlignmentOnly { "Alignment table: %1.", "校准表: %1。" };
constexpr CBilingual kFromRadio { "read from a radio at %1", "于 %1 从电台读取" };
constexpr CBilingual kFromFile { "from the file %1", "来自文件 %1" };
constexpr CBilingual kNeverRead { "never read from a radio (a new document)", "从未从电台读取 (新文档)" };
constexpr CBilingual kChanged { "changed in this program since it was opened or read",
    "打开或读取后已在本程序中修改" };
constexpr CBilingual kQuestion {
    "Service mode: this Write can also replace the radio's power and alignment tables (its calibration) "
    "with the document's.\n%1\nReplace the radio's power and alignment tables?\n"
    "Yes: write them too.  No: write channels and options only.",
    "维修模式: 本次写入也可以用文档中的功率表和校准表替换电台的功率表和校准表 (电台的校准数据)。\n%1\n"
    "替换电台的功率表和校准表吗?\n是: 一并写入。  否: 只写入信道和选项。"
};

// The power table runs to the end of the image; its last bytes stay in files only, which changes
// nothing here: a source is compared with the image it left behind.
constexpr int kPowerFrom = ImageMap::kPowerTable;
constexpr int kPowerTo = ImageMap::kImageSize;

} // namespace

void CTableOrigin::Reset(Kind kind, const CRadioImage& image, const QString& fileName)
{
    m_Sources.clear();
    m_Sources.push_back({ kind, fileName, image });
}

void CTableOrigin::AddRead(const CRadioImage& image, const QDateTime& time, Tables tables)
{
    m_Sources.push_back({ Kind::Radio, time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), image, tables });
}

int CTableOrigin::Find(const CRadioImage& image, bool power) const
{
    const int from = power ? kPowerFrom : ImageMap::kAlignmentStart;
    const int to = power ? kPowerTo : ImageMap::kAlignmentEnd;
    for (int i = static_cast<int>(m_Sources.size()) - 1; i >= 0; --i) {
        const Source& source = m_Sources[static_cast<std::size_t>(i)];
        if (source.tables == (power ? Tables::Alignment : Tables::Power))
            continue;
        const CRadioImage& kept = source.image;
        if (std::equal(image.Data().begin() + from, image.Data().begin() + to, kept.Data().begin() + from))
            return i;
    }
    return -1;
}

QString CTableOrigin::Phrase(int source, bool chinese) const
{
    if (source < 0)
        return kChanged.Text(chinese);
    const Source& s = m_Sources[static_cast<std::size_t>(source)];
    switch (s.kind) {
    case Kind::Radio:
        return kFromRadio.Text(chinese).arg(s.detail);
    case Kind::File:
        return kFromFile.Text(chinese).arg(s.detail);
    case Kind::NeverRead:
        break;
    }
    return kNeverRead.Text(chinese);
}

QString CTableOrigin::Describe(const CRadioImage& image, bool chinese) const
{
    const int power = Find(image, true);
    const int alignment = Find(image, false);
    const QString powerPhrase = Phrase(power, chinese);
    const QString alignmentPhrase = Phrase(alignment, chinese);
    if (powerPhrase == alignmentPhrase)
        return kBoth.Text(chinese).arg(powerPhrase);
    return kPowerOnly.Text(chinese).arg(powerPhrase) + QLatin1Char('\n')
        + kAlignmentOnly.Text(chinese).arg(alignmentPhrase);
}

QString CTableOrigin::Question(const CRadioImage& image, bool chinese) const
{
    return kQuestion.Text(chinese).arg(Describe(image, chinese));
}
