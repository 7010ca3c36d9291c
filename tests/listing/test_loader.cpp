// Loading whole export files: outcome, line numbers, line ends, bad bytes.
#include "Cp932Codec.h"
#include "ListingLine.h"
#include "MessageTexts.h"
#include "ListingDocument.h"
#include "Utf8Path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using kovra::TListingDocument;
using kovra::LoadOutcome;
using kovra::test::ListingLine;
using Status = LoadOutcome::Status;

std::string Good(const char* number) { return ListingLine().set(1, number).str(); }

LoadOutcome Load(TListingDocument& d, const std::string& utf8Text)
{
    return kovra::LoadListingBytes(d, cp932::fromUtf8(utf8Text), "list.txt");
}

struct LoadCase {
    const char* what;
    std::string text;
    Status status;
    int count;
    int errorLine;
    const char* date;
};

// Guards the loader's outcomes and its line numbering.
TEST(Loader, Outcomes)
{
    const std::string bad = ListingLine().set(3, "").str();
    const LoadCase cases[] = {
        {"two listings and a header", "3,a,b,c,d,100401\r\n" + Good("1") + "\r\n" + Good("2") + "\r\n", Status::Ok, 2, 0,
         "平成10年4月1日"},
        {"header only", "3,,,,,091210\r\n", Status::NoListings, 0, 0, "平成09年12月10日"},
        {"empty file", "", Status::NoListings, 0, 0, ""},
        {"bad second listing after a header is line 3", "3,,,,,100401\n" + Good("1") + "\n" + bad + "\n" + Good("3"),
         Status::ConversionError, 0, 3, "平成10年4月1日"},
        {"ignored lines count for numbering", " 1\n\t1\n\n9,x\n" + bad, Status::ConversionError, 0, 5, ""},
        {"last header wins", "3,,,,,100401\n" + Good("1") + "\n3,,,,,110502\n", Status::Ok, 1, 0, "平成11年5月2日"},
        {"CR endings", Good("1") + "\r" + Good("2") + "\r" + bad, Status::ConversionError, 0, 3, ""},
        {"mixed endings", Good("1") + "\r\n" + Good("2") + "\n" + Good("3") + "\r" + Good("4"), Status::Ok, 4, 0, ""},
        {"UTF-8 bytes are not a listing file", "\xEF\xBB\xBF" "1,2,3", Status::NoListings, 0, 0, ""},
    };
    for (const LoadCase& c : cases) {
        TListingDocument d;
        d.KensakuNengappi = "stale";
        const LoadOutcome o = kovra::LoadListingBytes(d, c.text, "list.txt");
        EXPECT_EQ(o.status, c.status) << c.what;
        EXPECT_EQ(d.ListingCount, c.count) << c.what;
        EXPECT_EQ(o.errorLine, c.errorLine) << c.what;
        EXPECT_EQ(d.KensakuNengappi, c.date) << c.what;
    }
}

// Guards the exact texts the viewer and `kovra` show.
TEST(Loader, MessagesAndCaptions)
{
    TListingDocument d;
    LoadOutcome o = Load(d, "3\n" + Good("1") + "\n" + ListingLine().set(4, "x").str());
    EXPECT_EQ(o.message, "エラー   3行目で読込を中止しました");
    EXPECT_EQ(o.totalCaption, "ファイル読込エラー");
    EXPECT_EQ(o.title, "");

    o = Load(d, Good("1") + "\n" + Good("2"));
    EXPECT_EQ(o.totalCaption, "/ 全物件数 2");
    EXPECT_EQ(o.title, "Kovra Viewer  list.txt");
    EXPECT_TRUE(o.message.empty());

    o = Load(d, "3,,,,,100401");
    EXPECT_EQ(o.totalCaption, "/ 全物件数 0");
    EXPECT_EQ(o.message, "コヴラデーターファイルを開くことができません");
    // Line numbers past 2^31 (files of many gigabytes) are counted in 64 bits.
    EXPECT_EQ(kovra::msg::LoadAbortedAtLine(5000000000), "エラー   5000000000行目で読込を中止しました");
}

// Guards against showing the previous file's listings or search date.
TEST(Loader, EveryLoadStartsEmpty)
{
    TListingDocument d;
    Load(d, "3,,,,,100401\n" + Good("A"));
    ASSERT_EQ(d.ListingCount, 1);
    Load(d, Good("B"));
    EXPECT_EQ(d.KensakuNengappi, "");
    EXPECT_EQ(d.ListingTable[0].BukkennNum(), "B");

    Load(d, ListingLine().set(3, "?").str());
    EXPECT_EQ(d.ListingCount, 0);
}

// Guards the "cannot open" path: message with the path, state untouched.
TEST(Loader, MissingFileChangesNothing)
{
    TListingDocument d;
    Load(d, "3,,,,,100401\n" + Good("A"));
    const LoadOutcome o = kovra::LoadListingFile(d, "/no/such/folder/x.txt");
    EXPECT_EQ(o.status, Status::CannotOpen);
    EXPECT_EQ(o.message, "ファイル /no/such/folder/x.txt は開けません");
    EXPECT_EQ(d.ListingCount, 1);
    EXPECT_EQ(d.KensakuNengappi, "平成10年4月1日");
    EXPECT_EQ(kovra::LoadListingFile(d, kovra::test::Utf8(std::filesystem::temp_directory_path())).status, Status::CannotOpen);
}

// Guards the growable table and the Japanese text path through the codec.
TEST(Loader, ManyListingsAndJapaneseText)
{
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += ListingLine().set(1, std::to_string(i)).set(15, "東京都").set(16, "架空区").str() + "\r\n";
    TListingDocument d;
    ASSERT_TRUE(Load(d, text).ok());
    EXPECT_EQ(d.ListingCount, 1500);
    EXPECT_EQ(d.ListingTable[1400].BukkennNum(), "1400");
    EXPECT_EQ(d.ListingTable[1400].Syozaitimei(), "東京都架空区");
}

// Guards against crashes and hangs on hostile bytes.
TEST(Loader, HostileBytes)
{
    std::string garbage;
    for (int i = 0; i < 100000; ++i)
        garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
    TListingDocument d;
    kovra::LoadListingBytes(d, garbage, "g");

    std::string nul = Good("1");
    nul[3] = '\0';
    kovra::LoadListingBytes(d, nul, "n");

    std::string remarks;
    for (int i = 0; i < 25 * 1024 * 1024; ++i)
        remarks += "\x82\xa0"; // あ: a 50 MB line
    const LoadOutcome o = kovra::LoadListingBytes(d, ListingLine().set(45, remarks).str(), "big");
    ASSERT_TRUE(o.ok());
    EXPECT_EQ(d.ListingTable[0].Bikou().size(), 25u * 1024 * 1024 * 3);
}

// Guards the on-disk path, including a non-ASCII file name.
TEST(Loader, ReadsFilesByUtf8Path)
{
    const auto dir = std::filesystem::temp_directory_path() / "kovra_loader_test";
    std::filesystem::create_directories(dir);
    const auto file = dir / std::filesystem::path(u8"物件.txt");
    {
        std::ofstream out(file, std::ios::binary);
        out << cp932::fromUtf8("3,,,,,100401\r\n" + Good("X") + "\r\n");
    }
    TListingDocument d;
    const LoadOutcome o = kovra::LoadListingFile(d, kovra::test::Utf8(file));
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.title, "Kovra Viewer  物件.txt");
    std::filesystem::remove_all(dir);
}

} // namespace

namespace {

// Guards the chunked reader: a CR LF or a line cut at a chunk edge must not
// add a line, lose one, or move the error's line number.
TEST(Loader, ChunkEdgesChangeNothing)
{
    const std::string bad = ListingLine().set(53, "x").str();
    const std::string texts[] = {
        "3,,,,,100401\r\n" + Good("1") + "\r\n\r\n" + Good("2") + "\r\n" + bad + "\r\n" + Good("4"),
        Good("1") + "\r" + Good("2") + "\r\r" + Good("3") + "\n\n" + bad,
        Good("1") + "\n" + Good("2") + "\r\n3,,,,,110101\r" + Good("3") + "\r",
    };
    for (const std::string& text : texts) {
        TListingDocument whole;
        const LoadOutcome expected = kovra::LoadListingBytes(whole, text, "x");
        for (std::size_t chunk : {1u, 2u, 3u, 7u, 64u, 100000u}) {
            std::istringstream in(text);
            TListingDocument d;
            const LoadOutcome o = kovra::LoadListingStream(d, in, "x", chunk);
            EXPECT_EQ(o.status, expected.status) << chunk;
            EXPECT_EQ(o.errorLine, expected.errorLine) << chunk;
            EXPECT_EQ(d.ListingCount, whole.ListingCount) << chunk;
            EXPECT_EQ(d.KensakuNengappi, whole.KensakuNengappi) << chunk;
        }
    }
}

// Guards the two-thread split of big inputs: order, count and line numbers.
TEST(Loader, BigInputKeepsOrderAndLineNumbers)
{
    std::string text;
    for (int i = 0; i < 4000; ++i)
        text += ListingLine().set(1, std::to_string(i)).set(45, std::string(100, 'r')).str() + (i % 2 ? "\r\n" : "\n");
    TListingDocument d;
    ASSERT_TRUE(kovra::LoadListingBytes(d, text, "x").ok());
    ASSERT_EQ(d.ListingCount, 4000);
    for (int i = 0; i < 4000; i += 397)
        EXPECT_EQ(d.ListingTable[static_cast<std::size_t>(i)].BukkennNum(), std::to_string(i));

    text += ListingLine().set(4, "").str() + "\n" + Good("z");
    const LoadOutcome o = kovra::LoadListingBytes(d, "3,,,,,100401\n" + text, "x");
    EXPECT_EQ(o.errorLine, 4002);
    EXPECT_EQ(d.ListingCount, 0);
}

} // namespace

namespace {

// A stream whose source fails after `good` bytes, as a disk that cannot be read.
class FailingBuf : public std::streambuf {
public:
    FailingBuf(std::string bytes, std::size_t good) : bytes_(std::move(bytes)), good_(good) {}

protected:
    int_type underflow() override
    {
        if (pos_ >= good_)
            throw std::ios_base::failure("read error");
        const std::size_t n = std::min<std::size_t>(16, good_ - pos_);
        setg(bytes_.data() + pos_, bytes_.data() + pos_, bytes_.data() + pos_ + n);
        pos_ += n;
        return traits_type::to_int_type(bytes_[pos_ - n]);
    }

private:
    std::string bytes_;
    std::size_t good_, pos_ = 0;
};

// Guards against a read error passing as the end of the file: the listings
// read before it are not shown as if they were the whole file.
TEST(Loader, ReadFailureIsNotAShorterSuccess)
{
    const std::string text = Good("1") + "\r\n" + Good("2") + "\r\n" + Good("3") + "\r\n";
    FailingBuf buf(text, text.size() / 2);
    std::istream in(&buf);
    TListingDocument d;
    const LoadOutcome o = kovra::LoadListingStream(d, in, "x", 8);
    EXPECT_EQ(o.status, Status::ReadFailed);
    EXPECT_EQ(d.ListingCount, 0);
    EXPECT_EQ(o.totalCaption, "ファイル読込エラー");
    EXPECT_EQ(o.message, "ファイル x の読込中にエラーが発生しました");
}

// Guards a line far longer than a chunk: read whole, not cut or lost.
TEST(Loader, LineFarLongerThanAChunk)
{
    std::istringstream in(ListingLine().set(45, std::string(4 << 20, 'r')).str());
    TListingDocument d;
    ASSERT_TRUE(kovra::LoadListingStream(d, in, "x", 16).ok());
    EXPECT_EQ(d.ListingTable[0].Bikou().size(), 4u << 20);
}

} // namespace
