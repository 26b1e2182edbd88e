// Reading the few environment variables the desktop program looks at.
#include "batch/startup/desktop_environment.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace qm {

EnvironmentLookup DesktopEnvironment()
{
    return [](std::string_view name) -> std::optional<std::string> {
        static constexpr std::string_view kRead[] = {
            "HOME", "VISUAL", "EDITOR", "PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
        if (std::find(std::begin(kRead), std::end(kRead), name) == std::end(kRead)) return std::nullopt;
        const char* value = std::getenv(std::string(name).c_str());
        if (!value || !*value) return std::nullopt;
        return std::string(value);
    };
}

} // namespace qm
