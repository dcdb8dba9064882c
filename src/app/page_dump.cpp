#include "app/page_dump.h"

#include "app/dump.h"

#include <array>
#include <cstdio>
#include <initializer_list>
#include <string_view>

namespace dieprofile {

namespace {

std::string Number(double value) {
    return GeneralNumber(value, 9);
}

std::string_view TypeName(LineType type) {
    switch (type) {
    case LineType::Centre:
        return "centre";
    case LineType::Phantom:
        return "phantom";
    case LineType::Dashed:
        return "dashed";
    case LineType::Continuous:
        return "continuous";
    }
    return "continuous";
}

std::string_view AlignName(TextAlign align) {
    return align == TextAlign::Right ? "right" : align == TextAlign::Centre ? "centre" : "left";
}

std::string_view StyleName(const PageText& text) {
    if (text.Bold) {
        return text.Monospace ? "bold-mono" : "bold";
    }
    return text.Monospace ? "mono" : "regular";
}

// A control character would break the line or reach a terminal: it is written as \u00XX.
std::string Printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04X", byte);
            shown += escaped.data();
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace

std::string DumpPages(const std::vector<Page>& pages) {
    // Appended piece by piece: GCC's optimiser warns of false overlaps in long sums of strings.
    std::string out;
    const auto put = [&out](std::initializer_list<std::string_view> pieces) {
        for (const std::string_view piece : pieces) {
            out += piece;
        }
    };
    const auto colour = [&out](PageColour rgb) {
        if (rgb != kBlack) {
            std::array<char, 24> hex{};
            std::snprintf(hex.data(), hex.size(), "colour %06X\n", static_cast<unsigned>(rgb));
            out += hex.data();
        }
    };
    put({"begin pages ", std::to_string(pages.size()), "\n"});
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const Page& page = pages[i];
        put({"page ", std::to_string(i + 1), " ", Number(page.WidthMm), " ", Number(page.HeightMm),
             "\n"});
        for (const PageLine& line : page.Lines) {
            put({"line ", Number(line.Start.X), " ", Number(line.Start.Y), " ", Number(line.End.X),
                 " ", Number(line.End.Y), " ", Number(line.WidthMm), " ", TypeName(line.Type),
                 "\n"});
            colour(line.Colour);
        }
        for (const PageOutline& outline : page.Outlines) {
            put({"outline ", outline.Filled ? "filled" : "drawn", " ", Number(outline.WidthMm)});
            for (const Point corner : outline.Corners) {
                put({" ", Number(corner.X), " ", Number(corner.Y)});
            }
            put({"\n"});
            colour(outline.Colour);
        }
        for (const PageText& text : page.Texts) {
            put({"text ", Number(text.At.X), " ", Number(text.At.Y), " ", Number(text.HeightMm),
                 " ", AlignName(text.Align), " ", Number(text.AngleDeg), " ", StyleName(text), " ",
                 Printable(Quoted(text.Text)), "\n"});
            colour(text.Colour);
        }
    }
    put({"end pages\n"});
    return out;
}

} // namespace dieprofile
