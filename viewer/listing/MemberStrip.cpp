#include "MemberStrip.h"

#include "FileIO.h"
#include "ListingMessages.h"

#include <vector>

namespace kovra {

namespace {

constexpr int kStripFields = 1001; // fields 0..1000, each followed by a comma

} // namespace

std::string StripMemberItems(std::string_view source)
{
    std::string out;
    out.reserve(source.size() + source.size() / 4);
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < source.size()) {
        std::size_t end = source.find_first_of("\r\n", pos);
        std::size_t next;
        if (end == std::string_view::npos) {
            end = source.size();
            next = end;
        } else {
            next = (source[end] == '\r' && end + 1 < source.size() && source[end + 1] == '\n') ? end + 2 : end + 1;
        }
        const std::string_view line = source.substr(pos, end - pos);
        pos = next;

        // The split is done on the CP932 bytes: commas never occur inside a
        // double-byte character, so no conversion is needed.
        if (line.empty() || line[0] != '1' || line.find(',') == std::string_view::npos) {
            out.append(line);
            out.append("\r\n");
            continue;
        }
        fields.clear();
        std::size_t from = 0;
        for (;;) {
            const std::size_t comma = line.find(',', from);
            if (comma == std::string_view::npos) {
                fields.push_back(line.substr(from));
                break;
            }
            fields.push_back(line.substr(from, comma - from));
            from = comma + 1;
        }
        for (int column : kMemberColumns)
            if (static_cast<std::size_t>(column) < fields.size())
                fields[static_cast<std::size_t>(column)] = {};
        std::size_t i = 0;
        for (; i < static_cast<std::size_t>(kStripFields); ++i) {
            if (i < fields.size())
                out.append(fields[i]);
            out.push_back(',');
        }
        // Fields past index 1000 are kept rather than silently dropped.
        for (; i < fields.size(); ++i) {
            out.append(fields[i]);
            if (i + 1 < fields.size())
                out.push_back(',');
        }
        out.append("\r\n");
    }
    return out;
}

StripOutcome SaveMemberStripped(const std::string& sourcePath, const std::string& targetPath)
{
    StripOutcome outcome;
    std::string bytes;
    if (!fileio::ReadWholeFile(sourcePath, bytes)) {
        outcome.message = msg::FileCannotOpen(sourcePath);
        return outcome;
    }
    if (!fileio::WriteFileAtomically(targetPath, StripMemberItems(bytes))) {
        outcome.message = msg::FileCannotCreate(targetPath);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace kovra
