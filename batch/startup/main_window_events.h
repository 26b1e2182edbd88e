// What the main window does for itself between commands: the refresh when it comes back to the user, the drop point,
// closing.
#pragma once

namespace qm {

struct MainModel;

// The file panel's rectangle in the main window's client coordinates.
struct PanelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Files may be dropped on the panel, its edges included.
bool DropPointOnPanel(int x, int y, const PanelRect& panel);

// Closing the main window while a run or a folder scan lasts would end the
// program in the middle of writing files: the close asks that work to stop
// instead (the interrupt question follows) and is refused for now; once the
// user has agreed and the work has stopped, QuitAfterWork says to close.
// Unsaved changes in the source view are offered for saving first, with
// Yes, No and Cancel; Cancel keeps the program open.
bool MainWindowCloseQuery(MainModel& model);

// True once, when a close that waited for a run or a scan may now go ahead.
bool QuitAfterWork(MainModel& model);

// Re-reading the panel from the disk on every repaint costs a look at every
// file each time the window is drawn. The desktop program instead refreshes
// when the main window becomes active again or something marks the panel
// stale, at the next moment it is idle: no command on the way and neither a
// run nor a folder scan under way. What the panel shows is the same as a
// refresh on repaint would show whenever the user looks at it.
class IdleRefresh {
public:
    void invalidate() { pending_ = true; }
    void commandStarted() { ++depth_; }
    void commandEnded()
    {
        if (depth_ > 0) --depth_;
    }
    bool pending() const { return pending_; }

    // RefreshPanel and ShowPanelStatus when a refresh is pending and the
    // program is idle; true when it ran.
    bool runIfIdle(MainModel& model);

private:
    bool pending_ = false;
    int depth_ = 0;
};

} // namespace qm
