// The two ways of running the engine over a run's pages.
#include "batch/run/page_optimizer.h"

#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>
#include <utility>

namespace qm {
namespace {

// Keeps the engine's messages until the run reaches its page.
class BufferedSink final : public MessageSink {
public:
    explicit BufferedSink(std::vector<std::pair<MessageKind, std::string>>& messages)
        : messages_(messages)
    {
    }
    void report(MessageKind kind, std::string_view text) override { messages_.emplace_back(kind, std::string(text)); }

private:
    std::vector<std::pair<MessageKind, std::string>>& messages_;
};

} // namespace

PreparedPage ReadPage(FileSystem& fs, const std::string& source, std::string& bytes)
{
    PreparedPage page;
    Expected<std::string> read = fs.readFile(source, page.identity);
    if (!read) {
        page.read = read.status();
        return page;
    }
    bytes = std::move(*read);
    page.original = ContentStamp::Of(bytes);
    return page;
}

PreparedPage ReadAndOptimize(FileSystem& fs, const std::string& source, const TOptionSet& options,
    const EngineData& data, const InterruptCheck& interrupted)
{
    std::string bytes;
    PreparedPage page = ReadPage(fs, source, bytes);
    if (!page.read || bytes.empty()) return page;
    BufferedSink sink(page.messages);
    page.optimized = OptimizePageBytes(std::move(bytes), options, data, sink, interrupted);
    if (page.optimized.outcome == PipelineOutcome::Completed) page.written = ContentStamp::Of(page.optimized.bytes);
    return page;
}

PreparedPage InlinePageOptimizer::page(const std::string& source, const FileIdentity*, const TOptionSet& options,
    const EngineData& data, const InterruptCheck& interrupted)
{
    return ReadAndOptimize(fs_, source, options, data, interrupted);
}

struct ParallelPageOptimizer::Shared {
    struct Slot {
        bool done = false;
        PreparedPage page;

        // A slot whose page the run has taken or passed over.
        static Slot Emptied()
        {
            Slot slot;
            slot.done = true;
            return slot;
        }
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> sources;
    std::unordered_map<std::string, std::size_t> indexOf;
    std::vector<Slot> slots;
    std::size_t next = 0; // the next page a worker takes
    std::size_t reached = 0; // the run's position: workers stay within a window ahead of it
    std::size_t window = 1;
    // The optimized texts waiting for the run. Pages differ a hundredfold in
    // size, so the window is wide (a worker must not idle while the run waits
    // for one long page), and this bounds the memory a wide window could take.
    std::size_t heldBytes = 0;
    std::size_t heldLimit = 0;
    bool stop = false;
    TOptionSet options;
    const EngineData* data = nullptr;
    std::vector<std::thread> workers;
};

ParallelPageOptimizer::ParallelPageOptimizer(FileSystem& fs, unsigned jobs, std::size_t heldBytesLimit)
    : fs_(fs)
    , jobs_(jobs == 0 ? 1 : jobs)
    , heldBytesLimit_(heldBytesLimit)
{
}

std::size_t ParallelPageOptimizer::heldBytes() const
{
    if (!shared_) return 0;
    std::lock_guard lock(shared_->mutex);
    return shared_->heldBytes;
}

ParallelPageOptimizer::~ParallelPageOptimizer() { finish(); }

void ParallelPageOptimizer::prepare(
    const std::vector<std::string>& sources, const TOptionSet& options, const EngineData& data)
{
    finish();
    auto shared = std::make_shared<Shared>();
    shared->sources = sources;
    for (std::size_t i = 0; i < sources.size(); ++i) shared->indexOf.emplace(sources[i], i);
    shared->slots.resize(sources.size());
    shared->window = std::size_t {jobs_} * 32;
    shared->heldLimit = heldBytesLimit_;
    shared->options = options;
    shared->data = &data;
    FileSystem* fs = &fs_;
    for (unsigned j = 0; j < jobs_; ++j) {
        shared->workers.emplace_back([shared = shared.get(), fs] {
            std::unique_lock lock(shared->mutex);
            for (;;) {
                shared->changed.wait(lock, [&] {
                    return shared->stop || shared->next >= shared->sources.size() ||
                        (shared->next < shared->reached + shared->window &&
                            (shared->heldBytes <= shared->heldLimit || shared->next <= shared->reached));
                });
                if (shared->stop || shared->next >= shared->sources.size()) return;
                const std::size_t index = shared->next++;
                const std::string source = shared->sources[index];
                lock.unlock();
                Shared::Slot slot;
                try {
                    slot.page = ReadAndOptimize(*fs, source, shared->options, *shared->data);
                } catch (const std::bad_alloc&) {
                    // The run does this page again itself and fails it by name; the other pages go on.
                    slot = Shared::Slot {};
                    slot.page.read = Status::Fail("not enough memory");
                }
                slot.done = true;
                lock.lock();
                if (index < shared->reached) slot = Shared::Slot::Emptied(); // the run passed the page over meanwhile
                shared->heldBytes += slot.page.optimized.bytes.size();
                shared->slots[index] = std::move(slot);
                shared->changed.notify_all();
            }
        });
    }
    shared_ = std::move(shared);
}

void ParallelPageOptimizer::reached(const std::string& source)
{
    if (!shared_) return;
    std::lock_guard lock(shared_->mutex);
    auto found = shared_->indexOf.find(source);
    if (found == shared_->indexOf.end() || found->second < shared_->reached) return;
    // The pages passed over (unchecked, gone, failed before reading) give their room back.
    for (std::size_t index = shared_->reached; index < found->second; ++index) {
        Shared::Slot& slot = shared_->slots[index];
        if (!slot.done) continue; // its worker drops it when it is done
        shared_->heldBytes -= slot.page.optimized.bytes.size();
        slot = Shared::Slot::Emptied();
    }
    shared_->reached = found->second;
    shared_->changed.notify_all();
}

PreparedPage ParallelPageOptimizer::page(const std::string& source, const FileIdentity* current,
    const TOptionSet& options, const EngineData& data, const InterruptCheck& interrupted)
{
    if (shared_) {
        reached(source);
        std::unique_lock lock(shared_->mutex);
        auto found = shared_->indexOf.find(source);
        if (found != shared_->indexOf.end()) {
            Shared::Slot& slot = shared_->slots[found->second];
            shared_->changed.wait(lock, [&] { return slot.done || shared_->stop; });
            Shared::Slot taken = std::move(slot);
            slot = Shared::Slot::Emptied();
            shared_->heldBytes -= taken.page.optimized.bytes.size();
            shared_->changed.notify_all();
            lock.unlock();
            if (taken.page.read && current && taken.page.identity.sameState(*current)) {
                ++fromWorkers_;
                return std::move(taken.page);
            }
        }
    }
    ++redone_;
    return ReadAndOptimize(fs_, source, options, data, interrupted);
}

void ParallelPageOptimizer::finish()
{
    if (!shared_) return;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
        shared_->changed.notify_all();
    }
    for (std::thread& worker : shared_->workers) worker.join();
    shared_.reset();
}

} // namespace qm
