#pragma once

#include "radio/ChannelGrid.h"
#include "image/RadioImage.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

class CIniFile;

// What the printed report says and where: page 1 the radio-wide options, then the channels that have
// a receive frequency, eight to a page. Positions are twips on the printable area with y growing
// upwards (lines go down the page at negative y), as the report has always been laid out. The painter
// only measures the two fonts and draws what a page lists here.
class CPrintReport {
public:
    static constexpr int kChannelsPerPage = 8;

    // The two fonts of the report; sizes follow from the page (see TitleFont / BodyFont).
    enum class Font { Title, Body };

    // Size of a font in twips: character height and average character width.
    struct FontSize {
        int height;
        int width;
    };

    // The printable area and the row units of the two fonts (text height plus external leading),
    // all in twips.
    struct Metrics {
        int pageWidth = 0; // W
        int pageHeight = 0; // T
        int titleRow = 0; // L
        int bodyRow = 0; // Lb
        int Column() const { return pageWidth / 66; }
    };

    // What the face standing in for Times New Roman measures at a size, in twips: text height (ascent
    // plus descent) and external leading.
    struct Measured {
        int height;
        int leading;
    };
    using Measure = std::function<Measured(FontSize)>;

    // The fonts and row units the pages are drawn with.
    struct Sizing {
        FontSize title;
        FontSize body;
        Metrics metrics;
        int bottom = 0; // lowest point anything is drawn at, twips below the top of the printable area
    };

    struct Text {
        Font font;
        int x;
        int y;
        QString text;
    };
    struct Line {
        int x1;
        int x2;
        int y;
    };
    struct Page {
        std::vector<Line> lines;
        std::vector<Text> texts;
    };

    // Channel values are taken as the grid shows them; option values from the image.
    CPrintReport(
        const CChannelGrid& grid, const CRadioImage& image, const QString& copyrightOwner, bool chinese);

    // "Copyrights Owner" of the section named after the language; empty when missing.
    static QString CopyrightOwner(const CIniFile& ini, const QString& languageName);

    // Title font: height T / 45, width W / 66; body font: 0.8 of both, whole twips.
    static FontSize TitleFont(int pageWidth, int pageHeight);
    static FontSize BodyFont(int pageWidth, int pageHeight);
    // The sizes above wherever the face's proportions let a page, footer included, fit the printable
    // area. A taller face (its row unit measured as text height plus leading) gets both fonts shortened
    // by the same factor, widths kept, until the footer's text ends inside the page.
    static Sizing Fit(int pageWidth, int pageHeight, const Measure& measure);
    // Printable area in twips from device pixels and pixels per inch.
    static int ToTwips(int pixels, int dpi)
    {
        return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * 1440 / dpi) : 0;
    }

    bool IsChinese() const { return m_bChinese; }
    // 1 + ceil(n / 8), n the number of printed channels.
    int PageCount() const;
    // The grid rows (channel numbers) printed on page 1..PageCount(); empty for page 1 and pages
    // beyond the report.
    std::vector<int> ChannelsOnPage(int page) const;
    // Label and value of the seven rows of the options page, top to bottom.
    std::vector<std::pair<QString, QString>> OptionRows() const;
    // Everything drawn on a page, frame and footer included; empty for pages outside the report.
    Page Layout(int page, const Metrics& metrics) const;

private:
    void LayoutOptions(Page& page, const Metrics& m) const;
    void LayoutChannels(Page& page, int pageNumber, const Metrics& m) const;

    bool m_bChinese;
    QString m_strOwner;
    std::array<std::array<QString, CChannelGrid::kCols>, CChannelGrid::kRows> m_Grid;
    std::vector<int> m_PrintedRows;
    CRadioImage m_Image;
};
