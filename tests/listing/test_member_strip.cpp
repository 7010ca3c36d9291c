// The member-stripped copy: format, untouched lines, round trip, safe writes.
#include "Cp932Codec.h"
#include "HostileFiles.h"
#include "ListingLine.h"
#include "ListingDocument.h"
#include "MemberStrip.h"
#include "Utf8Path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

using kovra::test::ListingLine;
using kovra::test::PathFromUtf8;
using kovra::test::Utf8;
namespace fs = std::filesystem;

std::string Lines(std::string_view bytes, int index)
{
    std::size_t pos = 0;
    for (int i = 0; i < index; ++i)
        pos = bytes.find("\r\n", pos) + 2;
    return std::string(bytes.substr(pos, bytes.find("\r\n", pos) - pos));
}

ListingLine Member()
{
    return ListingLine()
        .set(38, "1").set(42, "1234567890").set(43, "みどり不動産").set(44, "0120-000-100")
        .set(84, "山田 太郎").set(85, "0120-000-200").set(86, "a@example.jp").set(45, "南 向き");
}

// Guards the written format: 1001 commas, blanked columns, spaces kept.
TEST(MemberStrip, ListingLineFormat)
{
    const std::string src = cp932::fromUtf8(Member().str());
    const std::string out = kovra::StripMemberItems(src);
    const std::string line = Lines(out, 0);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 1001);
    EXPECT_EQ(line.back(), ',');
    EXPECT_NE(line.find(cp932::fromUtf8("南 向き")), std::string::npos);
    EXPECT_EQ(line.find(cp932::fromUtf8("みどり")), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
}

// Guards against changing what is not a listing line, or erasing a line.
TEST(MemberStrip, OtherLinesUnchanged)
{
    const std::string src = "3,a, b ,c,d,100401\n \xff\x82\n\n1\r9,z";
    const std::string out = kovra::StripMemberItems(src);
    EXPECT_EQ(out, "3,a, b ,c,d,100401\r\n \xff\x82\r\n\r\n1\r\n9,z\r\n");
}

// Guards against dropping data past the 1001st field.
TEST(MemberStrip, FieldsPastTheLimitAreKept)
{
    std::string src = "1";
    for (int i = 1; i <= 1003; ++i)
        src += "," + std::to_string(i);
    const std::string out = kovra::StripMemberItems(src);
    EXPECT_NE(out.find(",1000,1001,1002,1003\r\n"), std::string::npos);
    EXPECT_EQ(out.find(",38,"), std::string::npos);
}

// Guards the round trip: the copy loads and shows the member fields blanked.
TEST(MemberStrip, StrippedCopyLoads)
{
    kovra::TListingDocument before, after;
    const std::string src = cp932::fromUtf8("3,,,,,100401\r\n" + Member().set(6, "2480").str());
    ASSERT_TRUE(kovra::LoadListingBytes(before, src, "a").ok());
    ASSERT_TRUE(kovra::LoadListingBytes(after, kovra::StripMemberItems(src), "b").ok());
    const auto& r = after.ListingTable[0];
    EXPECT_EQ(r.KaiinNum(), "-");
    EXPECT_EQ(r.KaiinMei(), "");
    EXPECT_EQ(r.Tel(), "");
    EXPECT_EQ(r.Housyuu(), "-----");
    EXPECT_EQ(r.Tantou(), "-----");
    EXPECT_EQ(r.ToiawaseTel(), "-----");
    EXPECT_EQ(r.EMail(), "-----");
    const std::vector<std::string_view> member = {"Housyuu", "KaiinNum", "KaiinMei", "Tel", "Tantou", "ToiawaseTel", "EMail"};
    for (int f = 0; f < kovra::kFieldCount; ++f) {
        if (std::find(member.begin(), member.end(), kovra::kFieldNames[static_cast<std::size_t>(f)]) == member.end()) {
            EXPECT_EQ(r.field(f), before.ListingTable[0].field(f)) << kovra::kFieldNames[static_cast<std::size_t>(f)];
        }
    }
    EXPECT_EQ(after.KensakuNengappi, before.KensakuNengappi);
}

// The stripped line as the rule states it: split at every comma, blank the
// member columns, write fields 0..1000 each with a comma, then the rest.
std::string StrippedByRule(const std::string& line)
{
    std::vector<std::string> f;
    for (std::size_t from = 0;;) {
        const std::size_t comma = line.find(',', from);
        f.push_back(line.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    for (int c : kovra::kMemberColumns)
        if (static_cast<std::size_t>(c) < f.size())
            f[static_cast<std::size_t>(c)].clear();
    std::string out;
    for (std::size_t i = 0; i < std::max<std::size_t>(1001, f.size()); ++i) {
        out += i < f.size() ? f[i] : "";
        if (i < 1001 || i + 1 < f.size())
            out += ',';
    }
    return out + "\r\n";
}

// Guards the field count around the member columns and the 1001-field end.
TEST(MemberStrip, FieldCountAroundTheLimits)
{
    for (int fields : {2, 38, 39, 86, 87, 88, 1000, 1001, 1002, 1003, 5000}) {
        std::string line = "1";
        for (int i = 1; i < fields; ++i)
            line += "," + std::to_string(i);
        EXPECT_EQ(kovra::StripMemberItems(line), StrippedByRule(line)) << fields;
    }
}

class MemberStripFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One folder per test: CTest runs the cases of this file side by side.
        // Its non-ASCII name carries every path below through UTF-8.
        dir = fs::temp_directory_path() /
              PathFromUtf8("kovra_strip_物件_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string write(const char* name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return Utf8(dir / name);
    }
    static std::string read(const std::string& path)
    {
        std::ifstream in(PathFromUtf8(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir;
};

// Guards the source: blanked in place, the only full copy would be gone.
TEST_F(MemberStripFiles, NeverSavedOntoTheSourceFile)
{
    const std::string bytes = cp932::fromUtf8(Member().str());
    const std::string src = write("a.kvd", bytes);
    fs::create_hard_link(dir / "a.kvd", dir / "hard.kvd");
    for (const std::string& target : {src, Utf8(dir / "." / "a.kvd"), Utf8(dir / "hard.kvd")}) {
        const kovra::StripOutcome o = kovra::SaveMemberStripped(src, target);
        EXPECT_FALSE(o.ok) << target;
        EXPECT_TRUE(o.outputIsInput) << target;
        EXPECT_EQ(o.message, "出力ファイル " + target + " は入力ファイルと同じファイルです");
    }
    EXPECT_EQ(read(src), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2) << "no temporary file left";
}

// Guards the save that reads and writes in pieces: the same bytes as the
// strip of the whole file, also across piece edges and for lines longer
// than a piece.
TEST_F(MemberStripFiles, SavedInPiecesLikeTheWholeStrip)
{
    std::string many;
    while (many.size() < (9u << 20))
        many += cp932::fromUtf8(Member().str()) + (many.size() % 3 ? "\r\n" : "\r");
    const std::string sources[] = {
        many,
        "3,,,,,100401\r1" + std::string(9u << 20, ',') + "\n9,x",
        "1," + std::string(9u << 20, 'x') + ",y\r\n",
    };
    for (const std::string& source : sources) {
        const std::string src = write("src.txt", source);
        const std::string target = Utf8(dir / "out.kvd");
        ASSERT_TRUE(kovra::SaveMemberStripped(src, target).ok);
        EXPECT_TRUE(read(target) == kovra::StripMemberItems(source)) << source.substr(0, 20);
    }
}

// Guards failures: messages with the path, existing target left intact.
TEST_F(MemberStripFiles, FailuresLeaveTargetsIntact)
{
    const std::string target = write("keep.kvd", "old");
    auto o = kovra::SaveMemberStripped(Utf8(dir / "missing.txt"), target);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "ファイル " + Utf8(dir / "missing.txt") + " は開けません");
    EXPECT_EQ(read(target), "old");

    const std::string src = write("src.txt", Member().str());
    const std::string badTarget = Utf8(dir / "no" / "such" / "out.kvd");
    o = kovra::SaveMemberStripped(src, badTarget);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "ファイル " + badTarget + " を作成できません");
    EXPECT_FALSE(kovra::SaveMemberStripped(src, Utf8(dir)).ok) << "a folder is no target";

    kovra::test::DiskFullAfter full(4096);
    if (full.active()) {
        o = kovra::SaveMemberStripped(write("big.txt", std::string(1 << 20, 'x')), target);
        EXPECT_EQ(o.message, "ファイル " + target + " を作成できません") << "full disk";
        EXPECT_EQ(read(target), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3) << "no temporary file left";
    }
}

} // namespace
