// The program's file access: what is read, how much, and how files are replaced.
#include "FileIO.h"
#include "HostileFiles.h"
#include "MessageTexts.h"
#include "ListingDocument.h"
#include "MemberStrip.h"
#include "Utf8Path.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;
using kovra::fileio::ReadStatus;
using kovra::test::Utf8;

// Symbolic links need a privilege on Windows (and wine lacks them): the
// cases that need one are skipped where the platform cannot make it.
bool Link(const fs::path& to, const fs::path& at)
{
    std::error_code ec;
    fs::create_symlink(to, at, ec);
    return !ec;
}

class FileIOTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One folder per test: CTest runs the cases of this file side by side.
        dir = fs::temp_directory_path() / ("kovra_fileio_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        clear();
        fs::create_directories(dir);
    }
    void TearDown() override { clear(); }
    // Windows refuses to remove a read-only file: give the write bit back first.
    void clear()
    {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(dir, ec))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add | fs::perm_options::nofollow, ec);
        fs::remove_all(dir, ec);
    }
    std::string write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return Utf8(dir / name);
    }
    static std::string read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Files the safe save left behind.
    std::size_t tempFiles() const
    {
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(dir))
            n += e.path().filename().string().starts_with(".kovra-");
        return n;
    }
    fs::path dir;
};

// Guards against a reader blocking on a FIFO or never ending on a device:
// every reader refuses them at once with its open-failure message.
TEST_F(FileIOTest, ReadersRefuseWhatIsNotARegularFile)
{
    ASSERT_TRUE(kovra::test::MakeFifo(dir / "fifo") || !fs::exists("/dev/zero")) << "a POSIX system makes FIFOs";
    kovra::test::MakeSocketFile(dir / "sock");
    const std::pair<std::string, ReadStatus> cases[] = {
        {Utf8(dir / "fifo"), ReadStatus::NotRegular},
        {Utf8(dir / "sock"), ReadStatus::NotRegular},
        {"/dev/zero", ReadStatus::NotRegular},
        {"/dev/urandom", ReadStatus::NotRegular},
        {Utf8(dir), ReadStatus::NotRegular},
        {Utf8(dir / "missing"), ReadStatus::CannotOpen},
        {"", ReadStatus::CannotOpen},
    };
    const std::string target = Utf8(dir / "out.kvd");
    for (const auto& [path, status] : cases) {
        if (!path.empty() && !fs::exists(fs::symlink_status(path)) && status == ReadStatus::NotRegular)
            continue; // no such special file here
        std::string bytes;
        EXPECT_EQ(kovra::fileio::ReadWholeFile(path, bytes, 1 << 20).status, status) << path;
        kovra::fileio::InputFile in;
        EXPECT_EQ(in.open(path), status) << path;

        kovra::TListingDocument data;
        data.ListingCount = 7;
        const kovra::LoadOutcome loaded = kovra::LoadListingFile(data, path);
        EXPECT_EQ(loaded.status, kovra::LoadOutcome::Status::CannotOpen) << path;
        EXPECT_EQ(loaded.message, kovra::msg::FileCannotOpen(path));
        EXPECT_EQ(data.ListingCount, 7) << "nothing changed: " << path;

        const kovra::StripOutcome stripped = kovra::SaveMemberStripped(path, target);
        EXPECT_EQ(stripped.message, kovra::msg::FileCannotOpen(path));
        EXPECT_FALSE(fs::exists(target)) << path;
    }
}

// Guards the size limit of whole-file reads and its message.
TEST_F(FileIOTest, WholeReadsStopAtTheLimit)
{
    struct Case { std::size_t size, limit; ReadStatus status; };
    const Case cases[] = {{0, 10, ReadStatus::Ok}, {10, 10, ReadStatus::Ok}, {11, 10, ReadStatus::TooLarge}};
    for (const Case& c : cases) {
        const std::string path = write("f", std::string(c.size, 'a'));
        std::string bytes = "stale";
        const kovra::fileio::ReadResult r = kovra::fileio::ReadWholeFile(path, bytes, c.limit);
        EXPECT_EQ(r.status, c.status) << c.size;
        EXPECT_EQ(r.size, c.size);
        EXPECT_EQ(bytes, r.ok() ? std::string(c.size, 'a') : "");
    }
    std::string bytes;
    const auto r = kovra::fileio::ReadWholeFile(write("f", "12345678901"), bytes, 10);
    EXPECT_EQ(kovra::msg::FileReadFailure("f", r, 10), "ファイル f は大きすぎるため開けません (11 バイト、上限 10 バイト)");
    // A sparse file far above any limit is refused without being read.
    std::filesystem::resize_file(dir / "f", 8ull << 30);
    EXPECT_EQ(kovra::fileio::ReadWholeFile(Utf8(dir / "f"), bytes, 1 << 20).size, 8ull << 30);
    // Files whose size the system does not know beforehand are read to their end.
    if (fs::exists("/proc/self/status")) {
        ASSERT_TRUE(kovra::fileio::ReadWholeFile("/proc/self/status", bytes, 1 << 20).ok());
        EXPECT_NE(bytes.find("VmRSS"), std::string::npos);
        EXPECT_EQ(kovra::fileio::ReadWholeFile("/proc/self/status", bytes, 16).status, ReadStatus::TooLarge);
    }
}

// Guards against a read error or a file cut short while read passing as its end.
TEST_F(FileIOTest, ReadErrorsAndShrinkingFilesAreFailures)
{
    const std::string path = write("f", std::string(100000, 'a'));
    kovra::fileio::InputFile in;
    ASSERT_EQ(in.open(path), ReadStatus::Ok);
    char buffer[1000];
    EXPECT_EQ(in.read(buffer, sizeof buffer), sizeof buffer);
    fs::resize_file(path, 50000);
    while (in.read(buffer, sizeof buffer) > 0) {
    }
    EXPECT_EQ(in.status(), ReadStatus::Shrank);
    EXPECT_EQ(kovra::msg::FileReadFailure("f", {ReadStatus::Shrank, 0}, 0), "ファイル f は読込中に短くなりました");
    // The print engine counts a file that shrank as one that failed to read.
    EXPECT_EQ(kovra::msg::FileReadFailure("f", {ReadStatus::Shrank, 0}, 0, true), "ファイル f の読込中にエラーが発生しました");

    if (!fs::exists("/proc/self/mem"))
        GTEST_SKIP() << "no file here fails its reads";
    // Reading this process's memory from address 0 fails with an I/O error.
    std::string bytes;
    EXPECT_EQ(kovra::fileio::ReadWholeFile("/proc/self/mem", bytes, 1 << 20).status, ReadStatus::ReadFailed);
    kovra::TListingDocument data;
    const kovra::LoadOutcome o = kovra::LoadListingFile(data, "/proc/self/mem");
    EXPECT_EQ(o.status, kovra::LoadOutcome::Status::ReadFailed);
    EXPECT_EQ(o.message, "ファイル /proc/self/mem の読込中にエラーが発生しました");
    EXPECT_EQ(o.totalCaption, "ファイル読込エラー");
    const std::string target = write("keep.kvd", "old");
    EXPECT_FALSE(kovra::SaveMemberStripped("/proc/self/mem", target).ok);
    EXPECT_EQ(read(target), "old");
    EXPECT_EQ(tempFiles(), 0u);
}

// Guards the replacing write: permission bits kept, links followed and kept,
// and the hard-link rule (the saved name gets a new file, other names keep
// the old one).
TEST_F(FileIOTest, ReplacingKeepsModeAndWritesThroughLinks)
{
    struct Case {
        const char* what;
        std::function<std::string()> setUp; // returns the path to save to
        std::function<void()> check;
    };
    const auto perms = [&](const char* name) { return fs::status(dir / name).permissions() & fs::perms::mask; };
    fs::perms before{}; // what the platform made of the mode set below
    const Case cases[] = {
        {"mode kept", [&] { write("a", "old"); fs::permissions(dir / "a", fs::perms(0640)); before = perms("a"); return Utf8(dir / "a"); },
         [&] { EXPECT_EQ(perms("a"), before); }},
        {"relative link", [&] { write("real", "old"); fs::permissions(dir / "real", fs::perms(0600)); before = perms("real");
                                return Link("real", dir / "link") ? Utf8(dir / "link") : std::string(); },
         [&] { EXPECT_TRUE(fs::is_symlink(dir / "link")); EXPECT_EQ(read(dir / "real"), "new"); EXPECT_EQ(perms("real"), before); }},
        {"chain of links", [&] { fs::create_directories(dir / "sub"); write("sub/real", "old");
                                 return Link(dir / "sub" / "real", dir / "l2") && Link("l2", dir / "l1") ? Utf8(dir / "l1") : std::string(); },
         [&] { EXPECT_TRUE(fs::is_symlink(dir / "l1")); EXPECT_TRUE(fs::is_symlink(dir / "l2")); EXPECT_EQ(read(dir / "sub" / "real"), "new"); }},
        {"dangling link", [&] { return Link("made", dir / "link") ? Utf8(dir / "link") : std::string(); },
         [&] { EXPECT_TRUE(fs::is_symlink(dir / "link")); EXPECT_EQ(read(dir / "made"), "new"); }},
        {"hard link", [&] { write("a", "old"); fs::create_hard_link(dir / "a", dir / "b"); return Utf8(dir / "a"); },
         [&] { EXPECT_EQ(read(dir / "b"), "old"); EXPECT_EQ(fs::hard_link_count(dir / "a"), 1u); }},
        {"new file", [&] { return Utf8(dir / "new"); }, [] {}},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string path = c.setUp();
        if (path.empty())
            continue; // no symbolic links here
        ASSERT_TRUE(kovra::fileio::WriteFileAtomically(path, "new")) << c.what;
        EXPECT_EQ(read(path), "new") << c.what;
        c.check();
        EXPECT_EQ(tempFiles(), 0u) << c.what;
    }
}

// Guards against a failed save touching the target or leaving its temporary file.
TEST_F(FileIOTest, FailedSavesLeaveTheTargetAndNoTemporaryFile)
{
    const std::string big(1 << 20, 'x');
    struct Case {
        const char* what;
        std::function<bool(const std::string& target)> save; // false: the save failed as it must
    };
    const Case cases[] = {
        {"full disk", [&](const std::string& t) {
             kovra::test::DiskFullAfter full(64 * 1024);
             if (!full.active())
                 return false;
             return kovra::fileio::WriteFileAtomically(t, big);
         }},
        {"never committed", [&](const std::string& t) {
             kovra::fileio::SafeSaveFile f(t);
             return !(f.open() && f.write(big)); // destroyed without commit
         }},
        {"discarded", [&](const std::string& t) {
             kovra::fileio::SafeSaveFile f(t);
             f.open();
             f.write(big);
             f.discard();
             return f.commit();
         }},
    };
    for (const Case& c : cases) {
        const std::string target = write("t", "old");
        EXPECT_FALSE(c.save(target)) << c.what;
        EXPECT_EQ(read(target), "old") << c.what;
        EXPECT_EQ(tempFiles(), 0u) << c.what;
    }

    // Targets that are no regular file are never replaced.
    const bool fifo = kovra::test::MakeFifo(dir / "fifo");
    fs::create_directories(dir / "folder");
    const bool loop = Link("loop2", dir / "loop1") && Link("loop1", dir / "loop2");
    for (const std::string name : {"fifo", "folder", "loop1", "no/such/folder/x"}) {
        if ((name == "loop1" && !loop) || (name == "fifo" && !fifo))
            continue;
        kovra::fileio::SafeSaveFile f(Utf8(dir / name));
        EXPECT_FALSE(f.open()) << name;
    }
    if (fs::exists("/dev/null")) {
        EXPECT_FALSE(kovra::fileio::SafeSaveFile("/dev/null").open());
    }
    EXPECT_TRUE(!fs::exists(dir / "fifo") || fs::is_fifo(dir / "fifo"));
    EXPECT_EQ(tempFiles(), 0u);

    if (!kovra::test::RunningAsRoot()) { // root may write anywhere
        const std::string readOnly = write("ro", "old");
        fs::permissions(dir / "ro", fs::perms(0444));
        EXPECT_FALSE(kovra::fileio::WriteFileAtomically(readOnly, "new"));
        EXPECT_EQ(read(readOnly), "old");
        fs::permissions(dir / "ro", fs::perms(0644));
    }
}

// Guards the rule that no output replaces an input of its own job: other
// spellings, links and hard links of an input are refused (nothing is
// written, no temporary file), other and missing files are not.
TEST_F(FileIOTest, AnOutputIsNeverAnInputOfItsJob)
{
    const std::string a = write("a", "input");
    write("b", "x");
    const bool link = Link("a", dir / "link");
    fs::create_hard_link(dir / "a", dir / "hard");
    fs::create_directories(dir / "sub");
    const kovra::fileio::JobInputs inputs{Utf8(dir / "b"), a, ""};
    const std::pair<std::string, bool> cases[] = {
        {a, true},
        {Utf8(dir / "." / "a"), true},
        {Utf8(dir / "sub" / ".." / "a"), true},
        {Utf8(dir / "link"), true},
        {Utf8(dir / "hard"), true},
        {Utf8(dir / "c"), false},
    };
    for (const auto& [output, same] : cases) {
        if (!link && output == Utf8(dir / "link"))
            continue;
        EXPECT_EQ(kovra::fileio::SameFile(a, output), same) << output;
        for (const auto links : {kovra::fileio::LinkAtTarget::Follow, kovra::fileio::LinkAtTarget::Replace}) {
            kovra::fileio::SafeSaveFile f(output, kovra::fileio::Durability::LeftToTheSystem, &inputs, links);
            const bool written = f.open() && f.write("output") && f.commit();
            EXPECT_EQ(written, !same) << output;
            EXPECT_EQ(f.refusedAsInput(), same) << output;
        }
        EXPECT_EQ(read(dir / "a"), "input") << output;
        EXPECT_EQ(tempFiles(), 0u);
    }
}

// Guards a folder of pages: a link standing there under a page's name is
// replaced by the page, and what it points to (outside) stays as it was.
TEST_F(FileIOTest, InAChosenFolderALinkIsReplacedNotWrittenThrough)
{
    fs::create_directories(dir / "pages");
    write("outside", "keep");
    if (!Link(dir / "outside", dir / "pages" / "1.html") || !Link(dir / "missing", dir / "pages" / "2.html"))
        GTEST_SKIP() << "no symbolic links here";
    for (const char* page : {"1.html", "2.html"}) {
        kovra::fileio::SafeSaveFile f(Utf8(dir / "pages" / page), kovra::fileio::Durability::LeftToTheSystem, nullptr,
                                      kovra::fileio::LinkAtTarget::Replace);
        ASSERT_TRUE(f.open() && f.write("page") && f.commit()) << page;
        EXPECT_FALSE(fs::is_symlink(dir / "pages" / page)) << page;
        EXPECT_EQ(read(dir / "pages" / page), "page");
    }
    EXPECT_EQ(read(dir / "outside"), "keep");
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

} // namespace
