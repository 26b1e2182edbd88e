// The journal of a backup or output folder: what every run put there, for which page, holding which text.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/file_system.h"

namespace qm {

// A text as the journal knows it: its length and its BLAKE2b-256 digest.
struct ContentStamp {
    std::int64_t size = -1; // -1: unknown
    std::string hash;

    static ContentStamp Of(std::string_view bytes);
    bool known() const { return size >= 0; }
    bool operator==(const ContentStamp& other) const = default;
};

enum class RecordKind {
    Backup, // an initial copy in the backup folder of a page that was then replaced
    Copy, // an optimized copy in the output folder
};

// One backup or copy. Entries are only ever added; what happens later
// (a move to a numbered name, a restore) is recorded after them.
struct JournalEntry {
    std::string id; // unique in its journal
    RecordKind kind = RecordKind::Backup;
    std::string source; // the page's absolute path
    std::string name; // the backup or copy, relative to the journal's folder, where it is now
    std::vector<std::string> formerNames; // where it was before moves, oldest first
    ContentStamp original; // the page as the run read it
    ContentStamp written; // the text the run wrote over the page (Backup) or as its copy (Copy)
    std::uint32_t mode = 0; // the page's permission bits, owner and group when it was read
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::string settled; // empty while live; else how it ended: "restored", "deleted", "dropped", "replaced"

    bool live() const { return settled.empty(); }
};

// The journal file of one folder. Every change is appended before the file
// it describes is written, so the journal knows every backup and copy that may
// exist; the records that keep an original (backups, moves) are synced first,
// so that holds after a crash too. A lost record of an optimized copy costs
// only that a restore leaves the copy in place, so copies are not worth a sync
// each. The object's entries are always the replay of the file, other runs'
// records included.
//
// Runs that share a folder serialise their decisions with lock(): take it,
// refresh(), decide, record, make the backup, let go.
class Journal {
public:
    static constexpr std::string_view kFileName = ".quillmark-journal";

    // The journal of a backup or output folder (which need not exist yet).
    Journal(FileSystem& fs, const std::string& folder);

    const std::string& folder() const { return folder_; } // ends with a separator
    std::string path() const { return folder_ + std::string(kFileName); }
    bool fileExists() const { return fs_.exists(path()); }
    std::string pathOf(const std::string& name) const { return folder_ + name; }
    // A path below the folder as the journal names it; empty when it lies elsewhere.
    std::string nameOf(const std::string& path) const;

    // Reads what was appended since the last refresh (everything the first
    // time). A journal that does not exist is empty; malformed lines (a
    // record cut short by a crash) are passed over.
    Status refresh();
    const std::vector<JournalEntry>& entries() const { return entries_; }
    const JournalEntry* find(const std::string& id) const;

    // The live entries of a page, newest first.
    std::vector<const JournalEntry*> liveEntriesOf(const std::string& source, RecordKind kind) const;
    // The newest entry of a page, live or settled.
    const JournalEntry* newestEntryOf(const std::string& source, RecordKind kind) const;
    // The live entries whose file is at this name.
    std::vector<const JournalEntry*> liveEntriesNamed(const std::string& name) const;
    // The newest live entry of the page whose written text has this stamp:
    // the page (or its copy) holds exactly what that run wrote.
    const JournalEntry* entryThatWrote(const std::string& source, RecordKind kind, const ContentStamp& text) const;
    // True when the file at `name`, holding `current`, is the copy of this
    // page that a run wrote and nobody changed since: a later run may replace
    // it without asking. A copy of another page at that name is no such copy,
    // so two pages that map to one name never replace each other unasked.
    bool holdsOwnUnchangedCopy(const std::string& name, const std::string& source, const ContentStamp& current) const;
    // Live entries of pages at or below a folder (ending with a separator) or equal to a page path.
    std::vector<const JournalEntry*> liveEntriesUnder(const std::string& pathOrFolder, bool recursive) const;

    // Appends the entry (giving it an id); a backup's is synced.
    Status record(JournalEntry& entry);
    // The file at `from` is moving to `to` (both relative): every live entry there follows it.
    Status recordMove(const std::string& from, const std::string& to);
    // The entry has ended; it is no longer restored or replaced.
    Status recordSettled(const std::string& id, std::string_view how);

    // Serialises runs over this folder (the folder must exist). Taking it
    // again while this object holds it is allowed; it is let go when the
    // outermost lock goes.
    class Lock {
    public:
        Lock() = default;
        Lock(Lock&& other) noexcept;
        Lock& operator=(Lock&& other) noexcept;
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        ~Lock();

    private:
        friend class Journal;
        explicit Lock(Journal* journal)
            : journal_(journal)
        {
        }
        Journal* journal_ = nullptr;
    };
    Expected<Lock> lock();

    // Rewrites the journal with its live entries only, when most are settled
    // (taken under the lock by the caller's restore or run).
    Status compactIfMostlySettled();

private:
    Status append(std::string line, bool sync);
    void apply(std::string_view line);
    void forget();
    JournalEntry* findMutable(const std::string& id);
    std::string newId();

    FileSystem& fs_;
    std::string folder_;
    std::vector<JournalEntry> entries_;
    std::unordered_map<std::string, std::size_t> indexById_;
    std::unordered_map<std::string, std::vector<std::size_t>> indexBySource_;
    // The entries at each name, in the order they were recorded: every copy a run writes looks its name up, and a
    // scan of all entries there would make a run over a big site quadratic.
    std::unordered_map<std::string, std::vector<std::size_t>> indexByName_;
    std::uint64_t device_ = 0; // the journal file replayed
    std::uint64_t inode_ = 0;
    std::int64_t consumed_ = 0; // bytes of the file replayed so far
    std::string pending_; // a last line without its line end yet
    std::uint64_t nextId_ = 0;
    std::string idPrefix_;
    int lockDepth_ = 0;
    FileLock held_;
};

// The journals one command works with, one per folder, each read once and then kept up to date.
class JournalSet {
public:
    explicit JournalSet(FileSystem& fs)
        : fs_(fs)
    {
    }
    Journal& of(const std::string& folder);
    std::vector<Journal*> all() const;

private:
    FileSystem& fs_;
    std::map<std::string, std::unique_ptr<Journal>> journals_;
};

// A journal field: control characters and "%" as %XX, so a field holds no tab or line end.
std::string EscapeJournalField(std::string_view text);
std::string UnescapeJournalField(std::string_view text);

} // namespace qm
