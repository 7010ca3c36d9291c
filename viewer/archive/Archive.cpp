#include "Archive.h"

#include "ArchiveFailures.h"
#include "ArchiveSchema.h"
#include "ContentDigest.h"
#include "ImportNaming.h"
#include "SqliteStore.h"

#include "FileIO.h"
#include "ListingChanges.h"
#include "MessageTexts.h"
#include "SaveThroughTempFile.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace kovra::archive {

namespace {

using changes::FieldTexts;

constexpr std::size_t kStatus = static_cast<std::size_t>(Field::DataSyubetu);
constexpr std::size_t kPrice = static_cast<std::size_t>(Field::Kakaku);

std::string_view DigestBytes(const Digest& d) { return {reinterpret_cast<const char*>(d.data()), d.size()}; }

// A digest read back; a damaged one (not 32 bytes) matches none.
Digest DigestOf(std::string_view bytes)
{
    Digest d{};
    if (bytes.size() == d.size())
        std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(d.data()));
    return d;
}

[[noreturn]] void Damaged() { throw StoreError(Failure::Corrupt, "damaged texts"); }

// One listing of an import: where it stood in the file and its version.
struct Entry {
    std::int64_t ordinal = 0;
    std::int64_t listingId = 0;
    std::string number;
    std::int64_t versionId = 0;
    std::string digest;
    std::int64_t blockId = 0;
    std::int64_t offset = 0;
};

ImportRecord ReadImport(Statement& q)
{
    return {q.integer(0), std::string(q.text(1)), std::string(q.text(2)), static_cast<int>(q.integer(3)),
            std::string(q.text(4))};
}

// Rows an import hands its store at a time: few trips to a server, and
// little held in memory.
constexpr std::size_t kRowsPerWrite = 8192;

// The id after the highest of `table` (a name of the schema).
std::int64_t NextId(Store& s, std::string_view table)
{
    auto q = s.prepare("SELECT COALESCE(MAX(id), 0) + 1 FROM " + std::string(table));
    q->next();
    return q->integer(0);
}

constexpr std::string_view kImportColumns = "SELECT id, search_date, series, listing_count, file_name FROM imports ";

} // namespace

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// A listing's last stored version before the import, by number, and its
// place among the import's listings once it stood in the file.
struct Known {
    std::int64_t listingId = 0, versionId = 0;
    Digest digest{};
    std::int64_t slot = -1; // in the import's placed listings; -1: not in the file so far
    bool repeated = false;  // stood in the file more than once
};

// Known listings by number, for a hundred thousand and more: one open table
// of small slots, the numbers' bytes in one string and the states in a
// deque, whose elements stay where they are as it grows (a run's jobs point
// at them).
class KnownListings {
public:
    void reserve(std::size_t count)
    {
        std::size_t wanted = 16;
        while (wanted / 4 * 3 < count)
            wanted *= 2;
        if (wanted > slots_.size())
            rehash(wanted);
    }
    // The number's state; a number not yet known gets `state`.
    Known& get(std::string_view number, const Known& state = {})
    {
        if (values_.size() >= slots_.size() / 4 * 3)
            reserve(values_.size() + 1);
        const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(number));
        Slot& slot = slots_[place(number, hash)];
        if (slot.value == 0) {
            if (bytes_.size() + number.size() > kMost || values_.size() >= kMost)
                throw StoreError(Failure::Other, "too many listings");
            slot = {hash, static_cast<std::uint32_t>(bytes_.size()), static_cast<std::uint32_t>(number.size()),
                    static_cast<std::uint32_t>(values_.size() + 1)};
            bytes_ += number;
            values_.push_back(state);
        }
        return values_[slot.value - 1];
    }

    template <class Fn>
    void each(Fn&& fn) const
    {
        for (const Known& k : values_)
            fn(k);
    }

private:
    static constexpr std::size_t kMost = 0xFFFFFFFF;
    struct Slot {
        std::uint32_t hash, at, length;
        std::uint32_t value; // in values_, counted from 1; 0: empty
    };

    std::string_view numberOf(const Slot& slot) const { return std::string_view(bytes_).substr(slot.at, slot.length); }
    // The slot of `number`, or the empty one where it would go.
    std::size_t place(std::string_view number, std::uint32_t hash) const
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        while (slots_[i].value != 0 && (slots_[i].hash != hash || numberOf(slots_[i]) != number))
            i = (i + 1) & mask;
        return i;
    }
    void rehash(std::size_t size)
    {
        std::vector<Slot> old(size, Slot{0, 0, 0, 0});
        old.swap(slots_);
        for (const Slot& s : old)
            if (s.value != 0)
                slots_[place(numberOf(s), s.hash)] = s;
    }

    std::vector<Slot> slots_; // a power of two of them, at most three quarters full
    std::string bytes_;
    std::deque<Known> values_;
};

// Where an import's listing went: its version and its place in the file.
struct Placed {
    std::int64_t versionId = 0, ordinal = 0, listingId = 0;
    Digest digest{};
    std::int64_t written = 0; // the version its presence row holds; 0: none yet
    bool due = false;         // its presence row waits for the next run's makers
};

// One per number in the file: a deque, which grows without moving what it
// holds (and never to twice what it needs).
using Places = std::deque<Placed>;

// A listing of the run of the file being written.
struct Job {
    std::size_t entry = 0; // in the run's table
    const Known* known = nullptr;
};

struct NewVersion {
    std::size_t entry = 0;      // in the run's table
    std::size_t slot = 0;       // in the import's placed listings
    std::int64_t listingId = 0; // 0: a number the archive has not seen
    std::size_t offset = 0;     // in the block
    Digest digest{};
};

// A packed block of new versions.
struct Batch {
    std::string compressed;
    std::vector<NewVersion> versions;
};

// Makes the texts, digests and packed blocks of a run's listings on
// threads of their own (each its half of the listings), some blocks ahead
// of the writer.  A listing whose texts equal its last stored ones (by an
// earlier place of its number in the file, else before the import) gets
// that version at once.
class BlockMaker {
public:
    BlockMaker(const TListingDocument& doc, const std::vector<Job>& jobs, Places& placed)
        : doc_(doc), jobs_(jobs), placed_(placed)
    {
        const std::size_t half = jobs.size() / 2;
        threads_.emplace_back([this, half] { run(0, half); });
        threads_.emplace_back([this, half] { run(half, jobs_.size()); });
    }
    ~BlockMaker()
    {
        {
            const std::lock_guard<std::mutex> hold(lock_);
            stopped_ = true;
        }
        changed_.notify_all();
        for (std::thread& t : threads_)
            if (t.joinable())
                t.join();
    }
    // The next block; false after the last.
    bool next(Batch& batch)
    {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [&] { return !ready_.empty() || running_ == 0; });
        if (ready_.empty())
            return false;
        batch = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return true;
    }
    // Waits for the threads; what failed there fails here.
    void finish()
    {
        for (std::thread& t : threads_)
            t.join();
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    static constexpr std::size_t kAhead = 32;

    void run(std::size_t from, std::size_t to)
    {
        try {
            Batch batch;
            std::string block, texts;
            for (std::size_t k = from; k < to; ++k) {
                const Job& job = jobs_[k];
                const Known& known = *job.known;
                const auto slot = static_cast<std::size_t>(known.slot);
                Placed& place = placed_[slot];
                texts.clear();
                AppendTexts(doc_.ListingTable[job.entry], texts);
                const Digest digest = Sha256(texts);
                if (place.versionId && place.digest == digest)
                    continue;
                place.digest = digest;
                if (known.versionId && known.digest == digest) {
                    place.versionId = known.versionId;
                    place.listingId = known.listingId;
                    continue;
                }
                const std::int64_t listingId = known.listingId ? known.listingId : place.listingId;
                batch.versions.push_back({job.entry, slot, listingId, block.size(), digest});
                block += texts;
                if (batch.versions.size() == static_cast<std::size_t>(kVersionsPerBlock) && !hand(batch, block))
                    break;
            }
            if (!batch.versions.empty())
                hand(batch, block);
        } catch (...) {
            const std::lock_guard<std::mutex> hold(lock_);
            failure_ = std::current_exception();
        }
        const std::lock_guard<std::mutex> hold(lock_);
        --running_;
        changed_.notify_all();
    }
    bool hand(Batch& batch, std::string& block)
    {
        batch.compressed = CompressBlock(block);
        block.clear();
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [&] { return ready_.size() < kAhead || stopped_; });
        if (stopped_)
            return false;
        ready_.push_back(std::move(batch));
        batch = Batch();
        changed_.notify_all();
        return true;
    }

    const TListingDocument& doc_;
    const std::vector<Job>& jobs_;
    Places& placed_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Batch> ready_;
    int running_ = 2;
    bool stopped_ = false;
    std::exception_ptr failure_;
    std::vector<std::thread> threads_;
};

// Every listing's last stored version.
KnownListings LastStored(Store& s)
{
    KnownListings known;
    // About as many listings as their highest id (counting them would read them all).
    auto highest = s.prepare("SELECT COALESCE(MAX(id), 0) FROM listings");
    highest->next();
    known.reserve(static_cast<std::size_t>(std::clamp<std::int64_t>(highest->integer(0), 0, 1 << 24)));
    // Every version in the order stored: the last one of a listing wins.
    auto q = s.prepare("SELECT v.listing_id, l.number, v.id, v.digest FROM versions v "
                       "JOIN listings l ON l.id = v.listing_id ORDER BY v.id");
    while (q->next())
        known.get(q->text(1)) = Known{q->integer(0), q->integer(2), DigestOf(q->bytes(3))};
    return known;
}

// Stores the texts of a run's listings that differ from their last stored
// ones, and finds every listing's version.
// The rows of an import's new versions, for all its runs: its statements
// are made once.
struct VersionRows {
    // Writers go one at a time, so the ids after a table's highest are this
    // import's to give: its rows go out many at once, not each for its id.
    explicit VersionRows(Store& s)
        : nextBlock(NextId(s, "text_blocks")), nextListing(NextId(s, "listings")), nextVersion(NextId(s, "versions")),
          blocks(s.rowSink("text_blocks", {"id", "import_id", "texts"})),
          numbers(s.rowSink("listings", {"id", "number"})),
          versions(s.rowSink("versions", {"id", "listing_id", "import_id", "block_id", "block_offset", "digest"}))
    {
    }
    // The rows referred to before the rows that refer to them.
    void flush()
    {
        blocks->flush();
        numbers->flush();
        versions->flush();
    }
    std::int64_t nextBlock, nextListing, nextVersion;
    std::unique_ptr<RowSink> blocks, numbers, versions;
};

// `meanwhile` runs on this thread once the makers have started.
void WriteVersions(VersionRows& rows, const TListingDocument& doc, const std::vector<Job>& jobs, std::int64_t importId,
                   Places& placed, const std::function<void()>& meanwhile)
{
    auto& [nextBlock, nextListing, nextVersion, blocks, numbers, versions] = rows;

    // Two more threads make the texts, their digests and the packed blocks
    // while this one writes the blocks before them.
    BlockMaker maker(doc, jobs, placed);
    meanwhile();
    for (Batch batch; maker.next(batch);) {
        const std::int64_t blockId = nextBlock++;
        blocks->add(blockId);
        blocks->add(importId);
        blocks->addBytes(batch.compressed);
        for (NewVersion& v : batch.versions) {
            if (!v.listingId) {
                v.listingId = nextListing++;
                numbers->add(v.listingId);
                numbers->addText(doc.ListingTable[v.entry].BukkennNum());
            }
            const std::int64_t versionId = nextVersion++;
            versions->add(versionId);
            versions->add(v.listingId);
            versions->add(importId);
            versions->add(blockId);
            versions->add(static_cast<std::int64_t>(v.offset));
            versions->addBytes(DigestBytes(v.digest));
            placed[v.slot].versionId = versionId;
            placed[v.slot].listingId = v.listingId;
        }
        if (versions->waiting() >= kRowsPerWrite)
            rows.flush();
    }
    maker.finish();
}

// Reads a file's runs on a thread of its own, a run ahead of their writer,
// so that reading and writing go on at once.  Until the writer takes its
// first run (it reads what the archive holds first) the reader goes on a few
// runs further.
class RunsAhead {
public:
    RunsAhead(const std::string& path, std::size_t runBytes)
        : thread_([this, path, runBytes] {
              LoadOutcome loaded;
              std::exception_ptr failure;
              try {
                  loaded = StreamListingFile(
                      read_, path, [this](TListingDocument& run, std::int64_t first) { return hand(run, first); },
                      runBytes);
              } catch (...) {
                  failure = std::current_exception();
              }
              const std::lock_guard<std::mutex> hold(lock_);
              outcome_ = std::move(loaded);
              failure_ = failure;
              ended_ = true;
              changed_.notify_all();
          })
    {
    }
    ~RunsAhead()
    {
        {
            const std::lock_guard<std::mutex> hold(lock_);
            stopped_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    // Takes the next run into `run`; false after the last.
    bool next(TListingDocument& run, std::int64_t& first)
    {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [&] { return !waiting_.empty() || ended_; });
        if (waiting_.empty())
            return false;
        Waiting& w = waiting_.front();
        run.ListingTable = std::move(w.listings);
        run.Arena = std::move(w.arena);
        run.ListingCount = static_cast<int>(run.ListingTable.size());
        first = w.first;
        waiting_.pop_front();
        taken_ = true;
        changed_.notify_all();
        return true;
    }
    // Once next() said there is no more: what the read did, and the file's
    // search date.
    const LoadOutcome& outcome(std::string& searchDate)
    {
        const std::lock_guard<std::mutex> hold(lock_);
        if (failure_)
            std::rethrow_exception(failure_);
        searchDate = read_.KensakuNengappi;
        return outcome_;
    }

private:
    static constexpr std::size_t kAheadAtStart = 4;
    struct Waiting {
        std::vector<TKovraDataClass> listings;
        RecordArena arena;
        std::int64_t first = 0;
    };

    bool hand(TListingDocument& run, std::int64_t first)
    {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [&] { return waiting_.size() < (taken_ ? 1 : kAheadAtStart) || stopped_; });
        if (stopped_)
            return false;
        waiting_.push_back({std::move(run.ListingTable), std::move(run.Arena), first});
        run.ListingTable.clear();
        run.Arena = RecordArena();
        run.ListingCount = 0;
        changed_.notify_all();
        return true;
    }

    TListingDocument read_;       // the reader's own, then the file's search date
    std::deque<Waiting> waiting_; // runs read, not yet taken
    bool taken_ = false, ended_ = false, stopped_ = false;
    LoadOutcome outcome_;
    std::exception_ptr failure_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::thread thread_; // last: it starts once the rest is made
};

// Writes one import run by run of the file as it is read, in its caller's
// transaction, keeping of the whole file only a small state per listing.
// A number's last place in the file counts.  When a later run repeats a
// number whose version an earlier run stored, the version that no longer
// counts is removed at the end, so nothing else ever sees it.
class ImportWriter {
public:
    ImportWriter(Store& s, std::int64_t importId) : s_(s), importId_(importId) {}

    // Reads what the archive holds; the first write does it when not yet done.
    void prepare()
    {
        if (!rows_) {
            known_ = LastStored(s_);
            rows_ = std::make_unique<VersionRows>(s_);
            presence_ = s_.rowSink("presence", {"import_id", "version_id", "ordinal"});
        }
    }

    // Writes the listings of `run`, the first of them the file's listing
    // `first`, and which version of each the import holds.
    void write(const TListingDocument& run, std::int64_t first)
    {
        prepare();
        jobs_.clear();
        std::vector<std::int64_t> rewritten; // presence rows of earlier runs that no longer count
        for (int i = 0; i < run.ListingCount; ++i) {
            const std::string_view number = run.ListingTable[static_cast<std::size_t>(i)].BukkennNum();
            Known& known = known_.get(number);
            if (known.slot < 0) {
                known.slot = static_cast<std::int64_t>(placed_.size());
                placed_.emplace_back();
            } else {
                if (!known.repeated)
                    duplicates_.emplace_back(number);
                known.repeated = true;
                Placed& earlier = placed_[static_cast<std::size_t>(known.slot)];
                superseded_ = superseded_ || earlier.versionId != 0;
                if (earlier.written)
                    rewritten.push_back(std::exchange(earlier.written, 0));
                earlier.due = false; // its row is this run's now
            }
            placed_[static_cast<std::size_t>(known.slot)].ordinal = first + i;
            jobs_.push_back({static_cast<std::size_t>(i), &known});
        }
        // Each number once in the run, where it last stands.
        std::erase_if(jobs_, [&](const Job& job) {
            return placed_[static_cast<std::size_t>(job.known->slot)].ordinal != first + static_cast<std::int64_t>(job.entry);
        });
        if (!rewritten.empty()) {
            flush();
            auto q = s_.prepare("DELETE FROM presence WHERE import_id = $1 AND version_id = $2");
            for (const std::int64_t versionId : rewritten) {
                q->reset();
                q->bind(1, importId_);
                q->bind(2, versionId);
                q->next();
            }
        }
        // The last run's presence rows go out while this run's makers work.
        WriteVersions(*rows_, run, jobs_, importId_, placed_, [&] { writeDue(); });
        for (const Job& job : jobs_) {
            due_.push_back(static_cast<std::size_t>(job.known->slot));
            placed_[due_.back()].due = true;
        }
    }

    // Writes what waits, and the import's date and count.
    void finish(const ImportRecord& record)
    {
        prepare();
        writeDue();
        flush();
        for (const std::string_view table : {"text_blocks", "listings", "versions"})
            s_.idsGiven(table);
        auto update = s_.prepare("UPDATE imports SET search_date = $1, listing_count = $2 WHERE id = $3");
        update->bindText(1, record.date);
        update->bind(2, record.listings);
        update->bind(3, importId_);
        update->next();
        if (superseded_) {
            auto q = s_.prepare("DELETE FROM versions WHERE import_id = $1 AND id NOT IN "
                                "(SELECT version_id FROM presence WHERE import_id = $1)");
            q->bind(1, importId_);
            q->next();
        }
    }

    // The counts against `earlier`, as the changes between the two imports
    // count them; digests differ exactly when texts do, so no texts are read.
    void count(const ImportRecord& earlier, ImportOutcome& outcome)
    {
        std::int64_t inBoth = 0, changed = 0, before = 0;
        auto newest = s_.prepare("SELECT MAX(id) FROM imports WHERE id <> $1");
        newest->bind(1, importId_);
        if (newest->next() && newest->integer(0) == earlier.id) {
            // The newest import holds each of its listings' last stored
            // versions, which the writer knows: only which they are is read.
            std::vector<std::int64_t> held;
            auto q = s_.prepare("SELECT version_id FROM presence WHERE import_id = $1");
            q->bind(1, earlier.id);
            while (q->next())
                held.push_back(q->integer(0));
            std::sort(held.begin(), held.end());
            before = static_cast<std::int64_t>(held.size());
            known_.each([&](const Known& k) {
                if (k.slot < 0 || !std::binary_search(held.begin(), held.end(), k.versionId))
                    return;
                ++inBoth;
                changed += placed_[static_cast<std::size_t>(k.slot)].digest != k.digest ? 1 : 0;
            });
        } else {
            std::unordered_map<std::int64_t, Digest> digests;
            auto q = s_.prepare("SELECT v.listing_id, v.digest FROM presence p JOIN versions v ON v.id = p.version_id "
                                "WHERE p.import_id = $1");
            q->bind(1, earlier.id);
            while (q->next())
                digests.emplace(q->integer(0), DigestOf(q->bytes(1)));
            before = static_cast<std::int64_t>(digests.size());
            for (const Placed& p : placed_) {
                const auto it = digests.find(p.listingId);
                if (it == digests.end())
                    continue;
                ++inBoth;
                changed += it->second != p.digest ? 1 : 0;
            }
        }
        outcome.newListings = static_cast<int>(static_cast<std::int64_t>(placed_.size()) - inBoth);
        outcome.goneListings = static_cast<int>(before - inBoth);
        outcome.changedListings = static_cast<int>(changed);
    }

    int listings() const { return static_cast<int>(placed_.size()); }
    // Numbers that stood more than once in the file, in the order they repeated.
    std::vector<std::string>& duplicates() { return duplicates_; }

private:
    // The presence rows of the run written last, in key order so that they
    // fill their pages.  A number a later run repeated is left to that run.
    void writeDue()
    {
        std::vector<Placed*> rows;
        rows.reserve(due_.size());
        for (const std::size_t slot : due_)
            if (placed_[slot].due)
                rows.push_back(&placed_[slot]);
        due_.clear();
        std::sort(rows.begin(), rows.end(), [](const Placed* a, const Placed* b) { return a->versionId < b->versionId; });
        for (Placed* p : rows) {
            presence_->add(importId_);
            presence_->add(p->versionId);
            presence_->add(p->ordinal);
            p->written = p->versionId;
            p->due = false;
        }
        if (presence_->waiting() >= kRowsPerWrite)
            flush();
    }
    // The rows referred to before the rows that refer to them.
    void flush()
    {
        rows_->flush();
        presence_->flush();
    }

    Store& s_;
    std::int64_t importId_;
    KnownListings known_;
    Places placed_; // one per number in the file, in the order first seen
    std::vector<Job> jobs_;
    std::vector<std::string> duplicates_;
    bool superseded_ = false; // an earlier run's version may no longer count
    std::unique_ptr<VersionRows> rows_;
    std::unique_ptr<RowSink> presence_;
    std::vector<std::size_t> due_; // places whose presence rows wait
};

// The archive's work over its store, in the transactions of one call.
class Archive::Work {
public:
    explicit Work(Store& store) : s_(store) {}

    // The import of a file with these bytes, if one came in.
    std::optional<std::int64_t> importWithContent(const Digest& sha)
    {
        auto q = s_.prepare("SELECT id FROM imports WHERE content_sha256 = $1");
        q->bindBytes(1, DigestBytes(sha));
        if (!q->next())
            return std::nullopt;
        return q->integer(0);
    }

    std::optional<ImportRecord> importById(std::int64_t id)
    {
        auto q = s_.prepare(std::string(kImportColumns) + "WHERE id = $1");
        q->bind(1, id);
        if (!q->next())
            return std::nullopt;
        return ReadImport(*q);
    }

    std::optional<ImportRecord> newest(const std::string* series)
    {
        auto q = s_.prepare(std::string(kImportColumns) + (series ? "WHERE series = $1 " : "") +
                            "ORDER BY search_date DESC, id DESC LIMIT 1");
        if (series)
            q->bindText(1, *series);
        if (!q->next())
            return std::nullopt;
        return ReadImport(*q);
    }

    // The import before `of` in its series: by date, then import order.
    std::optional<ImportRecord> before(const ImportRecord& of)
    {
        auto q = s_.prepare(std::string(kImportColumns) +
                            "WHERE series = $1 AND (search_date < $2 OR (search_date = $2 AND id < $3)) "
                            "ORDER BY search_date DESC, id DESC LIMIT 1");
        q->bindText(1, of.series);
        q->bindText(2, of.date);
        q->bind(3, of.id);
        if (!q->next())
            return std::nullopt;
        return ReadImport(*q);
    }

    // The listings of an import; with `without`, only those whose version
    // that import does not hold too (a listing of the same version in both
    // is unchanged, and most are: those few are all a comparison reads).
    std::vector<Entry> entries(std::int64_t importId, std::optional<std::int64_t> without = std::nullopt)
    {
        auto q = s_.prepare(std::string("SELECT p.ordinal, v.listing_id, l.number, v.id, v.digest, v.block_id, "
                                        "v.block_offset FROM presence p JOIN versions v ON v.id = p.version_id "
                                        "JOIN listings l ON l.id = v.listing_id WHERE p.import_id = $1") +
                            (without ? " AND NOT EXISTS (SELECT 1 FROM presence o WHERE o.import_id = $2 "
                                       "AND o.version_id = p.version_id)"
                                     : ""));
        q->bind(1, importId);
        if (without)
            q->bind(2, *without);
        std::vector<Entry> out;
        while (q->next())
            out.push_back({q->integer(0), q->integer(1), std::string(q->text(2)), q->integer(3),
                           std::string(q->bytes(4)), q->integer(5), q->integer(6)});
        std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.ordinal < b.ordinal; });
        return out;
    }

    // The texts of versions, read block by block.
    class TextReader {
    public:
        explicit TextReader(Store& s) : q_(s.prepare("SELECT texts FROM text_blocks WHERE id = $1")) {}
        void read(std::int64_t blockId, std::int64_t offset, FieldTexts& texts)
        {
            if (blockId != blockId_) {
                const auto given = given_.find(blockId);
                if (given == given_.end()) {
                    q_->reset();
                    q_->bind(1, blockId);
                }
                if (given == given_.end() ? !q_->next() || !DecompressBlock(q_->bytes(0), block_)
                                          : !DecompressBlock(given->second, block_))
                    Damaged();
                blockId_ = blockId;
            }
            if (offset < 0 || !ReadTexts(block_, static_cast<std::uint64_t>(offset), texts))
                Damaged();
        }

        // A block read beforehand, packed as stored.
        void keep(std::int64_t blockId, std::string_view texts) { given_.emplace(blockId, texts); }

    private:
        std::unique_ptr<Statement> q_;
        std::unordered_map<std::int64_t, std::string> given_;
        std::int64_t blockId_ = 0;
        std::string block_;
    };

    // The finding between two versions' texts; kinds 0 when they are equal.
    static ArchiveFinding Differ(const std::vector<std::string>& before, const std::vector<std::string>& after)
    {
        FieldTexts a, b;
        for (std::size_t f = 0; f < a.size(); ++f) {
            a[f] = before[f];
            b[f] = after[f];
        }
        changes::TextDifference d = changes::CompareTexts(a, b);
        return {{}, d.kinds, std::move(d.fields), before[kStatus], after[kStatus], before[kPrice], after[kPrice]};
    }

    // The texts of the versions asked for, each read once, blocks in order.
    // With `blocks` (id, texts), the blocks that query gives are read there.
    std::map<std::int64_t, std::vector<std::string>> texts(const std::vector<const Entry*>& wanted,
                                                           Statement* blocks = nullptr)
    {
        std::vector<const Entry*> order = wanted;
        std::sort(order.begin(), order.end(), [](const Entry* a, const Entry* b) {
            return a->blockId != b->blockId ? a->blockId < b->blockId : a->offset < b->offset;
        });
        std::map<std::int64_t, std::vector<std::string>> out;
        TextReader reader(s_);
        while (blocks && !wanted.empty() && blocks->next())
            reader.keep(blocks->integer(0), blocks->bytes(1));
        FieldTexts t;
        for (const Entry* e : order) {
            if (out.count(e->versionId))
                continue;
            reader.read(e->blockId, e->offset, t);
            out.emplace(e->versionId, std::vector<std::string>(t.begin(), t.end()));
        }
        return out;
    }

    ArchiveChanges compare(const ImportRecord& from, const ImportRecord& to)
    {
        ArchiveChanges c{from, to, {}};
        const std::vector<Entry> a = entries(from.id, to.id), b = entries(to.id, from.id);
        std::unordered_map<std::int64_t, const Entry*> inA, inB;
        for (const Entry& e : a)
            inA.emplace(e.listingId, &e);
        for (const Entry& e : b)
            inB.emplace(e.listingId, &e);
        for (const Entry& e : b)
            if (!inA.count(e.listingId))
                c.findings.push_back({e.number, changes::New, {}, {}, {}, {}, {}});
        for (const Entry& e : a)
            if (!inB.count(e.listingId))
                c.findings.push_back({e.number, changes::Gone, {}, {}, {}, {}, {}});
        std::vector<std::pair<const Entry*, const Entry*>> pairs;
        std::vector<const Entry*> wanted;
        for (const Entry& e : b) {
            const auto it = inA.find(e.listingId);
            if (it == inA.end() || it->second->digest == e.digest)
                continue;
            pairs.emplace_back(it->second, &e);
            wanted.push_back(it->second);
            wanted.push_back(&e);
        }
        const auto t = texts(wanted);
        for (const auto& [old, now] : pairs) {
            ArchiveFinding f = Differ(t.at(old->versionId), t.at(now->versionId));
            if (f.kinds == 0)
                continue;
            f.number = now->number;
            c.findings.push_back(std::move(f));
        }
        return c;
    }

    std::optional<std::int64_t> listingId(std::string_view number)
    {
        auto q = s_.prepare("SELECT id FROM listings WHERE number = $1");
        q->bindText(1, number);
        if (!q->next())
            return std::nullopt;
        return q->integer(0);
    }

private:
    Store& s_;
};

Archive::Archive(std::unique_ptr<Store> store) : store_(std::move(store)) {}
Archive::~Archive() = default;

std::unique_ptr<Archive> Archive::Open(const std::string& location, OpenMode mode, std::string& message)
{
    try {
        return Open(OpenStore(location, mode), message);
    } catch (const StoreError& e) {
        message = CannotRead(location, e);
        return nullptr;
    }
}

std::unique_ptr<Archive> Archive::Open(std::unique_ptr<Store> store, std::string& message)
{
    try {
        Migrate(*store, LatestSchemaVersion());
        return std::unique_ptr<Archive>(new Archive(std::move(store)));
    } catch (const StoreError& e) {
        message = CannotRead(store->location(), e);
        return nullptr;
    }
}

ImportOutcome Archive::importFile(const std::string& path, const ImportOptions& options)
{
    // The file is written as it is read, a run at a time, while the next
    // run is read: its listings never sit in memory whole.
    ContentDigest digest(path);
    return importRuns(digest, fileio::BaseName(path), options,
                      [&](ImportWriter& writer, const std::function<bool()>& goOn, std::string& searchDate,
                          std::string& message) {
                          RunsAhead runs(path, options.runBytes);
                          writer.prepare();
                          TListingDocument run;
                          for (std::int64_t first = 0; runs.next(run, first);) {
                              if (!goOn())
                                  return false;
                              writer.write(run, first);
                          }
                          const LoadOutcome& loaded = runs.outcome(searchDate);
                          message = loaded.message;
                          return loaded.ok();
                      });
}

ImportOutcome Archive::importDocument(const TListingDocument& doc, const Digest& contentSha256, std::string_view fileName,
                                      const ImportOptions& options)
{
    ContentDigest digest(contentSha256);
    return importRuns(digest, fileName, options,
                      [&](ImportWriter& writer, const std::function<bool()>&, std::string& searchDate, std::string&) {
                          writer.write(doc, 0);
                          searchDate = doc.KensakuNengappi;
                          return true;
                      });
}

ImportOutcome Archive::importRuns(ContentDigest& digest, std::string_view fileName, const ImportOptions& options,
                                  const ImportFeed& feed)
{
    ImportOutcome outcome;
    ImportRecord& record = outcome.import;
    record.fileName = std::string(fileName);
    record.series = options.series ? *options.series : SeriesFromFileName(fileName);
    // The date and the count until the file has been read.
    record.date = LocalDate(options.now);
    Store& s = *store_;
    try {
        const ImportChecksOff checksOff(s);
        Transaction t(s, true);
        // Until the digest is made the import is claimed under no digest
        // (no file has an empty one; writers take turns, so only this one
        // holds it), and a file imported before is found as soon as it is.
        const bool known = digest.ready();
        Digest sha{};
        std::string failure;
        if (known && !digest.get(sha, failure)) {
            outcome = ImportOutcome{};
            outcome.message = failure;
            return outcome;
        }
        auto claim = s.prepare("INSERT INTO imports (content_sha256, series, search_date, imported_at, file_name, "
                               "listing_count) VALUES ($1, $2, $3, $4, $5, $6) "
                               "ON CONFLICT (content_sha256) DO NOTHING RETURNING id");
        claim->bindBytes(1, known ? DigestBytes(sha) : std::string_view());
        claim->bindText(2, record.series);
        claim->bindText(3, record.date);
        claim->bindText(4, LocalDateTime(options.now));
        claim->bindText(5, record.fileName);
        claim->bind(6, record.listings);
        std::optional<std::int64_t> same;
        const auto sameAs = [&] {
            same = Work(s).importWithContent(sha);
            return same.has_value();
        };
        if (!claim->next()) {
            // The same bytes came in first, maybe a moment ago from another program.
            sameAs();
            outcome.status = ImportOutcome::Status::Same;
            record.id = same.value_or(0);
            return outcome;
        }
        record.id = claim->integer(0);
        claim.reset();
        bool settled = known;
        // False once the file proves imported before or unreadable.
        const auto settle = [&](bool wait) {
            if (settled || (!wait && !digest.ready()))
                return true;
            if (!digest.get(sha, failure) || sameAs())
                return false;
            auto q = s.prepare("UPDATE imports SET content_sha256 = $1 WHERE id = $2");
            q->bindBytes(1, DigestBytes(sha));
            q->bind(2, record.id);
            q->next();
            settled = true;
            return true;
        };

        ImportWriter writer(s, record.id);
        std::string searchDate, message;
        const bool fed = feed(writer, [&] { return settle(false); }, searchDate, message);
        if (!fed || !settle(true)) {
            // The transaction ends unwritten: nothing of the file stays.
            outcome = ImportOutcome{};
            if (same) {
                outcome.status = ImportOutcome::Status::Same;
                outcome.import.id = *same;
                outcome.import.fileName = std::string(fileName);
            } else
                outcome.message = !failure.empty() ? std::move(failure) : std::move(message);
            return outcome;
        }
        record.date = SearchDate(searchDate).value_or(record.date);
        record.listings = writer.listings();
        writer.finish(record);
        outcome.duplicates = std::move(writer.duplicates());

        if (const std::optional<ImportRecord> earlier = Work(s).before(record))
            writer.count(*earlier, outcome);
        t.commit();
        outcome.status = ImportOutcome::Status::Imported;
    } catch (const StoreError& e) {
        outcome = ImportOutcome{};
        outcome.import.fileName = std::string(fileName);
        outcome.message = CannotWrite(location(), e);
        if (e.failure() == Failure::ReadOnly)
            importedBefore(digest, outcome);
    }
    return outcome;
}

void Archive::importedBefore(ContentDigest& digest, ImportOutcome& outcome)
{
    // An archive this user may only read still tells a file it holds.
    Digest sha{};
    std::string message;
    if (!digest.get(sha, message))
        return;
    try {
        Transaction t(*store_, false);
        if (const std::optional<std::int64_t> id = Work(*store_).importWithContent(sha)) {
            const std::string fileName = outcome.import.fileName;
            outcome = ImportOutcome{};
            outcome.status = ImportOutcome::Status::Same;
            outcome.import.id = *id;
            outcome.import.fileName = fileName;
        }
    } catch (const StoreError&) {
        // The write's message stands.
    }
}

Result<std::vector<ImportRecord>> Archive::imports()
{
    Result<std::vector<ImportRecord>> r;
    try {
        Transaction t(*store_, false);
        auto q = store_->prepare(std::string(kImportColumns) + "ORDER BY search_date, id");
        std::vector<ImportRecord> all;
        while (q->next())
            all.push_back(ReadImport(*q));
        r.value = std::move(all);
    } catch (const StoreError& e) {
        r.message = CannotRead(location(), e);
    }
    return r;
}

Result<ArchiveChanges> Archive::changes(std::optional<std::int64_t> from, std::optional<std::int64_t> to)
{
    Result<ArchiveChanges> r;
    try {
        Transaction t(*store_, false);
        Work work(*store_);
        std::optional<ImportRecord> a, b;
        for (const auto& [id, into] : {std::pair{from, &a}, std::pair{to, &b}}) {
            if (!id)
                continue;
            *into = work.importById(*id);
            if (!*into) {
                r.message = msg::ImportNotInArchive(*id);
                return r;
            }
        }
        if (!b)
            b = work.newest(a ? &a->series : nullptr);
        if (!b) {
            r.message = std::string(msg::kArchiveEmpty);
            return r;
        }
        if (!a)
            a = work.before(*b);
        if (!a) {
            r.message = msg::NoEarlierImport(b->id);
            return r;
        }
        r.value = work.compare(*a, *b);
    } catch (const StoreError& e) {
        r.message = CannotRead(location(), e);
    }
    return r;
}

Result<ListingHistory> Archive::history(std::string_view number)
{
    Result<ListingHistory> r;
    try {
        Transaction t(*store_, false);
        Work work(*store_);
        // Every import against each of the listing's versions: a probe of
        // presence's key per pair, however many listings the imports hold.
        // (CROSS JOIN keeps SQLite to that order: presence has no index
        // by version, and needs none.)  One query, as every trip to a
        // server costs more than the probes.
        auto q = store_->prepare("SELECT i.id, i.search_date, v.id, v.digest, v.block_id, v.block_offset, l.id "
                                 "FROM listings l CROSS JOIN imports i CROSS JOIN versions v CROSS JOIN presence p "
                                 "WHERE l.number = $1 AND v.listing_id = l.id AND p.import_id = i.id "
                                 "AND p.version_id = v.id ORDER BY i.search_date, i.id");
        q->bindText(1, number);
        // The blocks of the listing's versions when it has more than one:
        // read only when its texts changed, but asked in the same trip.
        auto blocks = store_->prepare("SELECT b.id, b.texts FROM text_blocks b WHERE b.id IN "
                                      "(SELECT v.block_id FROM listings l JOIN versions v ON v.listing_id = l.id "
                                      "WHERE l.number = $1 AND EXISTS "
                                      "(SELECT 1 FROM versions w WHERE w.listing_id = l.id AND w.id <> v.id))");
        blocks->bindText(1, number);
        store_->runTogether({q.get(), blocks.get()});
        struct Seen {
            std::int64_t importId;
            std::string date;
            Entry version;
        };
        std::vector<Seen> seen;
        while (q->next())
            seen.push_back({q->integer(0), std::string(q->text(1)),
                            Entry{0, q->integer(6), {}, q->integer(2), std::string(q->bytes(3)), q->integer(4),
                                  q->integer(5)}});
        if (seen.empty()) {
            r.message = msg::ListingNotInArchive(number);
            return r;
        }
        std::vector<const Entry*> wanted;
        for (std::size_t n = 1; n < seen.size(); ++n)
            if (seen[n].version.digest != seen[n - 1].version.digest) {
                wanted.push_back(&seen[n - 1].version);
                wanted.push_back(&seen[n].version);
            }
        const auto texts = work.texts(wanted, blocks.get());
        ListingHistory h;
        h.firstSeen = seen.front().date;
        h.firstImport = seen.front().importId;
        h.lastSeen = seen.back().date;
        h.lastImport = seen.back().importId;
        h.appearances = static_cast<int>(seen.size());
        for (std::size_t n = 1; n < seen.size(); ++n) {
            if (seen[n].version.digest == seen[n - 1].version.digest)
                continue;
            ArchiveFinding f = Work::Differ(texts.at(seen[n - 1].version.versionId), texts.at(seen[n].version.versionId));
            if (f.kinds)
                h.changes.push_back({seen[n].date, seen[n].importId, std::move(f)});
        }
        r.value = std::move(h);
    } catch (const StoreError& e) {
        r.message = CannotRead(location(), e);
    }
    return r;
}

Result<std::vector<ListingSummary>> Archive::summaries(const std::vector<std::string_view>& numbers)
{
    Result<std::vector<ListingSummary>> r;
    try {
        Transaction t(*store_, false);
        std::unordered_map<std::int64_t, ListingSummary> byId;
        std::unordered_map<std::string, std::int64_t, TextHash, std::equal_to<>> ids;
        auto q = store_->prepare("SELECT v.listing_id, MIN(i.search_date), MAX(i.search_date) "
                                 "FROM presence p JOIN versions v ON v.id = p.version_id "
                                 "JOIN imports i ON i.id = p.import_id GROUP BY v.listing_id");
        while (q->next())
            byId[q->integer(0)] = {std::string(q->text(1)), std::string(q->text(2)), {}, 0, {}};
        q = store_->prepare("SELECT id, number FROM listings");
        while (q->next())
            ids.emplace(std::string(q->text(1)), q->integer(0));
        // The versions of listings stored more than once, oldest first: the
        // price before the last one that differs.
        q = store_->prepare("SELECT v.listing_id, v.id, v.block_id, v.block_offset FROM versions v "
                            "WHERE v.listing_id IN (SELECT listing_id FROM versions GROUP BY listing_id "
                            "HAVING COUNT(*) > 1) ORDER BY v.block_id, v.block_offset");
        struct Stored {
            std::int64_t listingId, versionId;
            std::string price;
        };
        std::vector<Stored> stored;
        Work::TextReader reader(*store_);
        changes::FieldTexts texts;
        while (q->next()) {
            reader.read(q->integer(2), q->integer(3), texts);
            stored.push_back({q->integer(0), q->integer(1), std::string(texts[kPrice])});
        }
        std::sort(stored.begin(), stored.end(), [](const Stored& a, const Stored& b) { return a.versionId < b.versionId; });
        std::unordered_map<std::int64_t, std::string> lastPrice;
        for (const Stored& v : stored) {
            std::string& last = lastPrice[v.listingId];
            if (!last.empty() && last != v.price)
                byId[v.listingId].previousPrice = last;
            last = v.price;
        }
        q = store_->prepare("SELECT listing_id, body FROM notes ORDER BY id");
        while (q->next()) {
            ListingSummary& s = byId[q->integer(0)];
            ++s.notes;
            s.lastNote = std::string(q->text(1));
        }
        std::vector<ListingSummary> out;
        out.reserve(numbers.size());
        for (const std::string_view number : numbers) {
            const auto id = ids.find(number);
            const auto it = id == ids.end() ? byId.end() : byId.find(id->second);
            out.push_back(it == byId.end() ? ListingSummary() : it->second);
        }
        r.value = std::move(out);
    } catch (const StoreError& e) {
        r.message = CannotRead(location(), e);
    }
    return r;
}

Result<bool> Archive::loadImport(std::int64_t id, TListingDocument& doc)
{
    Result<bool> r;
    try {
        Transaction t(*store_, false);
        Work work(*store_);
        if (!work.importById(id)) {
            r.message = msg::ImportNotInArchive(id);
            return r;
        }
        const std::vector<Entry> entries = work.entries(id);
        doc = TListingDocument();
        doc.ListingTable.reserve(entries.size());
        Work::TextReader reader(*store_);
        RecordBuilder builder;
        FieldTexts texts;
        for (const Entry& e : entries) {
            reader.read(e.blockId, e.offset, texts);
            builder.clear();
            for (const std::string_view text : texts)
                builder.add(text);
            doc.ListingTable.push_back(builder.finish(&doc.Arena));
        }
        doc.ListingCount = static_cast<int>(doc.ListingTable.size());
        r.value = true;
    } catch (const StoreError& e) {
        doc = TListingDocument();
        r.message = CannotRead(location(), e);
    }
    return r;
}

Result<bool> Archive::addNote(std::string_view number, std::string_view author, std::string_view text,
                              Clock::time_point now)
{
    Result<bool> r;
    try {
        Transaction t(*store_, true);
        const std::optional<std::int64_t> id = Work(*store_).listingId(number);
        if (!id) {
            r.message = msg::ListingNotInArchive(number);
            return r;
        }
        auto q = store_->prepare("INSERT INTO notes (listing_id, written_at, author, body) VALUES ($1, $2, $3, $4)");
        q->bind(1, *id);
        q->bindText(2, LocalDateTime(now));
        q->bindText(3, author);
        q->bindText(4, text);
        q->next();
        t.commit();
        r.value = true;
    } catch (const StoreError& e) {
        r.message = CannotWrite(location(), e);
    }
    return r;
}

Result<std::vector<Note>> Archive::notes(std::string_view number)
{
    Result<std::vector<Note>> r;
    try {
        Transaction t(*store_, false);
        const std::optional<std::int64_t> id = Work(*store_).listingId(number);
        if (!id) {
            r.message = msg::ListingNotInArchive(number);
            return r;
        }
        auto q = store_->prepare("SELECT written_at, author, body FROM notes WHERE listing_id = $1 ORDER BY id");
        q->bind(1, *id);
        std::vector<Note> all;
        while (q->next())
            all.push_back({std::string(q->text(0)), std::string(q->text(1)), std::string(q->text(2))});
        r.value = std::move(all);
    } catch (const StoreError& e) {
        r.message = CannotRead(location(), e);
    }
    return r;
}

std::string Archive::backup(const std::string& out)
{
    if (store_->isStoreFile(out))
        return msg::OutputIsInput(out);
    if (!store_->isFile())
        return backupIntoFile(out);
    try {
        store_->backupTo(out);
        return {};
    } catch (const StoreError& e) {
        if (e.failure() == Failure::CannotOpen)
            return msg::FileCannotCreate(out);
        return CannotRead(location(), e);
    }
}

// A server's archive into a new SQLite file, through a temporary file so a
// failed copy leaves no half-written one.
std::string Archive::backupIntoFile(const std::string& out)
{
    std::string message;
    const bool saved = search::SaveThroughTempFile(out, [&](const std::string& temp) {
        std::string why;
        std::unique_ptr<Archive> file;
        try {
            file = Open(OpenSqliteStore(temp, OpenMode::CreateWhenMissing), why);
        } catch (const StoreError&) {
        }
        if (!file)
            return false;
        const CopyOutcome copied = copyInto(*file);
        message = copied.message;
        return copied.ok;
    });
    if (saved)
        return {};
    return message.empty() ? msg::FileCannotCreate(out) : message;
}

} // namespace kovra::archive
