// Scanning qmk's folder arguments with the site rules and placing several folders side by side.
#include "cli/qmk_site.h"

#include <ostream>
#include <set>

#include "base/file_system.h"
#include "batch/model/main_model.h"
#include "batch/panel/folder_scan.h"
#include "batch/panel/panel_commands.h"

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

SiteScan ScanSite(MainModel& model, const QmkArguments& args, const RootPlacements& roots, std::ostream& err)
{
    SiteScan scan;
    FileSystem& fs = model.fs;
    SiteRules rules;
    rules.excludeGlobs = args.excludes;
    rules.passOverHiddenFolders = true;
    rules.extraExtensions = args.extensions;
    const std::vector<std::string> excluded = {WithoutTrailingSeparator(model.options.text(Opt::edOptimizedPath)),
        WithoutTrailingSeparator(model.options.text(Opt::edBackUpPath))};
    PanelFullReport files;
    for (std::size_t i = 0; i < args.paths.size(); ++i) {
        const std::string& given = args.paths[i];
        const std::string path = fs.absolute(given);
        if (fs.isFolder(path)) {
            ScanScope scope;
            scope.root = WithTrailingSeparator(path);
            scope.placementPrefix = roots.prefixes[i];
            scope.excludedFolders = excluded;
            scope.rules = &rules;
            if (args.sync) scope.otherFiles = &scan.otherFiles;
            if (args.verbosity == Verbosity::Verbose)
                scope.passedOver = [&err](const std::string& passed, const std::string& why) {
                    err << "qmk: passed over " << passed << " (" << why << ")\n";
                };
            ScanFolder(model, path, 0, &scope);
            scope.full.show(model);
        } else if (fs.isFile(path) && IsPageName(rules, NamePart(path))) {
            files.note(AddFileToPanel(model, path, false));
        } else if (fs.isFile(path) && args.sync) {
            scan.otherFiles.emplace_back(path, std::string());
        } else if (fs.isFile(path)) {
            // As the desktop program's f command: a run would rewrite a script's or a program's tabs and line ends.
            err << "qmk: " << given << ": not a web page by its extension (--ext adds extensions); skipped\n";
            scan.allFound = false;
        } else {
            err << "qmk: " << given << ": no such file or folder\n";
            scan.allFound = false;
        }
    }
    files.show(model);
    return scan;
}

} // namespace qm
