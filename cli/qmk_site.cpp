// Scanning qmk's folder arguments with the site rules and placing several folders side by side.
#include "cli/qmk_site.h"

#include <algorithm>
#include <ostream>
#include <set>

#include "base/ascii.h"
#include "base/file_system.h"
#include "batch/model/main_model.h"
#include "batch/panel/folder_scan.h"
#include "batch/panel/panel_commands.h"
#include "batch/run/journal.h"

namespace qm {

std::variant<RootPlacements, QmkUsageError> PlaceRoots(MainModel& model, const QmkArguments& args)
{
    RootPlacements roots;
    roots.prefixes.assign(args.paths.size(), {});
    std::vector<std::size_t> folders;
    for (std::size_t i = 0; i < args.paths.size(); ++i)
        if (model.fs.isFolder(model.fs.absolute(args.paths[i]))) folders.push_back(i);
    if (!args.outputFolder || folders.size() < 2) return roots;
    std::set<std::string> names;
    for (std::size_t i : folders) {
        const std::string name = NamePart(WithoutTrailingSeparator(model.fs.absolute(args.paths[i])));
        if (name.empty() || name == "." || name == "..")
            return QmkUsageError {
                "with several folders each gets a subfolder of -o named after it; " + args.paths[i] + " has no name"};
        if (!names.insert(name).second)
            return QmkUsageError {"two folders are named " + name +
                "; with -o each folder gets a subfolder of that name, so their outputs would mix"};
        roots.prefixes[i] = name + "/";
    }
    return roots;
}

namespace {

// Where a page's backup or copy goes below the backup or output folder.
std::string PlacementOf(const QmkArguments& args, const std::string& page)
{
    return args.inPlace ? WithTrailingSeparator(FolderPart(page)).substr(1) : std::string();
}

} // namespace

SiteScan ScanSite(
    MainModel& model, const QmkArguments& args, const RootPlacements& roots, std::ostream& err, const Journal* journal)
{
    SiteScan scan;
    FileSystem& fs = model.fs;
    SiteRules rules;
    rules.excludeGlobs = args.excludes;
    rules.passOverHiddenFolders = true;
    rules.extraExtensions = args.extensions;
    const std::vector<std::string> excluded = {WithoutTrailingSeparator(model.options.text(Opt::edOptimizedPath)),
        WithoutTrailingSeparator(model.options.text(Opt::edBackUpPath))};
    const RecordKind kind = args.inPlace ? RecordKind::Backup : RecordKind::Copy;
    // The recorded pages at or below a path that are gone from the disk.
    auto addMissing = [&](const std::string& pathOrFolder, bool recursive, const std::string& prefix) {
        if (!journal) return false;
        bool any = false;
        for (const JournalEntry* entry : journal->liveEntriesUnder(pathOrFolder, recursive)) {
            if (entry->kind != kind || fs.exists(entry->source) || model.panel.contains(entry->source)) continue;
            any = true;
            if (std::any_of(scan.missing.begin(), scan.missing.end(),
                    [&](const PlacedFile& known) { return known.first == entry->source; }))
                continue;
            std::string placement = PlacementOf(args, entry->source);
            if (!args.inPlace && pathOrFolder.back() == kPathSeparator)
                placement = prefix + WithTrailingSeparator(FolderPart(entry->source)).substr(pathOrFolder.size());
            scan.missing.emplace_back(entry->source, placement);
        }
        return any;
    };
    PanelFullReport files;
    for (std::size_t i = 0; i < args.paths.size(); ++i) {
        const std::string& given = args.paths[i];
        const std::string path = fs.absolute(given);
        if (fs.isFolder(path)) {
            ScanScope scope;
            scope.root = WithTrailingSeparator(path); // --exclude's paths are below the folder named
            // Backups keep the folder's absolute path, below which its pages keep theirs.
            scope.placementPrefix = args.inPlace ? WithTrailingSeparator(path).substr(1) : roots.prefixes[i];
            scope.excludedFolders = excluded;
            scope.rules = &rules;
            if (args.sync) scope.otherFiles = &scan.otherFiles;
            if (args.verbosity == Verbosity::Verbose)
                scope.passedOver = [&err](const std::string& passed, const std::string& why) {
                    err << "qmk: passed over " << EscapeControlCharacters(passed) << " (" << why << ")\n";
                };
            ScanFolder(model, path, 0, &scope);
            scope.full.show(model);
            for (const std::string& reason : scope.unlisted) {
                err << "qmk: " << EscapeControlCharacters(reason) << "; its pages were not "
                    << (args.restore ? "restored" : "optimized") << "\n";
                scan.allFound = false;
            }
            addMissing(WithTrailingSeparator(path), args.recursive, roots.prefixes[i]);
        } else if (fs.isFile(path) && IsPageName(rules, NamePart(path))) {
            files.note(AddFileToPanel(model, path, false, PlacementOf(args, path)));
            scan.named.insert(path);
        } else if (fs.isFile(path) && args.sync) {
            scan.otherFiles.emplace_back(path, std::string());
        } else if (fs.isFile(path)) {
            // As the desktop program's f command: a run would rewrite a script's or a program's tabs and line ends.
            err << "qmk: " << EscapeControlCharacters(given)
                << ": not a web page by its extension (--ext adds extensions); skipped\n";
            scan.allFound = false;
        } else if (fs.exists(path)) {
            Expected<std::string> bytes = fs.readBytes(path);
            err << "qmk: " << EscapeControlCharacters(given) << ": "
                << (bytes ? "not a regular file" : EscapeControlCharacters(bytes.reason())) << "; skipped\n";
            scan.allFound = false;
        } else if (addMissing(path, false, std::string())) {
            scan.named.insert(path);
        } else {
            err << "qmk: " << EscapeControlCharacters(given) << ": no such file or folder\n";
            scan.allFound = false;
        }
    }
    files.show(model);
    return scan;
}

} // namespace qm
