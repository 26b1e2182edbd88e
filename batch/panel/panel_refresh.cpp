// The refresh of the file panel's cells from the file system.
#include "batch/panel/panel_refresh.h"

#include "batch/model/file_operations.h"
#include "batch/model/file_ratio.h"
#include "batch/model/main_model.h"
#include "batch/model/placement.h"
#include "engine/page_text.h"

namespace qm {

void RefreshPanel(MainModel& model)
{
    FilePanel& panel = model.panel;
    if (panel.empty() || !model.state.panelShown) return;
    // A link whose target is gone is no file either: its row would otherwise ask about its date on every refresh.
    panel.removeRowsWhere([&model](const PanelRow& row) {
        const std::string full = row.fullPath();
        return !model.fs.isFile(full) && !model.fs.isFolder(full);
    });
    for (std::size_t index = 0; index < panel.size(); ++index) {
        const PanelRow& row = panel.row(index);
        const std::string full = row.fullPath();
        std::vector<std::string> cells {row.path()};
        cells.push_back(FileDateText(model.fs, model.ui, full));

        const std::string backup = InitialCopyPath(model.options, model.fs, full, row.placement, true);
        const std::int64_t size = model.fs.sizeOf(backup);
        cells.push_back(std::to_string(size));

        const std::string optimized = OptimizedCopyPath(model.options, model.fs, full, row.placement, true);
        if (optimized != kDoesNotExist && model.fs.exists(optimized) && model.fs.exists(backup)) {
            const std::int64_t optimizedSize = model.fs.sizeOf(optimized);
            cells.push_back(std::to_string(optimizedSize));
            if (std::optional<int> ratio = FileRatio(size, optimizedSize))
                cells.push_back(std::to_string(*ratio) + " %");
        } else {
            cells.push_back("-");
        }
        panel.setCells(index, std::move(cells));
    }
    panel.ShowPanelStatus();
    if (panel.sort()) ShowMessage(model.ui, MessageKind::Error, "Error during files sorting");
    model.hooks.stateChanged();
}

} // namespace qm
