// Adding the web files of a folder, and of its embedded folders as the options allow, to the file panel.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/model/user_interface.h"
#include "batch/panel/panel_commands.h"
#include "batch/panel/site_rules.h"

namespace qm {

struct MainModel;

// What a scan needs beyond the desktop's flat placement: qmk keeps each
// file's folder below the scanned folder for its outputs and backups, and
// never enters its own output or backup folder.
struct ScanScope {
    std::string root; // the scanned folder, ending with a separator; empty: flat
    // Put before every placement: with several folders each gets its own subfolder of the output.
    std::string placementPrefix;
    std::vector<std::string> excludedFolders; // never entered, never listed
    PanelFullReport full; // files the full panel refused
    std::vector<std::string> unlisted; // why a folder could not be listed, one reason per folder
    const SiteRules* rules = nullptr; // qmk's exclusions and extra extensions; none for Add folder
    // Files that are no pages, with their placements, when they are wanted (qmk --sync).
    std::vector<std::pair<std::string, std::string>>* otherFiles = nullptr;
    std::function<void(const std::string& path, const std::string& why)> passedOver; // for qmk -v
};

// Lists the folder (sorted by name), adds every file whose extension the web
// files filter names (MatchesFilter: the same exact test as dropped files),
// up to cbMaxFCount's limit, and descends into embedded folders while
// cbProcessEmbeded and cbMaxEmbCount allow. Symbolic links to folders are not
// followed, so a link back up the tree cannot make the scan go round.
// Interruption is checked at the start of each folder.
void ScanFolder(MainModel& model, const std::string& folder, int depth, ScanScope* scope = nullptr);

// The depth at which the command line's foe starts a scan.
inline constexpr int kEmbeddedScanDepth = 1000;

// butPathClick: the folder chooser with its restriction panels, then a scan.
void butPathClick(MainModel& model);

// The two restriction panels the chooser shows before a folder scan.
FolderChooserPanels RestrictionPanels(const TOptionSet& options);

} // namespace qm
