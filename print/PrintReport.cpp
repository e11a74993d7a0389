#include "print/PrintReport.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "radio/OptionalFeatures.h"

#include <algorithm>

using namespace ImageMap;

namespace {

constexpr CBilingual kOptionTitle { "Option", "可选功能" };
constexpr CBilingual kFunction { "Function", "功能" };
constexpr CBilingual kChannelTitle { "Channel", "信道" };
constexpr CBilingual kChannelLabel { "Channel %1:", "信道%1:" };
constexpr CBilingual kPageOf { "Page %1 of %2", "Page %1 of %2" };

// The options page, top to bottom: label and the image byte it prints.
struct OptionRow {
    CBilingual label;
    int offset;
};
constexpr OptionRow kOptionRows[] = {
    { { "Time Out Time:", "超时定时器:" }, kTimeOutTimer },
    { { "Squelch Level:", "静噪电平:" }, kSquelchLevel },
    { { "Voice Annunication:", "语音报号:" }, kVoiceAnnunciation },
    { { "Vox Delay Time:", "声控延迟时间:" }, kVoxDelay },
    { { "Vox Gain Level:", "声控增益电平:" }, kVoxGain },
    { { "Battery Saver:", "电池省电:" }, kBatterySaver },
    { { "Beep:", "哔音:" }, kBeep },
};
constexpr int kFirstOptionRow = 5;

// Each printed channel: a heading and three rows of two label/value pairs, by grid column.
struct ChannelPair {
    CBilingual label;
    int column;
};
constexpr ChannelPair kChannelPairs[3][2] = {
    { { { "Receive Frequency:", "接收频率:" }, 1 }, { { "Transceive Frequency:", "发射频率:" }, 2 } },
    { { { "QT/DQT Decode:", "QT/DQT解码:" }, 3 }, { { "QT/DQT Encode:", "QT/DQT编码:" }, 4 } },
    { { { "W/N:", "宽/窄:" }, 5 }, { { "Scan:", "扫描:" }, 6 } },
};

// Item lists of the options dialog, so that the report and the dialog use the same words.
QStringList itemsOf(int offset, bool chinese)
{
    for (const OptionalFeatures::Option& option : OptionalFeatures::All()) {
        if (option.offset == offset)
            return OptionalFeatures::Items(option, chinese);
    }
    return {};
}

} // namespace

CPrintReport::CPrintReport(
    const CChannelGrid& grid, const CRadioImage& image, const QString& copyrightOwner, bool chinese)
    : m_bChinese(chinese)
    , m_strOwner(copyrightOwner)
    , m_Image(image)
{
    for (int row = 0; row < CChannelGrid::kRows; ++row) {
        for (int col = 0; col < CChannelGrid::kCols; ++col)
            m_Grid[row][col] = grid.Text(row, col);
    }
    // A channel is printed when the grid shows a receive frequency for it.
    for (int row = 1; row < CChannelGrid::kRows; ++row) {
        if (!m_Grid[row][1].isEmpty())
            m_PrintedRows.push_back(row);
    }
}

QString CPrintReport::CopyrightOwner(const CIniFile& ini, const QString& languageName)
{
    return ini.GetValue(languageName, QStringLiteral("Copyrights Owner"), QString());
}

CPrintReport::FontSize CPrintReport::TitleFont(int pageWidth, int pageHeight)
{
    return { pageHeight / 45, pageWidth / 66 };
}

CPrintReport::FontSize CPrintReport::BodyFont(int pageWidth, int pageHeight)
{
    const FontSize title = TitleFont(pageWidth, pageHeight);
    return { title.height * 8 / 10, title.width * 8 / 10 };
}

CPrintReport::Sizing CPrintReport::Fit(int pageWidth, int pageHeight, const Measure& measure)
{
    Sizing sizing { TitleFont(pageWidth, pageHeight), BodyFont(pageWidth, pageHeight), {}, 0 };
    sizing.metrics.pageWidth = pageWidth;
    sizing.metrics.pageHeight = pageHeight;
    // Each round measures the faces and, when the page overflows, shortens the title font in proportion;
    // rounding in the measured sizes can leave a twip or two over, which the next round takes off.
    for (int round = 0; round < 32; ++round) {
        const Measured title = measure(sizing.title);
        const Measured body = measure(sizing.body);
        const int L = title.height + std::max(0, title.leading);
        const int Lb = body.height + std::max(0, body.leading);
        sizing.metrics.titleRow = L;
        sizing.metrics.bodyRow = Lb;
        // The footer's text hangs below the line -36L; the last channel row below -42Lb.
        sizing.bottom = std::max(36 * L, 42 * Lb) + std::max(0, body.height);
        if (sizing.bottom <= pageHeight || sizing.title.height <= 1 || pageHeight <= 0)
            break;
        const long long shorter = static_cast<long long>(sizing.title.height) * pageHeight / sizing.bottom;
        sizing.title.height = std::max(1, std::min(sizing.title.height - 1, static_cast<int>(shorter)));
        sizing.body.height = sizing.title.height * 8 / 10;
    }
    return sizing;
}

int CPrintReport::PageCount() const
{
    const int n = static_cast<int>(m_PrintedRows.size());
    return 1 + (n + kChannelsPerPage - 1) / kChannelsPerPage;
}

std::vector<int> CPrintReport::ChannelsOnPage(int page) const
{
    if (page < 2 || page > PageCount())
        return {};
    const auto first = m_PrintedRows.begin() + (page - 2) * kChannelsPerPage;
    const auto last
        = m_PrintedRows.end() - first > kChannelsPerPage ? first + kChannelsPerPage : m_PrintedRows.end();
    return { first, last };
}

std::vector<std::pair<QString, QString>> CPrintReport::OptionRows() const
{
    const bool zh = m_bChinese;
    const QStringList onOff = itemsOf(kBeep, zh); // "On", "Off"
    std::vector<std::pair<QString, QString>> rows;
    for (const OptionRow& row : kOptionRows) {
        const int byte = m_Image.Byte(row.offset);
        QString value;
        switch (row.offset) {
        case kTimeOutTimer:
            value = QString::asprintf("%ds", byte * 15);
            break;
        case kSquelchLevel:
            value = QString::number(byte);
            break;
        // Off, Chinese, and English for every other byte.
        case kVoiceAnnunciation:
            value = itemsOf(kVoiceAnnunciation, zh).at(std::min(byte, 2));
            break;
        // 0.3s to 2.0s, and 3.0s for every other byte.
        case kVoxDelay:
            value = itemsOf(kVoxDelay, zh).at(std::min(byte, 5));
            break;
        case kVoxGain:
            value = byte == 0 ? onOff.at(1) : QString::number(byte);
            break;
        // Battery saver and beep: bit 0 decides, whatever the other bits hold.
        default:
            value = onOff.at((byte & 1) ? 0 : 1);
            break;
        }
        rows.emplace_back(row.label.Text(zh), value);
    }
    return rows;
}

CPrintReport::Page CPrintReport::Layout(int pageNumber, const Metrics& m) const
{
    Page page;
    const int pages = PageCount();
    if (pageNumber < 1 || pageNumber > pages)
        return page;
    const int c = m.Column();
    const int L = m.titleRow;
    for (const int y : { -2 * L - 50, -2 * L - 120, L / 2 - 36 * L })
        page.lines.push_back({ 5 * c, 60 * c, y });
    if (pageNumber == 1)
        LayoutOptions(page, m);
    else
        LayoutChannels(page, pageNumber, m);
    // The footer keeps the body font the page left selected.
    page.texts.push_back({ Font::Body, 10 * c, -36 * L, m_strOwner });
    page.texts.push_back(
        { Font::Body, 45 * c, -36 * L, kPageOf.Text(m_bChinese).arg(pageNumber).arg(pages) });
    return page;
}

void CPrintReport::LayoutOptions(Page& page, const Metrics& m) const
{
    const int c = m.Column();
    const int Lb = m.bodyRow;
    page.texts.push_back({ Font::Title, 6 * c, -m.titleRow, kOptionTitle.Text(m_bChinese) });
    page.texts.push_back({ Font::Body, 6 * c, -4 * Lb, kFunction.Text(m_bChinese) });
    int r = kFirstOptionRow;
    for (const auto& [label, value] : OptionRows()) {
        page.texts.push_back({ Font::Body, 9 * c, -r * Lb, label });
        page.texts.push_back({ Font::Body, 35 * c, -r * Lb, value });
        ++r;
    }
}

void CPrintReport::LayoutChannels(Page& page, int pageNumber, const Metrics& m) const
{
    const int c = m.Column();
    const int Lb = m.bodyRow;
    page.texts.push_back({ Font::Title, 6 * c, -m.titleRow, kChannelTitle.Text(m_bChinese) });
    int g = 0;
    for (const int row : ChannelsOnPage(pageNumber)) {
        const int base = -5 * g * Lb;
        page.texts.push_back({ Font::Body, 4 * c, base - 4 * Lb, kChannelLabel.Text(m_bChinese).arg(row) });
        for (int line = 0; line < 3; ++line) {
            const int y = base - (5 + line) * Lb;
            const ChannelPair& left = kChannelPairs[line][0];
            const ChannelPair& right = kChannelPairs[line][1];
            page.texts.push_back({ Font::Body, 5 * c, y, left.label.Text(m_bChinese) });
            page.texts.push_back({ Font::Body, 22 * c, y, m_Grid[row][left.column] });
            page.texts.push_back({ Font::Body, 36 * c, y, right.label.Text(m_bChinese) });
            page.texts.push_back({ Font::Body, 55 * c, y, m_Grid[row][right.column] });
        }
        ++g;
    }
}
