// The file panel's rows, their check boxes, removal, counting, sorting and the texts that show them.
#include "batch/model/file_panel.h"

namespace qm {

FilePanel::FilePanel()
{
    for (int column = 0; column < kSortKeyCount; ++column)
        sortMarks_.columnCaptions[column] = std::string(kDesignColumnCaptions[column]);
}

AddOutcome FilePanel::append(const std::string& fullPath, std::string placement)
{
    if (contains(fullPath)) return AddOutcome::Duplicate;
    if (rows_.size() >= kMaxPanelRows) return AddOutcome::PanelFull;
    const std::size_t slash = fullPath.rfind('/');
    PanelRow row;
    row.Filename = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
    row.cells.push_back(slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1));
    row.placement = std::move(placement);
    rows_.push_back(std::move(row));
    paths_.insert(fullPath);
    ++checkedCount_;
    ShowPanelStatus();
    return AddOutcome::Added;
}

void FilePanel::setChecked(std::size_t index, bool checked)
{
    if (index >= rows_.size()) return;
    if (rows_[index].checked != checked) checked ? ++checkedCount_ : --checkedCount_;
    rows_[index].checked = checked;
    ShowPanelStatus();
}

void FilePanel::selectAll()
{
    for (PanelRow& row : rows_) row.checked = true;
    checkedCount_ = rows_.size();
    ShowPanelStatus();
}

void FilePanel::invertSelection()
{
    for (PanelRow& row : rows_) row.checked = !row.checked;
    checkedCount_ = rows_.size() - checkedCount_;
    ShowPanelStatus();
}

void FilePanel::deselect()
{
    for (PanelRow& row : rows_) row.checked = false;
    checkedCount_ = 0;
    ShowPanelStatus();
}

void FilePanel::removeRow(std::size_t index)
{
    if (index >= rows_.size()) return;
    paths_.erase(rows_[index].fullPath());
    if (rows_[index].checked) --checkedCount_;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
    if (highlighted_) {
        if (*highlighted_ == index)
            highlighted_.reset();
        else if (*highlighted_ > index)
            --*highlighted_;
    }
    ShowPanelStatus();
}

bool FilePanel::removeHighlighted()
{
    if (!highlighted_) return false;
    removeRow(*highlighted_);
    return true;
}

void FilePanel::removeRowsWhere(const std::function<bool(const PanelRow&)>& remove)
{
    std::optional<std::string> highlightedPath;
    if (highlighted_) highlightedPath = rows_[*highlighted_].fullPath();
    std::size_t kept = 0;
    for (std::size_t index = 0; index < rows_.size(); ++index) {
        if (remove(rows_[index])) {
            paths_.erase(rows_[index].fullPath());
            if (rows_[index].checked) --checkedCount_;
            if (highlightedPath && rows_[index].fullPath() == *highlightedPath) highlightedPath.reset();
            continue;
        }
        if (kept != index) rows_[kept] = std::move(rows_[index]);
        if (highlightedPath && rows_[kept].fullPath() == *highlightedPath) highlighted_ = kept;
        ++kept;
    }
    rows_.resize(kept);
    if (!highlightedPath) highlighted_.reset();
    ShowPanelStatus();
}

void FilePanel::removeUnchecked()
{
    removeRowsWhere([](const PanelRow& row) { return !row.checked; });
}

void FilePanel::clear()
{
    rows_.clear();
    paths_.clear();
    checkedCount_ = 0;
    highlighted_.reset();
    ShowPanelStatus();
}

std::size_t FilePanel::CountCheckedRows() const { return checkedCount_; }

void FilePanel::setHighlighted(std::optional<std::size_t> index)
{
    highlighted_ = (index && *index < rows_.size()) ? index : std::nullopt;
}

void FilePanel::setCells(std::size_t index, std::vector<std::string> cells)
{
    if (index >= rows_.size() || cells.empty()) return;
    // Path is the key of the duplicate index and never changes.
    cells.front() = rows_[index].cells.front();
    rows_[index].cells = std::move(cells);
}

bool FilePanel::sort()
{
    std::optional<std::string> highlightedPath;
    if (highlighted_) highlightedPath = rows_[*highlighted_].fullPath();
    bool failed = SortRows(rows_, sortKey_);
    if (highlightedPath) {
        highlighted_.reset();
        for (std::size_t index = 0; index < rows_.size(); ++index)
            if (rows_[index].fullPath() == *highlightedPath) highlighted_ = index;
    }
    return failed;
}

bool FilePanel::sortByColumn(int column)
{
    sortKey_ = column;
    bool failed = sort();
    ShowSortMarks();
    return failed;
}

std::string FilePanel::statusText() const
{
    return "Files: " + std::to_string(rows_.size()) + "   Selected: " + std::to_string(CountCheckedRows());
}

void FilePanel::ShowSortMarks()
{
    for (int column = 0; column < kSortKeyCount; ++column) {
        const bool marked = column == sortKey_;
        sortMarks_.itemChecked[column] = marked;
        sortMarks_.columnCaptions[column] =
            (marked ? std::string(kSortBullet) + "  " : std::string()) + std::string(kSortItemCaptions[column]);
    }
}

} // namespace qm
