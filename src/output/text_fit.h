// Lettering fitted to the paper before any toolkit sets it: its width estimated from the
// characters, so that laid-out text can be broken into lines or cut short where it would run into
// its neighbour or off the page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

// Liberation Sans, the lettering of every page, in ems: the capital height, the ascent above the
// baseline, the descent below it and a line's height. The font's tables give a capital height of
// 0.688; 0.69 is the figure every page's widths were laid out with, kept so that the drawing
// sheet, the chart and the report stay where they are.
inline constexpr double kCapHeightPerEm = 0.69;
inline constexpr double kAscentPerEm = 0.905;
inline constexpr double kDescentPerEm = 0.212;
inline constexpr double kLinePerEm = 1.15;

// The width in millimetres of text set at the given capital height in Liberation Sans, roughly
// and on the wide side.
double TextWidth(std::string_view text, double height);

// Breaks a text at spaces into lines no wider than width (a word wider than a line is cut between
// characters), at most maxLines of them, the last ending in an ellipsis when the text goes on.
std::vector<std::string> Wrap(const std::string& text, double height, double width,
                              std::size_t maxLines = 3);

// The text as it is when it fits the width; else as many of its first characters as fit with an
// ellipsis after them (only the ellipsis when none does).
std::string CutToWidth(std::string_view text, double height, double width);

} // namespace dieprofile
