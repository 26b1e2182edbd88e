// What the desktop around the program tells the logic: environment variables and the default application of a file
// type.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Reads one environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The desktop program asks the real desktop; qmk and the tests leave it
// silent or tell it what they need.
struct DesktopFacts {
    EnvironmentLookup variable = [](std::string_view) -> std::optional<std::string> { return std::nullopt; };
    // The desktop file (such as "org.gnome.gedit.desktop") that opens a MIME type; empty when none.
    std::function<std::string(std::string_view mimeType)> defaultApplication = [](std::string_view) {
        return std::string();
    };
};

} // namespace qm
