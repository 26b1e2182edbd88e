// What qmk prints about each file and the run: lines for people, JSON for machines, errors only when quiet.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "batch/model/run_state.h"
#include "cli/qmk_arguments.h"
#include "cli/site_sync.h"

namespace qm {

class TerminalUserInterface;

class QmkReport {
public:
    QmkReport(std::ostream& out, std::ostream& err, TerminalUserInterface& ui, const QmkArguments& args);

    void optimized(const FileOutcome& outcome);
    void copied(const CopyOutcome& outcome);
    // `note` says more, for instance where a changed page was kept.
    void restored(const std::string& source, const std::string& note = {});
    void alreadyInitial(const std::string& source);
    void notRestored(const std::string& source, const std::string& reason);
    // A line on standard error that makes the exit status 1.
    void failure(const std::string& text);
    // The closing figures of an optimizing run, with the exit status it ends with.
    void summary(const RunStatistics& statistics, std::int64_t filesProcessed,
        std::chrono::steady_clock::duration elapsed, int exitStatus);
    // The closing object of a restore (JSON only: people have read the lines).
    void restoreSummary(int exitStatus);

    // Any file that makes the exit status 1.
    bool failed() const { return failed_; }

private:
    void error(const std::string& text);

    std::ostream& out_;
    std::ostream& err_;
    TerminalUserInterface& ui_;
    bool json_;
    bool quiet_;
    ExistingTargets existing_;
    bool inPlace_;
    bool failed_ = false;
    std::int64_t written_ = 0, skipped_ = 0, failedFiles_ = 0, copied_ = 0, unchanged_ = 0, restored_ = 0;
    std::int64_t copiedBytes_ = 0;
};

} // namespace qm
