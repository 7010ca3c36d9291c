#include "MemberStrip.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "TextLines.h"

#include <algorithm>
#include <new>

namespace kovra {

namespace {

constexpr std::size_t kStripFields = 1001; // fields 0..1000, each followed by a comma
constexpr std::size_t kLastMemberColumn = static_cast<std::size_t>(kMemberColumns.back());
constexpr std::size_t kStripChunkBytes = 4 << 20;
constexpr std::size_t kFlushBytes = 1 << 20;

static_assert(std::is_sorted(kMemberColumns.begin(), kMemberColumns.end()), "the columns are visited in order");

bool IsMemberColumn(std::size_t field)
{
    return std::find(kMemberColumns.begin(), kMemberColumns.end(), static_cast<int>(field)) != kMemberColumns.end();
}

// Appends the stripped form of one line (without its line end).  The split
// is done on the CP932 bytes: a comma never occurs inside a double-byte
// character, so no conversion is needed.  Only the fields up to the last
// member column are visited one by one; the rest of the line is copied
// whole and its commas only counted, so a line of millions of fields costs
// no more memory than its own bytes.
template <class Sink>
void StripLine(std::string_view line, Sink&& out)
{
    if (line.empty() || line[0] != '1' || line.find(',') == std::string_view::npos) {
        out(line);
        return;
    }
    std::size_t field = 0, from = 0;
    for (; field <= kLastMemberColumn; ++field) {
        const std::size_t comma = line.find(',', from);
        const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
        if (!IsMemberColumn(field))
            out(line.substr(from, end - from));
        if (comma == std::string_view::npos) {
            from = line.size();
            break;
        }
        out(",");
        from = comma + 1;
    }
    std::size_t fields = field + 1; // fields seen so far, the current one included
    if (field > kLastMemberColumn) {
        fields = field;
        const std::string_view rest = line.substr(from);
        out(rest);
        // The rest holds one field more than its commas.
        for (std::size_t at = rest.find(','); fields < kStripFields && at != std::string_view::npos;
             at = rest.find(',', at + 1))
            ++fields;
        ++fields;
    }
    // Up to 1001 fields, each followed by a comma: the commas the line
    // lacks.  Fields past index 1000 are kept as they are, not dropped.
    static const std::string kCommas(kStripFields + 1, ',');
    if (fields <= kStripFields)
        out(std::string_view(kCommas).substr(0, kStripFields + 1 - fields));
}

// Strips every line of `bytes`, which end at CR LF, CR or LF (the last one
// may lack its end), writing CR LF after each.
template <class Sink>
void StripLines(std::string_view bytes, Sink&& out)
{
    text::LineSplitter lines(bytes);
    for (std::string_view line; lines.next(line);) {
        StripLine(line, out);
        out("\r\n");
    }
}

} // namespace

std::string StripMemberItems(std::string_view source)
{
    std::string out;
    out.reserve(source.size() + source.size() / 4);
    StripLines(source, [&out](std::string_view piece) { out.append(piece); });
    return out;
}

StripOutcome SaveMemberStripped(const std::string& sourcePath, const std::string& targetPath, WorkProgress* progress)
{
    StripOutcome outcome;
    fileio::InputFile in;
    if (in.open(sourcePath) != fileio::ReadStatus::Ok) {
        outcome.message = msg::FileCannotOpen(sourcePath);
        return outcome;
    }
    // The source is read and the copy written piece by piece; the copy
    // replaces the target only once complete.  Blanking the broker's
    // columns in the very file the user passes on to others would destroy
    // the only full copy, so the source is never the target.
    const fileio::JobInputs inputs{sourcePath};
    fileio::SafeSaveFile target(targetPath, fileio::Durability::SyncedToDisk, &inputs);
    if (!target.open()) {
        outcome.outputIsInput = target.refusedAsInput();
        outcome.message = outcome.outputIsInput ? msg::OutputIsInput(targetPath) : msg::FileCannotCreate(targetPath);
        return outcome;
    }
    std::string pending;
    bool written = true;
    const auto sink = [&](std::string_view piece) {
        if (pending.size() + piece.size() < kFlushBytes) {
            pending.append(piece);
            return;
        }
        written = target.write(pending) && target.write(piece) && written;
        pending.clear();
    };
    try {
        text::WholeLineReader reader([&in](char* into, std::size_t n) { return in.read(into, n); }, kStripChunkBytes);
        std::string_view lines;
        if (progress)
            progress->SetTotal(static_cast<std::int64_t>(in.size()));
        while (written && reader.next(lines)) {
            if (progress && progress->Stopped())
                return outcome; // the temporary file goes, the target stays as it was
            StripLines(lines, sink);
            if (progress)
                progress->Advance(static_cast<std::int64_t>(lines.size()));
        }
    } catch (const std::bad_alloc&) {
        outcome.message = msg::FileOutOfMemory(sourcePath); // a line longer than the memory at hand
        return outcome;
    }
    written = written && target.write(pending);
    if (in.status() != fileio::ReadStatus::Ok) {
        outcome.message = msg::FileReadFailure(sourcePath, {in.status(), in.size()}, 0);
        return outcome; // the target stays as it was
    }
    in.close();
    if (!written || !target.commit()) {
        outcome.message = msg::FileCannotCreate(targetPath);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace kovra
