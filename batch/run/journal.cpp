// The journal's file format, its replay, and the lock that serialises runs over one folder.
#include "batch/run/journal.h"

#include <algorithm>
#include <random>

#include "base/content_hash.h"
#include "base/text_lines.h"

namespace qm {
namespace {

constexpr std::string_view kHeader =
    "# Quillmark journal 1. One record a line, fields separated by tabs, control characters and % as %XX:\n"
    "#   entry ID backup|copy SOURCE NAME ORIGINAL-SIZE ORIGINAL-HASH WRITTEN-SIZE WRITTEN-HASH MODE OWNER GROUP\n"
    "#   moved FROM-NAME TO-NAME\n"
    "#   settled ID restored|deleted|dropped|replaced\n"
    "# NAME is relative to this folder; a HASH is BLAKE2b-256, as `b2sum -l 256` prints it.\n";

bool ParseNumber(std::string_view text, int base, std::uint64_t& value)
{
    if (text.empty() || text.size() > 20) return false;
    value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (digit < 0 || digit >= base) return false;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    return true;
}

bool IsHash(std::string_view text)
{
    return text.size() == 64 &&
        std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string OctalText(std::uint32_t value)
{
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + (value & 7)));
        value >>= 3;
    } while (value != 0);
    return text;
}

bool IsBelow(const std::string& path, const std::string& folder, bool recursive)
{
    if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
    return recursive || path.find(kPathSeparator, folder.size()) == std::string::npos;
}

} // namespace

ContentStamp ContentStamp::Of(std::string_view bytes)
{
    return ContentStamp {static_cast<std::int64_t>(bytes.size()), ContentHash(bytes)};
}

Journal& JournalSet::of(const std::string& folder)
{
    const std::string key = WithTrailingSeparator(fs_.absolute(folder));
    std::unique_ptr<Journal>& journal = journals_[key];
    if (!journal) journal = std::make_unique<Journal>(fs_, key);
    return *journal;
}

std::vector<Journal*> JournalSet::all() const
{
    std::vector<Journal*> journals;
    for (const auto& [folder, journal] : journals_) journals.push_back(journal.get());
    return journals;
}

std::string EscapeJournalField(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0xF];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeJournalField(std::string_view text)
{
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 && digit(text[i + 2]) >= 0) {
            plain += static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2]));
            i += 2;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

Journal::Journal(FileSystem& fs, const std::string& folder)
    : fs_(fs)
    , folder_(WithTrailingSeparator(fs.absolute(folder)))
{
    std::random_device random;
    static constexpr char kHex[] = "0123456789abcdef";
    for (int i = 0; i < 3; ++i) {
        const unsigned value = random();
        for (int nibble = 0; nibble < 4; ++nibble) idPrefix_ += kHex[(value >> (4 * nibble)) & 0xF];
    }
}

std::string Journal::nameOf(const std::string& path) const
{
    if (path.size() <= folder_.size() || path.compare(0, folder_.size(), folder_) != 0) return {};
    return path.substr(folder_.size());
}

std::string Journal::newId() { return idPrefix_ + "-" + std::to_string(++nextId_); }

Status Journal::refresh()
{
    Expected<FileIdentity> identity = fs_.identify(path());
    if (!identity) {
        if (identity.failure() != Failure::NotFound) return identity.status();
        forget();
        return Status::Ok();
    }
    // A journal rewritten by a compaction is another file: read it from its start.
    if (identity->inode != inode_ || identity->device != device_ || identity->size < consumed_) {
        forget();
        inode_ = identity->inode;
        device_ = identity->device;
    }
    if (identity->size == consumed_) return Status::Ok();
    Expected<std::string> bytes = fs_.readBytesFrom(path(), consumed_);
    if (!bytes) return bytes.status();
    consumed_ += static_cast<std::int64_t>(bytes->size());
    pending_ += *bytes;
    std::size_t start = 0;
    for (std::size_t end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n', start)) {
        apply(std::string_view(pending_).substr(start, end - start));
        start = end + 1;
    }
    pending_.erase(0, start);
    return Status::Ok();
}

void Journal::apply(std::string_view line)
{
    if (line.empty() || line[0] == '#') return;
    const std::vector<std::string_view> fields = SplitFields(line, '\t');
    if (fields[0] == "entry" && fields.size() == 13) {
        JournalEntry entry;
        entry.id = std::string(fields[1]);
        if (fields[2] == "backup")
            entry.kind = RecordKind::Backup;
        else if (fields[2] == "copy")
            entry.kind = RecordKind::Copy;
        else
            return;
        entry.source = UnescapeJournalField(fields[3]);
        entry.name = UnescapeJournalField(fields[4]);
        std::uint64_t originalSize = 0, writtenSize = 0, mode = 0, owner = 0, group = 0;
        if (!ParseNumber(fields[5], 10, originalSize) || !IsHash(fields[6]) ||
            !ParseNumber(fields[7], 10, writtenSize) || !IsHash(fields[8]) || !ParseNumber(fields[9], 8, mode) ||
            !ParseNumber(fields[10], 10, owner) || !ParseNumber(fields[11], 10, group))
            return;
        if (entry.id.empty() || entry.source.empty() || entry.name.empty() || find(entry.id)) return;
        entry.original = {static_cast<std::int64_t>(originalSize), std::string(fields[6])};
        entry.written = {static_cast<std::int64_t>(writtenSize), std::string(fields[8])};
        entry.mode = static_cast<std::uint32_t>(mode);
        entry.owner = static_cast<std::uint32_t>(owner);
        entry.group = static_cast<std::uint32_t>(group);
        // fields[12] is left for later versions; it is empty today.
        indexById_.emplace(entry.id, entries_.size());
        indexBySource_[entry.source].push_back(entries_.size());
        indexByName_[entry.name].push_back(entries_.size());
        entries_.push_back(std::move(entry));
    } else if (fields[0] == "moved" && fields.size() == 3) {
        const std::string from = UnescapeJournalField(fields[1]);
        const std::string to = UnescapeJournalField(fields[2]);
        auto at = indexByName_.find(from);
        if (at == indexByName_.end()) return;
        std::vector<std::size_t> staying, moving;
        for (std::size_t index : at->second) (entries_[index].live() ? moving : staying).push_back(index);
        at->second = std::move(staying);
        for (std::size_t index : moving) {
            JournalEntry& entry = entries_[index];
            entry.formerNames.push_back(entry.name);
            entry.name = to;
        }
        std::vector<std::size_t>& there = indexByName_[to];
        there.insert(there.end(), moving.begin(), moving.end());
        std::sort(there.begin(), there.end());
    } else if (fields[0] == "settled" && fields.size() == 3) {
        if (JournalEntry* entry = findMutable(std::string(fields[1])); entry && entry->live())
            entry->settled = fields[2].empty() ? "settled" : std::string(fields[2]);
    }
}

void Journal::forget()
{
    entries_.clear();
    indexById_.clear();
    indexBySource_.clear();
    indexByName_.clear();
    consumed_ = 0;
    pending_.clear();
}

const JournalEntry* Journal::find(const std::string& id) const
{
    auto found = indexById_.find(id);
    return found == indexById_.end() ? nullptr : &entries_[found->second];
}

JournalEntry* Journal::findMutable(const std::string& id)
{
    auto found = indexById_.find(id);
    return found == indexById_.end() ? nullptr : &entries_[found->second];
}

std::vector<const JournalEntry*> Journal::liveEntriesOf(const std::string& source, RecordKind kind) const
{
    std::vector<const JournalEntry*> found;
    auto indexes = indexBySource_.find(source);
    if (indexes == indexBySource_.end()) return found;
    for (auto it = indexes->second.rbegin(); it != indexes->second.rend(); ++it) {
        const JournalEntry& entry = entries_[*it];
        if (entry.live() && entry.kind == kind) found.push_back(&entry);
    }
    return found;
}

const JournalEntry* Journal::newestEntryOf(const std::string& source, RecordKind kind) const
{
    auto indexes = indexBySource_.find(source);
    if (indexes == indexBySource_.end()) return nullptr;
    for (auto it = indexes->second.rbegin(); it != indexes->second.rend(); ++it)
        if (entries_[*it].kind == kind) return &entries_[*it];
    return nullptr;
}

std::vector<const JournalEntry*> Journal::liveEntriesNamed(const std::string& name) const
{
    std::vector<const JournalEntry*> found;
    auto indexes = indexByName_.find(name);
    if (indexes == indexByName_.end()) return found;
    for (auto it = indexes->second.rbegin(); it != indexes->second.rend(); ++it)
        if (entries_[*it].live()) found.push_back(&entries_[*it]);
    return found;
}

const JournalEntry* Journal::entryThatWrote(const std::string& source, RecordKind kind, const ContentStamp& text) const
{
    for (const JournalEntry* entry : liveEntriesOf(source, kind))
        if (entry->written == text) return entry;
    return nullptr;
}

bool Journal::holdsOwnUnchangedCopy(
    const std::string& name, const std::string& source, const ContentStamp& current) const
{
    for (const JournalEntry* entry : liveEntriesNamed(name))
        if (entry->kind == RecordKind::Copy && entry->source == source && entry->written == current) return true;
    return false;
}

std::vector<const JournalEntry*> Journal::liveEntriesUnder(const std::string& pathOrFolder, bool recursive) const
{
    std::vector<const JournalEntry*> found;
    const bool folder = !pathOrFolder.empty() && pathOrFolder.back() == kPathSeparator;
    for (const JournalEntry& entry : entries_) {
        if (!entry.live()) continue;
        if (folder ? IsBelow(entry.source, pathOrFolder, recursive) : entry.source == pathOrFolder)
            found.push_back(&entry);
    }
    return found;
}

Status Journal::append(std::string line, bool sync)
{
    line += '\n';
    // The first record of a new journal says what the journal is.
    if (!fs_.exists(path())) line = std::string(kHeader) + line;
    Expected<std::int64_t> before = fs_.appendRecord(path(), line, sync);
    if (!before) return before.status();
    // The record went right after what was replayed (the caller holds the lock, so no other run wrote
    // between): it is replayed here instead of read back. A journal replaced meanwhile shows at the next
    // refresh, which every decision makes first, as another file read from its start.
    if (consumed_ > 0 && *before == consumed_ && pending_.empty()) {
        consumed_ += static_cast<std::int64_t>(line.size());
        apply(std::string_view(line).substr(0, line.size() - 1));
        return Status::Ok();
    }
    return refresh();
}

Status Journal::record(JournalEntry& entry)
{
    if (Status read = refresh(); !read) return read;
    entry.id = newId();
    entry.settled.clear();
    entry.formerNames.clear();
    std::string line = "entry\t" + entry.id + "\t" + (entry.kind == RecordKind::Backup ? "backup" : "copy") + "\t" +
        EscapeJournalField(entry.source) + "\t" + EscapeJournalField(entry.name) + "\t" +
        std::to_string(entry.original.size) + "\t" + entry.original.hash + "\t" + std::to_string(entry.written.size) +
        "\t" + entry.written.hash + "\t" + OctalText(entry.mode) + "\t" + std::to_string(entry.owner) + "\t" +
        std::to_string(entry.group) + "\t";
    return append(std::move(line), entry.kind == RecordKind::Backup);
}

Status Journal::recordMove(const std::string& from, const std::string& to)
{
    return append("moved\t" + EscapeJournalField(from) + "\t" + EscapeJournalField(to), true);
}

Status Journal::recordSettled(const std::string& id, std::string_view how)
{
    const JournalEntry* entry = find(id);
    return append("settled\t" + id + "\t" + std::string(how), !entry || entry->kind == RecordKind::Backup);
}

Journal::Lock::Lock(Lock&& other) noexcept
    : journal_(other.journal_)
{
    other.journal_ = nullptr;
}

Journal::Lock& Journal::Lock::operator=(Lock&& other) noexcept
{
    if (this != &other) {
        Lock gone(std::move(*this));
        journal_ = other.journal_;
        other.journal_ = nullptr;
    }
    return *this;
}

Journal::Lock::~Lock()
{
    if (journal_ && --journal_->lockDepth_ == 0) journal_->held_ = FileLock();
}

Expected<Journal::Lock> Journal::lock()
{
    if (lockDepth_ == 0) {
        // The folder is locked, not the journal: a compaction replaces the journal's file.
        Expected<FileLock> taken = fs_.lockFile(WithoutTrailingSeparator(folder_));
        if (!taken) return taken.status();
        held_ = std::move(*taken);
    }
    ++lockDepth_;
    return Lock(this);
}

Status Journal::compactIfMostlySettled()
{
    constexpr std::size_t kWorthIt = 256;
    const auto live = static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const JournalEntry& entry) { return entry.live(); }));
    if (entries_.size() < kWorthIt || live * 2 > entries_.size()) return Status::Ok();
    std::string text(kHeader);
    for (const JournalEntry& entry : entries_) {
        if (!entry.live()) continue;
        const std::string firstName = entry.formerNames.empty() ? entry.name : entry.formerNames.front();
        text += "entry\t" + entry.id + "\t" + (entry.kind == RecordKind::Backup ? "backup" : "copy") + "\t" +
            EscapeJournalField(entry.source) + "\t" + EscapeJournalField(firstName) + "\t" +
            std::to_string(entry.original.size) + "\t" + entry.original.hash + "\t" +
            std::to_string(entry.written.size) + "\t" + entry.written.hash + "\t" + OctalText(entry.mode) + "\t" +
            std::to_string(entry.owner) + "\t" + std::to_string(entry.group) + "\t\n";
        // The names it had stay known, for a move that a crash left half done.
        std::string from = firstName;
        for (std::size_t i = 1; i <= entry.formerNames.size(); ++i) {
            const std::string& to = i < entry.formerNames.size() ? entry.formerNames[i] : entry.name;
            text += "moved\t" + EscapeJournalField(from) + "\t" + EscapeJournalField(to) + "\n";
            from = to;
        }
    }
    ReplaceOptions options;
    options.sync = true;
    if (Status written = fs_.replaceFile(path(), text, options); !written) return written;
    return refresh();
}

} // namespace qm
