// What a run keeps: statistics, the processed-files list, per-file outcomes, the run window and its clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "batch/model/user_interface.h"

namespace qm {

// Sizes and sums are 64-bit, so sites of any size add up.
struct RunStatistics {
    std::int64_t initialSize = 0; // the current source, before it is read
    std::int64_t optimizedSize = 0; // the current output, after it is written
    std::int64_t totalInitial = 0; // over the files written by this run
    std::int64_t totalOptimized = 0;
    std::int64_t ratioSum = 0;
    int maxRatio = 0; // the largest ratio of all runs since the program started
};

enum class FileStatus { Written, Skipped, Failed };

// What happened to one checked row of a run.
struct FileOutcome {
    std::string source;
    FileStatus status = FileStatus::Failed;
    std::string reason; // why it was skipped or failed, for the user
    bool answeredByUser = false; // skipped because the overwrite confirmation was answered Skip
    std::int64_t initialSize = -1;
    std::int64_t optimizedSize = -1;
    std::optional<int> ratio;
    std::string writtenTo;
};

// An entry of the processed-files list, with what the run did to the file,
// so that "Cancel last optimization" undoes exactly that.
struct ProcessedFile {
    std::string source;
    std::string writtenTo; // where the optimized text went
    std::string backupPath; // where the initial copy went; empty when none was kept
    // The folder whose journal records the backup or the copy; empty when
    // nothing was recorded (sources replaced without a backup).
    std::string journalFolder;
    // Without a journal ("Rename" kept the initial text beside the page):
    // the digests that a restore checks before it moves anything.
    std::string originalHash;
    std::string writtenHash;
};

// The overwrite confirmation's memory for one of its two questions during a run.
struct QuestionMemory {
    bool ask = true;
    OverwriteAnswer remembered = OverwriteAnswer::Skip; // Overwrite or Skip, used while ask is off
};

struct ConfirmationState {
    QuestionMemory backup;
    QuestionMemory copy;
    void startRun()
    {
        backup.ask = true;
        copy.ask = true;
    }
};

inline constexpr const char* kReadyForOptimization = "ready for optimization";
inline constexpr const char* kOptimizationInProgress = "optimization in a progress ...";

// TfrmReport as data: the window draws it after stateChanged.
struct RunWindowState {
    bool visible = false;
    int page = 1;
    std::string caption = "Optimization";
    // Page "1".
    std::string fcount = "0";
    std::string filessize = "0";
    std::string labPathComment = "Optimized files will be saved in:";
    std::string labPathForOptimized = "Folder"; // its hint repeats it
    std::string labStatus = kReadyForOptimization;
    std::string time_status;
    std::string butStartCaption = "Start";
    bool butStartEnabled = true;
    std::string butCancelCaption = "Cancel";
    bool butCancelEnabled = true;
    // Long work: files done out of the files checked, and the file in hand.
    std::size_t filesDone = 0;
    std::size_t filesTotal = 0;
    std::string fileInHand;
    // Page "2".
    std::string fdone = "0";
    std::string skipped; // "skipped: n" under fdone when the user kept n files in the way; empty otherwise
    std::string deleted = "0";
    std::string midk = "0";
    std::string mk = "0";
    std::string elapsed = "0";
};

// The run clock; the window's timer calls Timer1Timer every 100 milliseconds.
struct RunClock {
    bool clockRunning = false;
    std::chrono::steady_clock::time_point runStart;
    std::function<std::chrono::steady_clock::time_point()> now = [] { return std::chrono::steady_clock::now(); };
};

struct RunState {
    RunStatistics statistics;
    std::vector<ProcessedFile> processed; // the processed-files list of the last run
    std::vector<FileOutcome> outcomes; // every checked row of the last run
    ConfirmationState confirmation;
    RunWindowState window;
    RunClock clock;
    bool restoreWarning = true; // a missing backup copy is still to be reported
    // The desktop program lists the files a run could not handle in one
    // message at its end; qmk reports them file by file itself.
    bool reportFileProblems = true;
    // A build tool runs again into its own outputs: a copy of the page that
    // the output folder's journal records as written by a run and unchanged
    // since is replaced without the copy question (qmk; the desktop program asks).
    bool replaceOwnUnchangedCopies = false;
    // The desktop program keeps the processed-files list in its program
    // folder between sessions; qmk's runs leave that list alone.
    bool rememberLastRun = false;
};

} // namespace qm
