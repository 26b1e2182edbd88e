// The two word lists the engine consults: values safe without quotes, and SSI command words.
#pragma once

#include <string>
#include <vector>

namespace qm {

struct EngineData {
    std::vector<std::string> alignWords; // "Align.dat", compared without regard to case
    std::vector<std::string> ssiCommands; // "Ssi.dat", as read
};

} // namespace qm
