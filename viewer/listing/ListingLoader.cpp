#include "ListingTable.h"

#include "Cp932Codec.h"
#include "FileIO.h"
#include "ListingDecoder.h"
#include "ListingMessages.h"
#include "TextHelpers.h"

#include <algorithm>
#include <cstring>

namespace kovra {

namespace msg {

std::string LoadAbortedAtLine(int line)
{
    return "エラー   " + std::to_string(line) + "行目で読込を中止しました";
}

std::string FileCannotOpen(std::string_view path)
{
    return "ファイル " + std::string(path) + " は開けません";
}

std::string FileCannotCreate(std::string_view path)
{
    return "ファイル " + std::string(path) + " を作成できません";
}

} // namespace msg

ListingData& Listings()
{
    static ListingData data;
    return data;
}

namespace {

constexpr int kHeaderHighestIndex = 1000;

// Calls `onLine(line)` for every line of `bytes`; a line ends at CR LF, CR or LF.
template <typename F>
bool forEachLine(std::string_view bytes, F&& onLine)
{
    std::size_t pos = 0;
    const std::size_t n = bytes.size();
    while (pos < n) {
        const char* start = bytes.data() + pos;
        const void* lf = std::memchr(start, '\n', n - pos);
        std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - bytes.data()) : n;
        // A lone CR before the next LF ends a line too.
        const void* cr = std::memchr(start, '\r', end - pos);
        std::size_t next;
        if (cr) {
            end = static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data());
            next = (end + 1 < n && bytes[end + 1] == '\n') ? end + 2 : end + 1;
        } else {
            next = lf ? end + 1 : n;
        }
        if (!onLine(bytes.substr(pos, end - pos)))
            return false;
        pos = next;
    }
    return true;
}

std::size_t countLines(std::string_view bytes, char first)
{
    std::size_t count = (!bytes.empty() && bytes[0] == first) ? 1 : 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if ((bytes[i] == '\n' || bytes[i] == '\r') && bytes[i + 1] == first)
            ++count;
    return count;
}

} // namespace

LoadOutcome LoadListingBytes(ListingData& data, std::string_view bytes, std::string_view fileName)
{
    // Every load starts empty: no records of the previous file, and no search
    // date that a file without a header line would otherwise inherit.
    data.ListingTable.clear();
    data.ListingTable.shrink_to_fit();
    data.ListingCount = 0;
    data.KensakuNengappi.clear();
    data.ListingTable.reserve(countLines(bytes, '1'));

    LoadOutcome outcome;
    ListingDecoder decoder;
    std::string utf8;
    std::vector<std::string_view> header;
    int lineNo = 0;
    const bool completed = forEachLine(bytes, [&](std::string_view line) {
        ++lineNo;
        if (line.empty())
            return true;
        if (line[0] == '3') {
            utf8.clear();
            cp932::appendUtf8(utf8, line);
            header.assign(kHeaderHighestIndex + 1, std::string_view());
            SplitFields(utf8, header, kHeaderHighestIndex);
            data.KensakuNengappi = EraDateText(header[5]);
        } else if (line[0] == '1') {
            utf8.clear();
            cp932::appendUtf8(utf8, line);
            TKovraDataClass record;
            if (!decoder.decode(utf8, record))
                return false;
            data.ListingTable.push_back(std::move(record));
        }
        return true;
    });

    if (!completed) {
        data.ListingTable.clear();
        data.ListingTable.shrink_to_fit();
        data.ListingCount = 0;
        outcome.status = LoadOutcome::Status::ConversionError;
        outcome.errorLine = lineNo;
        outcome.message = msg::LoadAbortedAtLine(lineNo);
        outcome.totalCaption = std::string(msg::kLoadErrorCaption);
        return outcome;
    }

    data.ListingCount = static_cast<int>(data.ListingTable.size());
    outcome.count = data.ListingCount;
    outcome.totalCaption = std::string(msg::kTotalCaptionPrefix) + std::to_string(data.ListingCount);
    outcome.title = std::string(msg::kTitlePrefix) + std::string(fileName);
    if (data.ListingCount == 0) {
        outcome.status = LoadOutcome::Status::NoListings;
        outcome.message = std::string(msg::kCannotOpenKovraFile);
    }
    return outcome;
}

LoadOutcome LoadListingFile(ListingData& data, const std::string& path)
{
    std::string bytes;
    if (!fileio::ReadWholeFile(path, bytes)) {
        LoadOutcome outcome;
        outcome.status = LoadOutcome::Status::CannotOpen;
        outcome.count = data.ListingCount;
        outcome.message = msg::FileCannotOpen(path);
        return outcome;
    }
    return LoadListingBytes(data, bytes, fileio::BaseName(path));
}

} // namespace kovra
