// qmk's per-file lines, JSON objects and summaries.
#include "cli/qmk_report.h"

#include <ostream>

#include "base/ascii.h"
#include "batch/model/file_operations.h"
#include "cli/json_object.h"
#include "cli/terminal_user_interface.h"

namespace qm {
namespace {

std::string RatioText(std::optional<int> ratio) { return ratio ? std::to_string(*ratio) + " %" : "-"; }

// A file name as a line shows it: a newline or a terminal escape in a name can neither forge a report line nor reach
// the terminal. JSON has escapes of its own.
std::string Shown(const std::string& path) { return EscapeControlCharacters(path); }

std::optional<std::int64_t> Size(std::int64_t size) { return size >= 0 ? std::optional(size) : std::nullopt; }

const char* StatusName(FileStatus status)
{
    switch (status) {
    case FileStatus::Written:
        return "written";
    case FileStatus::Skipped:
        return "skipped";
    case FileStatus::Failed:
        break;
    }
    return "failed";
}

const char* StatusName(CopyStatus status)
{
    switch (status) {
    case CopyStatus::Copied:
        return "copied";
    case CopyStatus::Unchanged:
        return "unchanged";
    case CopyStatus::Skipped:
        return "skipped";
    case CopyStatus::Failed:
        break;
    }
    return "failed";
}

// One file's line of --json.
std::string FileObject(const std::string& source, const std::string& output, const char* status, std::int64_t initial,
    std::int64_t optimized, std::optional<int> ratio, const std::string& reason)
{
    return JsonObject()
        .add("type", "file")
        .add("source", source)
        .add("output", output)
        .add("status", status)
        .add("initialSize", Size(initial))
        .add("optimizedSize", Size(optimized))
        .add("ratio", ratio ? std::optional<std::int64_t>(*ratio) : std::nullopt)
        .add("reason", reason)
        .text();
}

} // namespace

QmkReport::QmkReport(std::ostream& out, std::ostream& err, TerminalUserInterface& ui, const QmkArguments& args)
    : out_(out)
    , err_(err)
    , ui_(ui)
    , json_(args.json)
    , quiet_(args.verbosity == Verbosity::Quiet)
    , existing_(args.existing)
    , inPlace_(args.inPlace)
{
}

void QmkReport::error(const std::string& text)
{
    ui_.clearProgressLine();
    err_ << "qmk: " << text << "\n";
}

void QmkReport::optimized(const FileOutcome& outcome)
{
    ui_.clearProgressLine();
    switch (outcome.status) {
    case FileStatus::Written:
        ++written_;
        if (!json_ && !quiet_)
            out_ << Shown(outcome.source) << ": " << outcome.initialSize << " -> " << outcome.optimizedSize
                 << " bytes, ratio " << RatioText(outcome.ratio) << "\n";
        break;
    case FileStatus::Skipped: {
        ++skipped_;
        // A skip the user chose (--skip-existing, or an answer on the terminal) is the page handled as asked; a
        // refused page is not.
        if (!outcome.answeredByUser) failed_ = true;
        const bool hint = outcome.answeredByUser && existing_ == ExistingTargets::Ask;
        const char* hintText = inPlace_ ? " (--overwrite keeps that backup under a numbered name and makes a new one, "
                                          "--skip-existing skips quietly)"
                                        : " (--overwrite replaces it, --skip-existing skips quietly)";
        if (!(quiet_ && existing_ == ExistingTargets::Skip))
            error(Shown(outcome.source) + ": skipped: " + outcome.reason + (hint ? hintText : ""));
        break;
    }
    case FileStatus::Failed:
        ++failedFiles_;
        failed_ = true;
        error(Shown(outcome.source) + ": " + outcome.reason);
        break;
    }
    if (json_)
        out_ << FileObject(outcome.source, outcome.writtenTo, StatusName(outcome.status), outcome.initialSize,
                    outcome.optimizedSize, outcome.ratio, outcome.reason)
             << "\n";
    out_.flush();
}

void QmkReport::copied(const CopyOutcome& outcome)
{
    switch (outcome.status) {
    case CopyStatus::Copied:
        ++copied_;
        copiedBytes_ += outcome.size > 0 ? outcome.size : 0;
        if (!json_ && !quiet_) out_ << Shown(outcome.source) << ": copied\n";
        break;
    case CopyStatus::Unchanged:
        ++unchanged_;
        break;
    case CopyStatus::Skipped:
        ++skipped_;
        if (!outcome.asked) failed_ = true;
        if (!(quiet_ && outcome.asked)) error(Shown(outcome.source) + ": not copied: " + outcome.reason);
        break;
    case CopyStatus::Failed:
        ++failedFiles_;
        failed_ = true;
        error(Shown(outcome.source) + ": not copied: " + outcome.reason);
        break;
    }
    if (json_)
        out_ << FileObject(outcome.source, outcome.target, StatusName(outcome.status), outcome.size, outcome.size, 0,
                    outcome.reason)
             << "\n";
}

void QmkReport::restored(const std::string& source, const std::string& note)
{
    ++restored_;
    if (json_) {
        JsonObject object;
        object.add("type", "file").add("source", source).add("status", "restored");
        if (!note.empty()) object.add("reason", note);
        out_ << object.text() << "\n";
    } else if (!quiet_) {
        out_ << Shown(source) << ": restored" << (note.empty() ? "" : "; " + note) << "\n";
    }
}

void QmkReport::alreadyInitial(const std::string& source)
{
    if (json_)
        out_ << JsonObject().add("type", "file").add("source", source).add("status", "unchanged").text() << "\n";
    else if (!quiet_)
        out_ << Shown(source) << ": holds its initial text already\n";
}

void QmkReport::failure(const std::string& text)
{
    failed_ = true;
    error(text);
}

void QmkReport::notRestored(const std::string& source, const std::string& reason)
{
    ++failedFiles_;
    failed_ = true;
    error(Shown(source) + ": not restored: " + reason);
    if (json_)
        out_ << JsonObject()
                    .add("type", "file")
                    .add("source", source)
                    .add("status", "failed")
                    .add("reason", reason)
                    .text()
             << "\n";
}

void QmkReport::summary(const RunStatistics& statistics, std::int64_t filesProcessed,
    std::chrono::steady_clock::duration elapsed, int exitStatus)
{
    const std::int64_t removed = statistics.totalInitial - statistics.totalOptimized;
    const std::int64_t average = filesProcessed ? statistics.ratioSum / filesProcessed : 0;
    if (json_) {
        const double seconds = std::chrono::duration<double>(elapsed).count();
        out_ << JsonObject()
                    .add("type", "summary")
                    .add("files", filesProcessed)
                    .add("written", written_)
                    .add("skipped", skipped_)
                    .add("failed", failedFiles_)
                    .add("copied", copied_)
                    .add("unchanged", unchanged_)
                    .add("initialSize", statistics.totalInitial)
                    .add("optimizedSize", statistics.totalOptimized)
                    .add("bytesRemoved", removed)
                    .add("averageRatio", average)
                    .add("maxRatio", statistics.maxRatio)
                    .add("seconds", seconds)
                    .add("exitStatus", exitStatus)
                    .text()
             << "\n";
        return;
    }
    if (quiet_) return;
    out_ << "Files processed: " << filesProcessed << "\n"
         << "Bytes removed: " << removed << "\n"
         << "Average optimization ratio: " << average << " %\n"
         << "Max optimization ratio: " << statistics.maxRatio << " %\n";
    if (copied_ || unchanged_)
        out_ << "Files copied: " << copied_ << " (" << copiedBytes_ << " bytes), already there: " << unchanged_ << "\n";
    out_ << "Time elapsed: " << DurationText(elapsed) << "\n";
}

void QmkReport::restoreSummary(int exitStatus)
{
    if (!json_) return;
    out_ << JsonObject()
                .add("type", "summary")
                .add("restored", restored_)
                .add("failed", failedFiles_)
                .add("exitStatus", exitStatus)
                .text()
         << "\n";
}

} // namespace qm
