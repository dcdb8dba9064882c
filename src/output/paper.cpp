#include "output/paper.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace dieprofile {

PaperSize PortraitSize(Paper paper) {
    switch (paper) {
    case Paper::A4:
        return {210, 297};
    case Paper::A3:
        return {297, 420};
    case Paper::Letter:
        return {215.9, 279.4};
    case Paper::Tabloid:
        return {279.4, 431.8};
    }
    return {210, 297};
}

PaperSize LandscapeSize(Paper paper) {
    const PaperSize portrait = PortraitSize(paper);
    return {portrait.HeightMm, portrait.WidthMm};
}

std::string_view PaperName(Paper paper) {
    switch (paper) {
    case Paper::A4:
        return "A4";
    case Paper::A3:
        return "A3";
    case Paper::Letter:
        return "Letter";
    case Paper::Tabloid:
        return "Tabloid";
    }
    return "A4";
}

std::optional<Paper> ParsePaper(std::string_view name) {
    const auto sameLetters = [](std::string_view a, std::string_view b) {
        return std::ranges::equal(a, b, [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    };
    for (const Paper paper : kPapers) {
        if (sameLetters(name, PaperName(paper))) {
            return paper;
        }
    }
    return std::nullopt;
}

std::optional<Paper> PaperOfSize(double widthMm, double heightMm) {
    const double shortSide = std::min(widthMm, heightMm);
    const double longSide = std::max(widthMm, heightMm);
    for (const Paper paper : kPapers) {
        const PaperSize size = PortraitSize(paper);
        if (std::abs(size.WidthMm - shortSide) <= 1 && std::abs(size.HeightMm - longSide) <= 1) {
            return paper;
        }
    }
    return std::nullopt;
}

Paper DefaultPaper(std::optional<Paper> printerPaper, bool localeUsesLetter) {
    if (printerPaper) {
        return *printerPaper;
    }
    return localeUsesLetter ? Paper::Letter : Paper::A4;
}

} // namespace dieprofile
