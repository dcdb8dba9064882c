// The dump without the lines a refused action may change: the focus and the selections.
#pragma once

#include "app/form_model.h"

#include <string>

namespace dieprofile {

std::string DumpIgnoringFocus(const Form1Model& model);

} // namespace dieprofile
