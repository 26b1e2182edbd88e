// "Align.dat" and "Ssi.dat": the engine's word lists, read from the program folder.
#pragma once

#include <string>
#include <vector>

#include "base/file_system.h"
#include "engine/engine_data.h"

namespace qm {

// One entry per line (CR LF, CR or LF); an empty list when the file is missing.
std::vector<std::string> LoadWordList(FileSystem& fs, const std::string& path);

// Both lists from a folder holding "Align.dat" and "Ssi.dat".
EngineData LoadEngineData(FileSystem& fs, const std::string& folder);

} // namespace qm
