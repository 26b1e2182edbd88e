// Loading the engine's word lists, with the shipped lists standing in for a missing file.
#include "settings/data_lists.h"

#include "base/text_lines.h"
#include "settings/default_data_lists.h"

namespace qm {

LoadedEngineData LoadEngineData(FileSystem& fs, const std::string& folder)
{
    const std::string base = WithTrailingSeparator(folder);
    LoadedEngineData loaded;
    auto load = [&](const std::string& name, std::string_view builtIn, const char* what) {
        const std::string path = base + name;
        Expected<std::string> bytes = fs.readBytes(path);
        if (bytes) return SplitLines(*bytes);
        const std::string why = bytes.failure() == Failure::NotFound ? Quoted(path) + " is missing" : bytes.reason();
        loaded.warnings.push_back(why + "; the built-in list of " + what + " applies");
        return SplitLines(builtIn);
    };
    loaded.data.alignWords = load("Align.dat", DefaultAlignDat(), "values whose quotes may go");
    loaded.data.ssiCommands = load("Ssi.dat", DefaultSsiDat(), "SSI commands");
    return loaded;
}

} // namespace qm
