// Page skipping, pairing, the print job's sheet walk and the page geometry.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include "PageWalk.h"

#include <random>

using namespace dorvex;
using petest::MemFile;

namespace {

// The page loop as the language defines it, line by line: the reference the
// indexed skip must agree with.
bool ReferenceSkip(PrintFile& file, long long page, bool cyclic)
{
    long long i = 1;
    while (i < page && !file.eof()) {
        std::string_view line = file.readLine();
        if (file.eof() && cyclic) {
            file.reset();
            ++i;
        } else if (!line.empty() && (line[0] == 'E' || line[0] == 'e')) {
            ++i;
        }
    }
    return i >= page;
}

// A file of `pages` pages with `linesPerPage` items each ("E" between).
std::vector<std::string> Pages(int pages, int linesPerPage = 1, bool finalE = false)
{
    std::vector<std::string> lines;
    for (int p = 1; p <= pages; ++p) {
        for (int i = 0; i < linesPerPage; ++i)
            lines.push_back("T0;0;p" + std::to_string(p) + ";");
        if (p < pages || finalE)
            lines.push_back("E");
    }
    return lines;
}

class CountingTarget : public SheetTarget {
public:
    bool drawPage(PrintFile& f) override { return DrawPage(job, f, nullptr, 10, 1, 1); }
    void newSheet(int) override {}
    TEngineJob job;
};

std::vector<PagePair> Walk(const std::vector<std::string>* format, const std::vector<std::string>& data,
                           bool printForm = true, int from = 0, int to = 0)
{
    PrintFile fmt, dat = MemFile(data);
    if (format)
        fmt = MemFile(*format);
    PrintWalkOptions o;
    o.printForm = printForm;
    o.rangeGiven = from > 0;
    o.fromPage = from;
    o.pagesLeft = from > 0 ? to - from + 1 : CountPagesOf(dat);
    CountingTarget t;
    return RunPrintWalk(format ? &fmt : nullptr, dat, o, t);
}

} // namespace

// Guards the indexed SkipPages against the plain page loop, both kinds, from
// the start and from inside a file, including files ending in "E".
TEST(SkipPages, AgreesWithThePageLoop)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> lines;
        const int n = int(rng() % 8);
        for (int i = 0; i < n; ++i)
            lines.push_back((rng() % 3 == 0) ? (rng() % 2 ? "E" : "e") : "T0;0;x;");
        const bool cyclic = rng() % 2;
        const long long page = static_cast<long long>(rng() % 12);
        const std::size_t start = n ? rng() % (n + 1) : 0;
        PrintFile a = MemFile(lines), b = MemFile(lines);
        for (std::size_t i = 0; i < start; ++i) {
            a.readLine();
            b.readLine();
        }
        const bool ra = SkipPages(a, page, cyclic);
        const bool rb = ReferenceSkip(b, page, cyclic);
        ASSERT_EQ(ra, rb) << "round " << round;
        ASSERT_EQ(a.position(), b.position()) << "round " << round;
    }
}

// Guards the not-cyclic end: page 3 of a two-page file fails at the end.
TEST(SkipPages, PastTheLastDataPage)
{
    PrintFile f = MemFile(Pages(2));
    EXPECT_FALSE(SkipPages(f, 3, false));
    EXPECT_TRUE(f.eof());
    f.reset();
    EXPECT_TRUE(SkipPages(f, 1, false));
    EXPECT_EQ(f.position(), 0u);
}

// Guards PageTotal: data rounded up to whole cycles of the format.
TEST(CountPreviewPages, Table)
{
    QTemporaryDir dir;
    struct Case { int formatPages, dataPages, total; };
    const Case cases[] = {{2, 5, 6}, {1, 4, 4}, {3, 1, 3}, {2, 4, 4}, {3, 7, 9}, {1, 1, 1}};
    for (const Case& c : cases) {
        TEngineJob job(petest::WriteTempFile(dir, "f.fom", petest::Cp932Lines(Pages(c.formatPages))),
                       petest::WriteTempFile(dir, "d.dat", petest::Cp932Lines(Pages(c.dataPages))));
        ASSERT_TRUE(job.openFiles());
        job.CurrentPage = 2;
        CountPreviewPages(job);
        EXPECT_EQ(job.PageTotal, c.total) << c.formatPages << "/" << c.dataPages;
        EXPECT_EQ(job.CurrentPage, 1);
    }
    TEngineJob noFormat("", petest::WriteTempFile(dir, "d.dat", petest::Cp932Lines(Pages(3))));
    ASSERT_TRUE(noFormat.openFiles());
    CountPreviewPages(noFormat);
    EXPECT_EQ(noFormat.PageTotal, 3);
}

// Guards the preview pairing: format cycles, data does not.
TEST(PreviewPairing, TwoPageFormatFivePageData)
{
    PrintFile fmt = MemFile(Pages(2)), dat = MemFile(Pages(5));
    const PagePair expected[] = {{1, 1}, {2, 2}, {1, 3}, {2, 4}, {1, 5}, {2, 0}};
    for (int page = 1; page <= 6; ++page)
        EXPECT_EQ(SeekPreviewPage(&fmt, dat, page), expected[page - 1]) << page;
    PrintFile one = MemFile(Pages(1));
    for (int page = 1; page <= 4; ++page)
        EXPECT_EQ(SeekPreviewPage(&one, dat, page).formatPage, 1);
    EXPECT_EQ(SeekPreviewPage(nullptr, dat, 2), (PagePair{0, 2}));
}

// Guards the print job's sheets: form under every data page, cycling forms,
// closing form pages, page ranges, a final "E", form off, no format.
TEST(PrintWalk, Sheets)
{
    const auto f1 = Pages(1), f2 = Pages(2);
    using V = std::vector<PagePair>;
    EXPECT_EQ(Walk(&f1, Pages(3)), (V{{1, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(Walk(&f2, Pages(3)), (V{{1, 1}, {2, 2}, {1, 3}, {2, 0}}));
    EXPECT_EQ(Walk(&f2, Pages(3), true, 2, 3), (V{{2, 2}, {1, 3}}));
    EXPECT_EQ(Walk(&f1, Pages(2, 1, true)), (V{{1, 1}, {1, 2}, {1, 0}}));
    EXPECT_EQ(Walk(&f2, Pages(3), false), (V{{0, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(Walk(nullptr, Pages(2)), (V{{0, 1}, {0, 2}}));
    const auto f3 = Pages(3);
    EXPECT_EQ(Walk(&f3, Pages(1)), (V{{1, 1}, {2, 0}, {3, 0}}));
}

// Guards a cancel: no page after it and no closing form pages.
TEST(PrintWalk, CancelStopsAfterThePage)
{
    class Cancelling : public CountingTarget {
    public:
        bool cancelled() override { return true; }
    } t;
    PrintFile fmt = MemFile(Pages(2)), dat = MemFile(Pages(3));
    PrintWalkOptions o;
    o.pagesLeft = 3;
    EXPECT_EQ(RunPrintWalk(&fmt, dat, o, t), (std::vector<PagePair>{{1, 1}, {2, 0}}));
}

// Guards rounding halves to even, as the conversions require.
TEST(Geometry, RoundHalfEven)
{
    const std::pair<double, long long> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2},
                                                  {3.5, 4}, {236.22, 236}, {-2.6, -3}, {1e300, 9000000000000000}};
    for (auto [v, r] : cases)
        EXPECT_EQ(RoundHalfEven(v), r) << v;
}

// Guards the paper table, PaperState and the custom size from "P".
TEST(Geometry, PaperSizeFromCode)
{
    TEngineJob job;
    int w = 0, h = 0;
    EXPECT_TRUE(PaperSizeFromCode(job, 9, w, h));
    EXPECT_EQ(w, 210);
    EXPECT_EQ(h, 297);
    EXPECT_EQ(job.PaperState, 1);
    EXPECT_TRUE(PaperSizeFromCode(job, 12, w, h));
    EXPECT_EQ(w, 250);
    EXPECT_FALSE(PaperSizeFromCode(job, 1, w, h)); // letter: not in the table
    EXPECT_EQ(job.PaperState, 2);
    EXPECT_FALSE(PaperSizeFromCode(job, 256, w, h));
    EXPECT_EQ(job.PaperState, 2);
    job.CustomPaperWidth = 2105;
    job.CustomPaperHeight = 2970;
    EXPECT_TRUE(PaperSizeFromCode(job, 256, w, h));
    EXPECT_EQ(w, 210);
    EXPECT_EQ(h, 297);
}

// Guards the origin: centred printable area, halves to even, landscape swap,
// unknown paper = printable + 20 mm, format margins over caller margins.
TEST(Geometry, Origin)
{
    TEngineJob job;
    JobGeometry g = ComputeJobGeometry(job, 9, false, 203, 289);
    EXPECT_EQ(job.OriginX, -40);
    EXPECT_EQ(job.OriginY, -40);
    g = ComputeJobGeometry(job, 9, true, 289, 203);
    EXPECT_EQ(g.paperWidthMm, 297);
    EXPECT_EQ(g.paperHeightMm, 210);
    g = ComputeJobGeometry(job, 1, true, 190, 270);
    EXPECT_EQ(g.paperWidthMm, 210);
    EXPECT_EQ(g.paperHeightMm, 290);
    EXPECT_EQ(job.OriginX, -100);
    EXPECT_EQ(job.OriginY, -100);
    job.CallerLeftMargin = 50;
    job.FormatMarginsGiven = true;
    job.FormatLeftMargin = 200;
    job.FormatTopMargin = 150;
    ComputeJobGeometry(job, 9, false, 210, 297);
    EXPECT_EQ(job.OriginX, 200);
    EXPECT_EQ(job.OriginY, 150);
}
