// "Align.dat" and "Ssi.dat": the engine's word lists, read from the program folder.
#pragma once

#include <string>
#include <vector>

#include "base/file_system.h"
#include "engine/engine_data.h"

namespace qm {

struct LoadedEngineData {
    EngineData data;
    // One per list that came from the built-in copy, naming the file and why.
    std::vector<std::string> warnings;
};

// Both lists from a folder holding "Align.dat" and "Ssi.dat". A file that is
// missing or cannot be read gives the list as shipped, built into the
// program, and a warning that names the file: without Ssi.dat every SSI
// command would be deleted as a comment.
LoadedEngineData LoadEngineData(FileSystem& fs, const std::string& folder);

} // namespace qm
