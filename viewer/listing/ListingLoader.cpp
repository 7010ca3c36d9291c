#include "WatchedLoad.h"
#include "ListingDocument.h"

#include "Cp932Codec.h"
#include "FileIO.h"
#include "ListingDecoder.h"
#include "MessageTexts.h"
#include "Prompter.h"
#include "TextHelpers.h"
#include "TextLines.h"

#include <algorithm>
#include <istream>
#include <new>
#include <thread>

namespace kovra {

namespace {

constexpr int kHeaderHighestIndex = 1000;
// Below this a range is decoded on one thread: starting a second costs more.
constexpr std::size_t kParallelThreshold = 256 << 10;

// What one range of whole lines gave.
struct RangeResult {
    RecordArena arena;
    std::vector<TKovraDataClass> records;
    std::int64_t lines = 0;     // lines in the range
    std::int64_t errorLine = 0; // 1-based line within the range that stopped decoding, 0 if none
    bool sawHeader = false;
    std::string headerDate; // of the range's last header line
};

class RangeDecoder {
public:
    void decode(std::string_view bytes, RangeResult& out)
    {
        text::LineSplitter lines(bytes);
        for (std::string_view line; lines.next(line);) {
            ++out.lines;
            if (line.empty())
                continue;
            if (line[0] == '1') {
                utf8_.clear();
                cp932::appendUtf8(utf8_, line);
                TKovraDataClass record;
                if (!decoder_.decode(utf8_, record, &out.arena)) {
                    out.errorLine = out.lines;
                    return;
                }
                out.records.push_back(std::move(record));
            } else if (line[0] == '3') {
                utf8_.clear();
                cp932::appendUtf8(utf8_, line);
                header_.assign(kHeaderHighestIndex + 1, std::string_view());
                SplitFields(utf8_, header_, kHeaderHighestIndex);
                out.sawHeader = true;
                out.headerDate = EraDateText(header_[5]);
            }
        }
    }

private:
    ListingDecoder decoder_;
    std::string utf8_;
    std::vector<std::string_view> header_;
};

// Feeds whole lines to two decoders at once and keeps the file's order.
// With a sink, each run's listings go to the sink and are dropped when it
// returns, so the document never holds more than one run of the file.
class LoadRun {
public:
    explicit LoadRun(TListingDocument& data, const ListingSink* sink = nullptr) : data_(data), sink_(sink)
    {
        // Every load starts empty: no records of the previous file, and no
        // search date that a file without a header line would inherit.
        data_.ListingTable.clear();
        data_.ListingTable.shrink_to_fit();
        data_.Arena = RecordArena();
        data_.ListingCount = 0;
        data_.KensakuNengappi.clear();
    }

    // Decodes `bytes`, which holds whole lines only.  False once a line
    // failed; later calls do nothing.
    bool feed(std::string_view bytes)
    {
        if (failed_ || bytes.empty())
            return !failed_;
        const std::size_t cut = bytes.size() >= kParallelThreshold ? text::NextCertainLineEnd(bytes, bytes.size() / 2)
                                                                    : std::string_view::npos;
        if (cut == std::string_view::npos || cut >= bytes.size()) {
            RangeResult r;
            first_.decode(bytes, r);
            return merge(r) && handOn();
        }
        RangeResult a, b;
        std::thread second([&] { second_.decode(bytes.substr(cut), b); });
        first_.decode(bytes.substr(0, cut), a);
        second.join();
        return merge(a) && merge(b) && handOn();
    }

    LoadOutcome finish(std::string_view fileName)
    {
        LoadOutcome outcome;
        if (failed_) {
            data_.ListingTable.clear();
            data_.ListingTable.shrink_to_fit();
            data_.Arena = RecordArena();
            data_.ListingCount = 0;
            outcome.status = LoadOutcome::Status::ConversionError;
            outcome.errorLine = lineBase_;
            outcome.message = msg::LoadAbortedAtLine(lineBase_);
            outcome.totalCaption = std::string(msg::kLoadErrorCaption);
            return outcome;
        }
        data_.ListingCount = static_cast<int>(handed_ + data_.ListingTable.size());
        outcome.count = data_.ListingCount;
        outcome.totalCaption = std::string(msg::kTotalCaptionPrefix) + std::to_string(data_.ListingCount);
        outcome.title = std::string(msg::kTitlePrefix) + std::string(fileName);
        if (data_.ListingCount == 0) {
            outcome.status = LoadOutcome::Status::NoListings;
            outcome.message = std::string(msg::kCannotOpenKovraFile);
        }
        return outcome;
    }

private:
    bool merge(RangeResult& r)
    {
        if (failed_)
            return false;
        if (r.sawHeader)
            data_.KensakuNengappi = std::move(r.headerDate);
        data_.Arena.adopt(std::move(r.arena));
        if (data_.ListingTable.empty())
            data_.ListingTable = std::move(r.records);
        else
            data_.ListingTable.insert(data_.ListingTable.end(), std::make_move_iterator(r.records.begin()),
                                      std::make_move_iterator(r.records.end()));
        if (r.errorLine) {
            lineBase_ += r.errorLine;
            failed_ = true;
            return false;
        }
        lineBase_ += r.lines;
        return true;
    }

    // Gives the sink the listings of the run just merged, then drops them.
    bool handOn()
    {
        if (!sink_ || data_.ListingTable.empty())
            return true;
        const std::size_t count = data_.ListingTable.size();
        data_.ListingCount = static_cast<int>(count);
        const bool more = (*sink_)(data_, handed_);
        handed_ += static_cast<std::int64_t>(count);
        data_.ListingTable.clear();
        data_.Arena = RecordArena();
        data_.ListingCount = 0;
        return more;
    }

    TListingDocument& data_;
    const ListingSink* sink_;
    std::int64_t handed_ = 0; // listings the sink has had
    RangeDecoder first_, second_;
    std::int64_t lineBase_ = 0; // lines before the next range; the failing line once failed
    bool failed_ = false;
};

} // namespace

LoadOutcome LoadListingBytes(TListingDocument& data, std::string_view bytes, std::string_view fileName)
{
    LoadRun run(data);
    run.feed(bytes);
    return data.Outcome = run.finish(fileName);
}

namespace {

// A file that could not be read to its end is not a shorter success: what
// was read of it is dropped, as after a line that cannot be decoded.
LoadOutcome ReadFailure(TListingDocument& data, std::string message)
{
    data.ListingTable.clear();
    data.ListingTable.shrink_to_fit();
    data.Arena = RecordArena();
    data.ListingCount = 0;
    LoadOutcome outcome;
    outcome.status = LoadOutcome::Status::ReadFailed;
    outcome.message = std::move(message);
    outcome.totalCaption = std::string(msg::kLoadErrorCaption);
    return outcome;
}

LoadOutcome LoadChunks(TListingDocument& data, const text::WholeLineReader::ReadFn& read, std::string_view fileName,
                       std::string_view path, std::size_t chunkBytes, const ListingSink* sink = nullptr)
{
    try {
        LoadRun run(data, sink);
        text::WholeLineReader reader(read, chunkBytes);
        std::string_view lines;
        while (reader.next(lines))
            if (!run.feed(lines))
                break;
        return run.finish(fileName);
    } catch (const std::bad_alloc&) {
        // A line or a file larger than the memory at hand.
        return ReadFailure(data, msg::FileOutOfMemory(path));
    }
}

} // namespace

LoadOutcome LoadListingStream(TListingDocument& data, std::istream& in, std::string_view fileName, std::size_t chunkBytes)
{
    const auto read = [&in](char* into, std::size_t n) -> std::size_t {
        if (!in)
            return 0;
        in.read(into, static_cast<std::streamsize>(n));
        return in.bad() ? 0 : static_cast<std::size_t>(in.gcount());
    };
    LoadOutcome outcome = LoadChunks(data, read, fileName, fileName, chunkBytes);
    if (in.bad())
        outcome = ReadFailure(data, msg::FileReadFailed(fileName));
    return data.Outcome = outcome;
}

namespace {

LoadOutcome LoadWatchedFile(TListingDocument& data, const std::string& path, WorkProgress* progress,
                            const ListingSink* sink = nullptr, std::size_t chunkBytes = kLoadChunkBytes)
{
    fileio::InputFile file;
    const fileio::ReadStatus opened = file.open(path);
    if (opened != fileio::ReadStatus::Ok) {
        // Nothing was read: the listings on show stay.
        LoadOutcome outcome;
        outcome.status = LoadOutcome::Status::CannotOpen;
        outcome.count = data.ListingCount;
        outcome.message = msg::FileCannotOpen(path);
        return outcome;
    }
    if (progress)
        progress->SetTotal(static_cast<std::int64_t>(file.size()));
    // A stopped load reads no further: what it made is dropped by its caller.
    const auto read = [&file, progress](char* into, std::size_t n) -> std::size_t {
        if (progress && progress->Stopped())
            return 0;
        const std::size_t got = file.read(into, n);
        if (progress)
            progress->Advance(static_cast<std::int64_t>(got));
        return got;
    };
    LoadOutcome outcome = LoadChunks(data, read, fileio::BaseName(path), path, chunkBytes, sink);
    if (file.status() != fileio::ReadStatus::Ok)
        outcome = ReadFailure(data, msg::FileReadFailure(path, {file.status(), file.size()}, 0));
    return data.Outcome = outcome;
}

std::shared_ptr<TListingDocument> LoadWatchedDocument(const std::string& path, WorkProgress* progress)
{
    auto document = std::make_shared<TListingDocument>();
    document->CurrentFileName = path;
    document->Outcome = LoadWatchedFile(*document, path, progress);
    return document;
}

} // namespace

LoadOutcome LoadListingFile(TListingDocument& data, const std::string& path)
{
    return LoadWatchedFile(data, path, nullptr);
}

LoadOutcome StreamListingFile(TListingDocument& data, const std::string& path, const ListingSink& sink,
                              std::size_t chunkBytes)
{
    return LoadWatchedFile(data, path, nullptr, &sink, chunkBytes);
}

std::shared_ptr<TListingDocument> LoadListingDocument(const std::string& path)
{
    return LoadWatchedDocument(path, nullptr);
}

std::shared_ptr<TListingDocument> LoadListingDocument(const std::string& path, WorkProgress& progress)
{
    return LoadWatchedDocument(path, &progress);
}

std::shared_ptr<TListingDocument> LoadAndSay(const std::string& path, QWidget* owner,
                                             const std::function<void(std::shared_ptr<TListingDocument>)>& replace)
{
    std::shared_ptr<TListingDocument> document = LoadListingDocument(path);
    SayLoadOutcome(document, owner, replace);
    return document;
}

void SayLoadOutcome(const std::shared_ptr<TListingDocument>& document, QWidget* owner,
                    const std::function<void(std::shared_ptr<TListingDocument>)>& replace)
{
    const LoadOutcome& outcome = document->Outcome;
    // A line that cannot be decoded gets a plain box, as it always had.
    const Tone tone = outcome.status == LoadOutcome::Status::ConversionError ? Tone::Plain : Tone::Error;
    const bool emptyFirst = outcome.status == LoadOutcome::Status::NoListings;
    if (!outcome.ok() && !emptyFirst)
        Say(tone, outcome.message, owner);
    if (outcome.replacesDocument() && replace)
        replace(document);
    if (emptyFirst)
        Say(tone, outcome.message, owner);
}

std::vector<int> ChosenListings(const std::optional<std::vector<int>>& chosen, int count)
{
    std::vector<int> out;
    if (!chosen) {
        out.resize(static_cast<std::size_t>(std::max(count, 0)));
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<int>(i);
        return out;
    }
    out.reserve(chosen->size());
    for (const int i : *chosen)
        if (i >= 0 && i < count)
            out.push_back(i);
    return out;
}

} // namespace kovra
