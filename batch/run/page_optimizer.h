// Running the engine over the pages of a run: on the calling thread, or ahead of it on a pool of threads.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"
#include "batch/run/journal.h"
#include "engine/engine_data.h"
#include "engine/messages.h"
#include "engine/optimize.h"
#include "options/option_set.h"

namespace qm {

// A page read and run through the engine, with what the run records of it.
struct PreparedPage {
    Status read = Status::Ok(); // why the page could not be read
    FileIdentity identity; // exactly the file that was read
    ContentStamp original; // of the bytes read
    OptimizedPage optimized;
    ContentStamp written; // of the optimized text, when the engine completed it
    // The engine's messages, kept until the run decides to go on with the page.
    std::vector<std::pair<MessageKind, std::string>> messages;
};

// Reads the page and stamps it: its bytes go to `bytes`, a failure to the page's `read`.
PreparedPage ReadPage(FileSystem& fs, const std::string& source, std::string& bytes);
// Reads the page, optimizes it (an empty page is left to the run) and stamps both texts.
PreparedPage ReadAndOptimize(FileSystem& fs, const std::string& source, const TOptionSet& options,
    const EngineData& data, const InterruptCheck& interrupted = {});

class PageOptimizer {
public:
    virtual ~PageOptimizer() = default;
    // Before a run: the checked sources in panel order.
    virtual void prepare(
        const std::vector<std::string>& /*sources*/, const TOptionSet& /*options*/, const EngineData& /*data*/)
    {
    }
    // The run has reached this source (whether or not it optimizes it).
    virtual void reached(const std::string& /*source*/) { }
    // The source read and optimized; `current` is its identity as the run
    // found it a moment ago (null when it could not be found).
    virtual PreparedPage page(const std::string& source, const FileIdentity* current, const TOptionSet& options,
        const EngineData& data, const InterruptCheck& interrupted) = 0;
    // After the run: stops any work ahead.
    virtual void finish() { }
};

// Every page on the calling thread, in turn; the engine's interrupt checks reach the user.
class InlinePageOptimizer final : public PageOptimizer {
public:
    explicit InlinePageOptimizer(FileSystem& fs)
        : fs_(fs)
    {
    }
    PreparedPage page(const std::string& source, const FileIdentity* current, const TOptionSet& options,
        const EngineData& data, const InterruptCheck& interrupted) override;

private:
    FileSystem& fs_;
};

// Reads, optimizes and stamps the pages ahead of the run on `jobs` threads
// (the engine is a pure function of the bytes, the options and the data), so
// the run's own thread only checks and writes. A worker's result is used only
// when the page is still exactly the file the worker read (same file, size
// and modification time): a page that an earlier file's placement rewrote is
// read and optimized again on the calling thread, and the outputs are those of
// a run on one thread. The workers use the options as they were at prepare();
// runs whose options change underway use the inline one.
class ParallelPageOptimizer final : public PageOptimizer {
public:
    // The optimized texts the workers may hold ahead of the run before they
    // wait for it (a page already started is always finished).
    static constexpr std::size_t kHeldBytesLimit = 64u << 20;

    ParallelPageOptimizer(FileSystem& fs, unsigned jobs, std::size_t heldBytesLimit = kHeldBytesLimit);
    ~ParallelPageOptimizer() override;
    ParallelPageOptimizer(const ParallelPageOptimizer&) = delete;
    ParallelPageOptimizer& operator=(const ParallelPageOptimizer&) = delete;

    void prepare(const std::vector<std::string>& sources, const TOptionSet& options, const EngineData& data) override;
    void reached(const std::string& source) override;
    PreparedPage page(const std::string& source, const FileIdentity* current, const TOptionSet& options,
        const EngineData& data, const InterruptCheck& interrupted) override;
    void finish() override;

    // How many pages came from the workers and how many were done again here (for tests).
    std::size_t pagesFromWorkers() const { return fromWorkers_; }
    std::size_t pagesRedone() const { return redone_; }
    // The optimized texts done ahead of the run, waiting for it.
    std::size_t heldBytes() const;

private:
    struct Shared;
    FileSystem& fs_;
    unsigned jobs_;
    std::size_t heldBytesLimit_;
    std::shared_ptr<Shared> shared_;
    std::size_t fromWorkers_ = 0;
    std::size_t redone_ = 0;
};

} // namespace qm
