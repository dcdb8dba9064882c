// Laid-out pages as text, one item a line, for the headless driver and the tests: what a sheet or
// a chart would put on paper, in millimetres from each page's top-left corner.
#pragma once

#include "output/page.h"

#include <string>
#include <vector>

namespace dieprofile {

// begin pages N
// page I WIDTH HEIGHT
// line X1 Y1 X2 Y2 WIDTH continuous|centre|phantom|dashed
// outline filled|drawn WIDTH X1 Y1 X2 Y2 ...
// text X Y HEIGHT left|centre|right ANGLE regular|bold|mono|bold-mono "TEXT"
// colour RRGGBB            after an item of any colour but black, that item's
// end pages
// Numbers as %.9g; a text is quoted as the dump quotes, control characters as \u00XX.
std::string DumpPages(const std::vector<Page>& pages);

} // namespace dieprofile
