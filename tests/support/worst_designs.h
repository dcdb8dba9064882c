// Design files of the largest size the reader takes, each of a shape that costs a careless JSON
// reader the most: many objects or keys, deep nesting, long strings. The reader must refuse or
// read every one of them in time that grows no faster than the file; the tests check what it
// answers, the benchmark how long it takes, and the design file's fuzz target runs them too.
#pragma once

#include <string>
#include <vector>

namespace dieprofile {

struct WorstDesign {
    std::string Name;
    std::string Bytes; // at most kMaxDesignFileBytes
};

std::vector<WorstDesign> WorstDesigns();

} // namespace dieprofile
