// The whole state of the window as text, one item a line: what the headless driver's dump writes
// and what the tests compare.
#pragma once

#include "app/form_model.h"

#include <string>
#include <string_view>

namespace dieprofile {

std::string Dump(const Form1Model& model);

// TEXT between double quotes, with '"' and '\' escaped by a backslash.
std::string Quoted(std::string_view text);

// printf's %.<digits>g in the C locale, whatever the process's locale.
std::string GeneralNumber(double value, int digits);

} // namespace dieprofile
