// Files dropped on the main window: web pages join the panel, a list file replaces it.
#pragma once

#include <string>
#include <vector>

namespace qm {

struct MainModel;

// Files dropped on the main window; insidePanel says whether the drop point lay on the panel.
void DropFiles(MainModel& model, const std::vector<std::string>& names, bool insidePanel);

} // namespace qm
