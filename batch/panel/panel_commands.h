// Filling the file panel: one file, the file dialog, the menu commands on rows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "batch/model/file_panel.h"
#include "options/option_set.h"

namespace qm {

struct MainModel;

// True when no row has this full path; otherwise, with reportDuplicate and
// cbShowInfo, the warning "The file < %s > is already in the files panel".
bool IsNotInPanel(MainModel& model, const std::string& fullPath, bool reportDuplicate);

// Appends a checked row unless the path is already there or the panel is full.
AddOutcome AddFileToPanel(
    MainModel& model, const std::string& fullPath, bool reportDuplicate, const std::string& placement = {});

// Counts what a batch of additions could not add because the panel was full,
// and says so once at the end of the batch.
class PanelFullReport {
public:
    void note(AddOutcome outcome) { refused_ += outcome == AddOutcome::PanelFull ? 1 : 0; }
    std::size_t refused() const { return refused_; }
    void show(MainModel& model) const;

private:
    std::size_t refused_ = 0;
};

// The number of a number text, or none when the text means no limit.
std::optional<std::size_t> LimitOf(const MainModel& model, Opt numberText);

// The file count question before adding n files, when cbMaxFCount's limit is
// smaller than n: on Yes, the limit; otherwise n.
std::size_t RestrictFilesCount(MainModel& model, std::size_t n);

void butFilesClick(MainModel& model);

// Removefilefromthelist1, menuDelUnchecked, menuLiseFilesClear, menuSelectAll,
// menuInvert, menuDeselect, the column click, menuRefresh.
void RemoveHighlightedFile(MainModel& model);
void RemoveUncheckedFiles(MainModel& model);
void ClearFilesPanel(MainModel& model);
void SelectAllFiles(MainModel& model);
void InvertSelection(MainModel& model);
void DeselectFiles(MainModel& model);
void SortByColumn(MainModel& model, int column);

} // namespace qm
