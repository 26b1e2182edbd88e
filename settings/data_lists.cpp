// Loading the engine's word lists.
#include "settings/data_lists.h"

#include "base/text_lines.h"

namespace qm {

std::vector<std::string> LoadWordList(FileSystem& fs, const std::string& path)
{
    Expected<std::string> bytes = fs.readBytes(path);
    if (!bytes) return {};
    return SplitLines(*bytes);
}

EngineData LoadEngineData(FileSystem& fs, const std::string& folder)
{
    const std::string base = WithTrailingSeparator(folder);
    return EngineData {LoadWordList(fs, base + "Align.dat"), LoadWordList(fs, base + "Ssi.dat")};
}

} // namespace qm
