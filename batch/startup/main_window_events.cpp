// The main window's own events as logic: the idle refresh, the drop point test, the close query.
#include "batch/startup/main_window_events.h"

#include "batch/model/main_model.h"
#include "batch/panel/panel_refresh.h"

namespace qm {

bool DropPointOnPanel(int x, int y, const PanelRect& panel)
{
    return panel.left <= x && x <= panel.left + panel.width && panel.top <= y && y <= panel.top + panel.height;
}

bool MainWindowCloseQuery(MainModel& model)
{
    if (model.state.activity == ActivityMode::None) return true;
    model.state.interruptRequested = true;
    return false;
}

bool IdleRefresh::runIfIdle(MainModel& model)
{
    if (!pending_ || depth_ > 0 || model.state.activity != ActivityMode::None) return false;
    pending_ = false;
    RefreshPanel(model);
    model.panel.ShowPanelStatus();
    model.hooks.stateChanged();
    return true;
}

} // namespace qm
