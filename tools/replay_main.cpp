// dieprofile-replay: runs a script of window events against the die profile model without a
// display and writes what happens. The script is the file named on the command line, or standard
// input.
#include "replay.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: dieprofile-replay [SCRIPT]\n";
        return 2;
    }
    if (argc == 2) {
        std::ifstream file(argv[1]);
        if (!file) {
            std::cerr << "dieprofile-replay: cannot read " << argv[1] << '\n';
            return 2;
        }
        return dieprofile::RunScript(file, std::cout, std::cerr) == 0 ? 0 : 1;
    }
    return dieprofile::RunScript(std::cin, std::cout, std::cerr) == 0 ? 0 : 1;
}
