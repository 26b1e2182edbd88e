// A model wired to a scripted user, recording window hooks and a fault-injecting file system in a temporary folder.
#pragma once

#include <string>
#include <string_view>

#include "batch/model/main_model.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/recording_hooks.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_dir.h"

namespace qm::test {

struct Bench {
    TempDir dir;
    FaultyFileSystem fs;
    ScriptedUi ui;
    RecordingHooks hooks;
    MainModel model {fs, ui, hooks};

    // A program folder as start-up leaves it: output and backup folders in it.
    Bench()
    {
        model.state.programFolder = root();
        model.options.setText(Opt::edOptimizedPath, root() + "optimized/");
        model.options.setText(Opt::edBackUpPath, root() + "backup/");
    }

    std::string root() const { return dir.path().string() + "/"; }
    std::string path(std::string_view relative) const { return root() + std::string(relative); }
    void write(std::string_view relative, std::string_view bytes) const { WriteFile(dir / relative, bytes); }
    std::string read(std::string_view relative) const { return ReadFile(dir / relative); }
    bool exists(std::string_view relative) const { return std::filesystem::exists(dir / relative); }

    // Adds files to the panel as the command line does (silently), then refreshes.
    void add(std::initializer_list<std::string_view> relatives);

    void modifyMode(bool backups)
    {
        model.options.setFlag(Opt::radModifyOld, true);
        model.options.setFlag(Opt::cbSaveBefMod, backups);
    }
    // No run window and no question before a run: butOptimizeClick runs at once.
    void quietRuns()
    {
        model.options.setFlag(Opt::cbShowOptWin, false);
        model.options.setFlag(Opt::cbShowConf, false);
        model.options.setFlag(Opt::cbShowEnd, false);
    }
};

} // namespace qm::test
