// The sheets of paper a drawing or a chart is laid out on: the two ISO sizes a drawing office
// keeps and their North American counterparts. Sizes are in millimetres, portrait.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace dieprofile {

enum class Paper { A4, A3, Letter, Tabloid };

inline constexpr std::array<Paper, 4> kPapers{Paper::A4, Paper::A3, Paper::Letter, Paper::Tabloid};

struct PaperSize {
    double WidthMm = 0; // the short side
    double HeightMm = 0;
};

PaperSize PortraitSize(Paper paper);
PaperSize LandscapeSize(Paper paper);

// "A4", "A3", "Letter", "Tabloid": as the command line takes them and the title block states them.
std::string_view PaperName(Paper paper);

// The paper a name stands for, in any letter case; none for anything else.
std::optional<Paper> ParsePaper(std::string_view name);

// The paper of this size, either way round, within a millimetre (a printer driver's sizes are
// rounded to points); none for any other size.
std::optional<Paper> PaperOfSize(double widthMm, double heightMm);

// The paper to use when none is asked for: the default printer's, when it is one of ours;
// otherwise Letter where the locale measures in US units and A4 elsewhere.
Paper DefaultPaper(std::optional<Paper> printerPaper, bool localeUsesLetter);

} // namespace dieprofile
