// The main window's own events as logic: the idle refresh, the drop point test, the close query.
#include "batch/startup/main_window_events.h"

#include "batch/model/main_model.h"
#include "batch/panel/panel_refresh.h"
#include "batch/view/source_view.h"

namespace qm {

bool DropPointOnPanel(int x, int y, const PanelRect& panel)
{
    return panel.left <= x && x <= panel.left + panel.width && panel.top <= y && y <= panel.top + panel.height;
}

bool MainWindowCloseQuery(MainModel& model)
{
    if (model.state.activity != ActivityMode::None) {
        model.state.interruptRequested = true;
        model.state.quitRequested = true;
        return false;
    }
    return OfferToSaveChangesBeforeQuit(model);
}

bool QuitAfterWork(MainModel& model)
{
    MainState& state = model.state;
    if (!state.quitRequested || state.activity != ActivityMode::None) return false;
    state.quitRequested = false;
    return true;
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
