// The file dialogs' filter texts and the test whether a file name's extension is one of a filter's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::string_view kWebFilesFilter =
    "All formats|*.php;*.php3;*.php4;*.phtml;*.shtml;*.shtm;*.sht;*.htm;*.html;*.asp;*.css;*.cfml;*.cfm|"
    "HTML files|*.htm;*.html|SSI files|*.shtml;*.shtm;*.sht|PHP files|*.php;*.php3;*.php4;*.phtml;*.pht|"
    "ASP files|*.asp|CSS files|*.css|ColdFusion files|*.cfml;*.cfm";
inline constexpr std::string_view kListFilesFilter = "Files list [ *.lst ]|*.lst";
inline constexpr std::string_view kProfilesFilter = "Profiles files [*.pro]|*.pro";
inline constexpr std::string_view kReplaceSchemesFilter = "Tags schemes [ *.rep ]|*.rep";
inline constexpr std::string_view kRemoveSchemesFilter = "Tags schemes [ *.rem ]|*.rem";
inline constexpr std::string_view kEditorFilter = "Executables [ * ]|*";
inline constexpr std::string_view kLanguageFilter = "Language files [ *.lng ]|*.lng";

// The extensions a filter's pattern lists name, in order, without their dots
// (a pattern "*.php" gives "php"), as the filter text's left-to-right scan collects them.
std::vector<std::string> FilterExtensions(std::string_view filter);

// True when the name's extension (from its last dot) equals, without regard
// to letter case, one of the filter's extensions. A name without a dot never matches.
bool MatchesFilter(std::string_view fileName, std::string_view filter);

} // namespace qm
