// Loading the engine's word lists.
#include "settings/data_lists.h"

#include "base/file_io.h"
#include "base/text_lines.h"

namespace qm {

std::vector<std::string> LoadWordList(const std::filesystem::path& path)
{
    ReadResult file = ReadFileBytes(path);
    if (!file.bytes) return {};
    return SplitLines(*file.bytes);
}

EngineData LoadEngineData(const std::filesystem::path& folder)
{
    return EngineData {LoadWordList(folder / "Align.dat"), LoadWordList(folder / "Ssi.dat")};
}

} // namespace qm
