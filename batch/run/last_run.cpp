// Writing, reading and checking the last run's processed-files list in the program folder.
#include "batch/run/last_run.h"

#include <algorithm>

#include "base/ascii.h"
#include "base/text_lines.h"
#include "batch/model/main_model.h"
#include "batch/run/journal.h"

namespace qm {
namespace {

constexpr std::string_view kHeader = "Quillmark last run\t1";
constexpr std::size_t kFileFields = 7;

bool IsDigest(std::string_view text)
{
    return text.empty() || (text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    }));
}

bool IsAbsoluteOrEmpty(const std::string& path) { return path.empty() || path.front() == kPathSeparator; }

Status Damaged(std::size_t line, std::string_view what)
{
    return Status::Fail("line " + std::to_string(line) + ": " + std::string(what));
}

Expected<ProcessedFile> ParseFileLine(const std::vector<std::string_view>& fields, std::size_t line)
{
    if (fields.size() != kFileFields) return Damaged(line, "a file line has the wrong number of fields");
    ProcessedFile file;
    file.source = UnescapeJournalField(fields[1]);
    file.writtenTo = UnescapeJournalField(fields[2]);
    file.backupPath = UnescapeJournalField(fields[3]);
    file.journalFolder = UnescapeJournalField(fields[4]);
    file.originalHash = std::string(fields[5]);
    file.writtenHash = std::string(fields[6]);
    if (file.source.empty() || file.writtenTo.empty()) return Damaged(line, "a file line names no page");
    for (const std::string* path : {&file.source, &file.writtenTo, &file.backupPath, &file.journalFolder})
        if (!IsAbsoluteOrEmpty(*path)) return Damaged(line, "a path is not absolute");
    if (!IsDigest(file.originalHash) || !IsDigest(file.writtenHash)) return Damaged(line, "a digest is malformed");
    return file;
}

void Warn(MainModel& model, const std::string& path, const std::string& reason)
{
    ShowMessage(model.ui, MessageKind::Warning,
        "The list of the last optimization's files could not be kept in " + Quoted(path) + ":\r" + reason +
            "\r\"Cancel last optimization\" works until the program quits; after that, "
            "\"Restore checked files\" restores the pages.");
}

} // namespace

std::string LastRunPath(const std::string& programFolder)
{
    return WithTrailingSeparator(programFolder) + std::string(kLastRunFileName);
}

std::string FormatLastRun(const LastRun& run)
{
    std::string text(kHeader);
    text += "\nmode\t";
    text += run.modify ? "modify" : "copies";
    text += "\n";
    for (const ProcessedFile& file : run.files) {
        text += "file";
        for (const std::string* path : {&file.source, &file.writtenTo, &file.backupPath, &file.journalFolder})
            text += "\t" + EscapeJournalField(*path);
        text += "\t" + file.originalHash + "\t" + file.writtenHash + "\n";
    }
    // The count closes the list, so a list cut short is told from a short list.
    text += "end\t" + std::to_string(run.files.size()) + "\n";
    return text;
}

Expected<LastRun> ParseLastRun(std::string_view text)
{
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty() || lines.front() != kHeader) return Status::Fail("it is not a list of a run's files");
    LastRun run;
    bool modeSeen = false;
    bool ended = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t number = i + 1;
        if (ended) {
            if (!lines[i].empty()) return Damaged(number, "text after the end of the list");
            continue;
        }
        const std::vector<std::string_view> fields = SplitFields(lines[i], '\t');
        if (fields[0] == "mode" && fields.size() == 2 && !modeSeen &&
            (fields[1] == "modify" || fields[1] == "copies")) {
            run.modify = fields[1] == "modify";
            modeSeen = true;
        } else if (fields[0] == "file" && modeSeen) {
            Expected<ProcessedFile> file = ParseFileLine(fields, number);
            if (!file) return file.status();
            run.files.push_back(std::move(*file));
        } else if (fields[0] == "end" && modeSeen && fields.size() == 2 &&
            fields[1] == std::to_string(run.files.size())) {
            ended = true;
        } else {
            return Damaged(number, "unexpected text");
        }
    }
    if (!ended) return Status::Fail("the list is cut short");
    return run;
}

bool StillUndoable(FileSystem& fs, const ProcessedFile& file)
{
    if (file.journalFolder.empty()) return !file.backupPath.empty() && fs.isFile(file.backupPath);
    Journal journal(fs, file.journalFolder);
    if (!journal.fileExists() || !journal.refresh()) return false;
    const RecordKind kind = file.writtenTo == file.source ? RecordKind::Backup : RecordKind::Copy;
    const std::vector<const JournalEntry*> live = journal.liveEntriesOf(file.source, kind);
    return std::any_of(live.begin(), live.end(), [&](const JournalEntry* entry) {
        if (fs.isFile(journal.pathOf(entry->name))) return true;
        // A move that a crash left half done: the file is still under a former name.
        return std::any_of(entry->formerNames.begin(), entry->formerNames.end(),
            [&](const std::string& name) { return fs.isFile(journal.pathOf(name)); });
    });
}

void RememberLastRun(MainModel& model)
{
    if (!model.run.rememberLastRun || model.state.programFolder.empty()) return;
    const std::string path = LastRunPath(model.state.programFolder);
    if (!model.state.menuBackUpLastEnabled || model.run.processed.empty()) {
        // A list that stays behind is harmless: its files are checked against the journals when it is read.
        if (model.fs.exists(path)) (void)model.fs.remove(path);
        return;
    }
    LastRun run;
    run.modify = model.options.flag(Opt::radModifyOld);
    run.files = model.run.processed;
    if (Status written = model.fs.writeAtomically(path, FormatLastRun(run)); !written)
        Warn(model, path, written.reason());
}

void RecallLastRun(MainModel& model)
{
    model.run.rememberLastRun = true;
    if (model.state.programFolder.empty()) return;
    const std::string path = LastRunPath(model.state.programFolder);
    if (!model.fs.exists(path)) return;
    Expected<std::string> text = model.fs.readBytes(path);
    if (!text) return;
    Expected<LastRun> run = ParseLastRun(*text);
    if (!run) return;
    std::vector<ProcessedFile> left;
    for (ProcessedFile& file : run->files)
        if (StillUndoable(model.fs, file)) left.push_back(std::move(file));
    model.run.processed = std::move(left);
    model.state.menuBackUpLastEnabled = !model.run.processed.empty();
}

} // namespace qm
