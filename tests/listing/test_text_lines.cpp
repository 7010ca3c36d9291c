// The one line reader: CR LF, CR or LF end a line, for a whole buffer and
// for a file read in pieces alike.
#include "TextLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace kovra::text;

namespace {

// Hands out `text` in chunks of `chunk` bytes.
WholeLineReader ReaderOf(const std::string& text, std::size_t chunk)
{
    return WholeLineReader(
        [&text, pos = std::size_t(0)](char* into, std::size_t n) mutable {
            n = std::min(n, text.size() - pos);
            std::memcpy(into, text.data() + pos, n);
            pos += n;
            return n;
        },
        chunk);
}

} // namespace

// Guards the line-end rule, and a file read in pieces being cut into the
// same lines as the same bytes read whole.
TEST(TextLines, SameLinesWholeAndInPieces)
{
    const struct {
        std::string text;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\n\n", {"a", ""}},
        {"a\r\nb\rc\n\r\nd", {"a", "b", "c", "", "d"}},
        {"\r\r\n\n\r", {"", "", "", ""}},
        {"\x82\xa0\r\x82\xa2\n", {"\x82\xa0", "\x82\xa2"}}, // Shift-JIS text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitLines(c.text), c.lines);
        for (std::size_t chunk : {1u, 2u, 3u, 64u}) {
            WholeLineReader reader = ReaderOf(c.text, chunk);
            std::vector<std::string_view> lines;
            std::vector<std::string> runs; // the views of a run end with the next one
            for (std::string_view run; reader.next(run);)
                runs.emplace_back(run);
            for (const std::string& run : runs) {
                LineSplitter splitter(run);
                for (std::string_view line; splitter.next(line);)
                    lines.push_back(line);
            }
            EXPECT_EQ(lines, c.lines) << chunk;
        }
    }
}

// Guards where a buffer may be cut for two decoders: never between a CR and
// the LF that may follow it.
TEST(TextLines, NextCertainLineEnd)
{
    const struct {
        std::string_view bytes;
        std::size_t from, end;
    } cases[] = {
        {"ab\ncd", 0, 3}, {"ab\r\ncd", 0, 4}, {"ab\rcd", 0, 3}, {"ab\r", 0, std::string_view::npos},
        {"a\nb\nc", 2, 4}, {"abc", 0, std::string_view::npos}, {"ab\r\r", 0, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NextCertainLineEnd(c.bytes, c.from), c.end) << c.bytes;
}

// Guards the chunked reader's runs: whole lines only, nothing lost or doubled,
// also for a line far longer than a chunk (whose carried start must not be
// searched again for every chunk: at 16-byte chunks a 4 MB line would then
// take hours).
TEST(TextLines, WholeLineRunsAtAnyChunkSize)
{
    const std::string texts[] = {
        "a\r\nb\rc\n\r\nd",
        "\r\r\n\n\r",
        "1" + std::string(4 << 20, ','),
    };
    for (const std::string& text : texts) {
        for (std::size_t chunk : {1u, 2u, 3u, 16u, 1000u}) {
            if (text.size() > 100 && chunk < 16)
                continue;
            WholeLineReader reader = ReaderOf(text, chunk);
            std::string joined;
            std::string_view run;
            while (reader.next(run)) {
                joined.append(run);
                if (joined.size() < text.size()) {
                    // Ends at a certain line end: a LF, or a CR not followed by LF.
                    ASSERT_TRUE(run.back() == '\n' || (run.back() == '\r' && text[joined.size()] != '\n'))
                        << chunk;
                }
            }
            EXPECT_EQ(joined, text) << chunk;
        }
    }
}
