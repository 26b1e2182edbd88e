// Running the engine over the pages of a run: on the calling thread, or ahead of it on a pool of threads.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_data.h"
#include "engine/messages.h"
#include "engine/optimize.h"
#include "options/option_set.h"

namespace qm {

class FileSystem;

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
    // The optimized page of the source whose bytes the run has just read.
    virtual OptimizedPage optimize(const std::string& source, std::string bytes, const TOptionSet& options,
        const EngineData& data, MessageSink& messages, const InterruptCheck& interrupted) = 0;
    // After the run: stops any work ahead.
    virtual void finish() { }
};

// Every page on the calling thread, in turn; the engine's interrupt checks reach the user.
class InlinePageOptimizer final : public PageOptimizer {
public:
    OptimizedPage optimize(const std::string& source, std::string bytes, const TOptionSet& options,
        const EngineData& data, MessageSink& messages, const InterruptCheck& interrupted) override;
};

// Reads and optimizes the pages ahead of the run on `jobs` threads (the
// engine is a pure function of the bytes, the options and the data). The run
// still reads each page itself, in panel order: a result is used only when
// the worker read exactly the same bytes, so a page that an earlier file's
// placement rewrote is optimized again on the calling thread, and the
// outputs are those of a run on one thread. The workers use the options as
// they were at prepare(); runs whose options change underway use the inline one.
class ParallelPageOptimizer final : public PageOptimizer {
public:
    ParallelPageOptimizer(FileSystem& fs, unsigned jobs);
    ~ParallelPageOptimizer() override;
    ParallelPageOptimizer(const ParallelPageOptimizer&) = delete;
    ParallelPageOptimizer& operator=(const ParallelPageOptimizer&) = delete;

    void prepare(const std::vector<std::string>& sources, const TOptionSet& options, const EngineData& data) override;
    void reached(const std::string& source) override;
    OptimizedPage optimize(const std::string& source, std::string bytes, const TOptionSet& options,
        const EngineData& data, MessageSink& messages, const InterruptCheck& interrupted) override;
    void finish() override;

    // How many pages came from the workers and how many were done again here (for tests).
    std::size_t pagesFromWorkers() const { return fromWorkers_; }
    std::size_t pagesRedone() const { return redone_; }

private:
    struct Shared;
    FileSystem& fs_;
    unsigned jobs_;
    std::shared_ptr<Shared> shared_;
    std::size_t fromWorkers_ = 0;
    std::size_t redone_ = 0;
};

} // namespace qm
