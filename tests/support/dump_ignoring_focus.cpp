#include "support/dump_ignoring_focus.h"

#include "app/dump.h"

#include <sstream>

namespace dieprofile {

std::string DumpIgnoringFocus(const Form1Model& model) {
    std::istringstream dump(Dump(model));
    std::string out;
    std::string line;
    while (std::getline(dump, line)) {
        if (line.starts_with("focus ")) {
            continue;
        }
        if (line.starts_with("field ")) {
            // field NAME VISIBILITY SELSTART SELLENGTH "TEXT": the two numbers go.
            const std::size_t visibility = line.find(' ', 6);
            const std::size_t selStart = line.find(' ', visibility + 1);
            const std::size_t text = line.find(' ', line.find(' ', selStart + 1) + 1);
            line.erase(selStart, text - selStart);
        }
        out += line;
        out += '\n';
    }
    return out;
}

} // namespace dieprofile
