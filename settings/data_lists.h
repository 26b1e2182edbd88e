// "Align.dat" and "Ssi.dat": the engine's word lists, read from the program folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine_data.h"

namespace qm {

// One entry per line (CR LF, CR or LF); an empty list when the file is missing.
std::vector<std::string> LoadWordList(const std::filesystem::path& path);

// Both lists from a folder holding "Align.dat" and "Ssi.dat".
EngineData LoadEngineData(const std::filesystem::path& folder);

} // namespace qm
