// The two word lists the engine consults: values safe without quotes, and SSI command words.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qm {

struct EngineData {
    std::vector<std::string> alignWords; // "Align.dat", compared without regard to case
    std::vector<std::string> ssiCommands; // "Ssi.dat", as read
};

// One entry per line (CR LF, CR or LF); an empty list when the file is missing.
std::vector<std::string> LoadWordList(const std::filesystem::path& path);

// Both lists from a folder holding "Align.dat" and "Ssi.dat".
EngineData LoadEngineData(const std::filesystem::path& folder);

} // namespace qm
