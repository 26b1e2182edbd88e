// What the logic asks of the windows beyond talking to the user: the source view, enabling rules, window commands.
#pragma once

#include <string>

#include <vector>

#include "batch/model/text_diff.h"
#include "options/option_set.h"

namespace qm {

// The desktop program's windows implement this; qmk and the tests use the
// do-nothing defaults or record the calls. Every call comes from the thread
// that runs the logic.
class MainWindowHooks {
public:
    virtual ~MainWindowHooks() = default;

    // The source view's text, UTF-8 with lines broken by "\n": the logic puts
    // a file's text in and takes the user's edited text out. The defaults
    // keep it, so the logic can view and edit without a window.
    virtual void setSourceViewText(const std::string& text) { sourceText_ = text; }
    virtual std::string sourceViewText() { return sourceText_; }
    // The differences view: kept, removed and added runs, each drawn in its own way.
    virtual void setSourceViewDifferences(const std::vector<DiffRun>& runs)
    {
        sourceText_.clear();
        for (const DiffRun& run : runs) sourceText_ += run.text;
    }

    // The options window: a flag's click behaviour (its enabling rules) after a loader changed it.
    virtual void runClickBehaviour(Opt /*option*/) { }
    // The panel's column widths and height were read from "Options.dat" (col0..col5, listHeight).
    virtual void applyLayout() { }
    // The window stores its current layout into the options before they are saved.
    virtual void storeLayout() { }

    // The model changed in a way the windows show (panel, run window, titles, menus).
    virtual void stateChanged() { }

    // The command line's window-only commands.
    virtual void minimize() { } // m
    virtual void restore() { } // r
    virtual void hideRunWindowAndMinimize() { } // nw
    virtual void quit() { } // q: ends when control returns to the event loop
    // A command line that quits or runs by itself is being carried out: no
    // question may wait for a user (the desktop answers through UnattendedUserInterface).
    virtual void setUnattended(bool /*on*/) { }

    // The screen's width in pixels, 0 when there is no screen (the start-up check is then skipped).
    virtual int screenWidth() { return 0; }

private:
    std::string sourceText_;
};

} // namespace qm
