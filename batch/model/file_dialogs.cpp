// The file dialogs' start folder, their memory of the last folder, and default extensions.
#include "batch/model/file_dialogs.h"

#include "batch/model/main_model.h"

namespace qm {

std::string DialogStartFolder(MainModel& model)
{
    const std::string& last = model.options.text(Opt::lastFolder);
    if (!last.empty() && model.fs.isFolder(last)) return last;
    if (!model.state.homeFolder.empty() && model.fs.isFolder(model.state.homeFolder)) return model.state.homeFolder;
    return "/";
}

void RememberDialogFolder(MainModel& model, const std::string& folder)
{
    if (folder.empty()) return;
    model.options.setText(Opt::lastFolder, WithTrailingSeparator(folder));
}

std::string WithDefaultExtension(const std::string& name, std::string_view extension)
{
    const std::string file = NamePart(name);
    // A leading dot names a hidden file, not an extension.
    const std::size_t dot = file.rfind('.');
    if (extension.empty() || file.empty() || (dot != std::string::npos && dot > 0 && dot + 1 < file.size()))
        return name;
    std::string result = name;
    if (result.back() != '.') result += '.';
    return result + std::string(extension);
}

std::vector<std::string> AskOpenFiles(MainModel& model, FileDialogRequest request)
{
    if (request.startFolder.empty()) request.startFolder = DialogStartFolder(model);
    std::vector<std::string> chosen = model.ui.openFiles(request);
    for (std::string& path : chosen) path = model.fs.absolute(path);
    if (!chosen.empty()) RememberDialogFolder(model, FolderPart(chosen.front()));
    return chosen;
}

std::optional<std::string> AskSaveFile(MainModel& model, FileDialogRequest request)
{
    if (request.startFolder.empty()) request.startFolder = DialogStartFolder(model);
    std::optional<std::string> name = model.ui.saveFile(request);
    if (!name || name->empty()) return std::nullopt;
    std::string path = WithDefaultExtension(model.fs.absolute(*name), request.defaultExtension);
    RememberDialogFolder(model, FolderPart(path));
    return path;
}

std::string AskFolder(MainModel& model, FolderChooserPanels panels)
{
    if (panels.startFolder.empty()) panels.startFolder = DialogStartFolder(model);
    std::string folder = model.ui.chooseFolder(panels);
    if (folder != "-" && !folder.empty()) RememberDialogFolder(model, model.fs.absolute(folder));
    return folder;
}

} // namespace qm
