#pragma once

#include <string>

namespace trelvano::web {

// The three windows as the page builds them: the window tables and the entry
// table in the layout trelvano_forms() documents.
std::string FormsJson();

}  // namespace trelvano::web
