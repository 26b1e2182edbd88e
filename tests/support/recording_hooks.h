// Window hooks that remember what the logic asked of the windows.
#pragma once

#include <string>
#include <vector>

#include "batch/model/window_hooks.h"

namespace qm::test {

class RecordingHooks final : public MainWindowHooks {
public:
    std::vector<std::string> calls;
    int width = 0;
    bool has(const std::string& call) const
    {
        for (const std::string& made : calls)
            if (made == call) return true;
        return false;
    }

    void runClickBehaviour(Opt option) override { calls.push_back("click " + std::string(RowOf(option).key)); }
    void applyLayout() override { calls.push_back("applyLayout"); }
    void minimize() override { calls.push_back("minimize"); }
    void restore() override { calls.push_back("restore"); }
    void hideRunWindowAndMinimize() override { calls.push_back("hideRunWindowAndMinimize"); }
    void quit() override { calls.push_back("quit"); }
    int screenWidth() override { return width; }
};

} // namespace qm::test
