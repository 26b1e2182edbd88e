// The options window's buttons carried out by the program's logic on its model.
#pragma once

#include <functional>

#include "batch/model/main_model.h"
#include "ui/options_window_commands.h"

namespace qm {

// Each command goes through `run`, which hands it the model; the desktop
// program's runner redraws its windows afterwards, a test's may call it at once.
class OptionsWindowBinding final : public OptionsWindowCommands {
public:
    using Command = std::function<void(MainModel&)>;
    using Runner = std::function<void(const Command&)>;

    explicit OptionsWindowBinding(Runner run)
        : run_(std::move(run))
    {
    }

    void openProfile() override;
    void saveProfile() override;
    void saveProfileAs() override;
    void closeWindow() override;
    void loadScheme(TagListKind list) override;
    void saveScheme(TagListKind list) override;
    void saveSchemeAs(TagListKind list) override;
    void removeEntry(TagListKind list, std::size_t index) override;
    void chooseFolder(Opt option) override;
    void chooseEditor() override;
    void chooseLanguageFile() override;
    void setEnglishLanguage() override;

private:
    Runner run_;
};

} // namespace qm
