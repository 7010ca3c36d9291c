// The reader of the format/data file language.
#include "Imageout.h"

#include "Cp932Codec.h"
#include "EngineJob.h"
#include "FileIO.h"
#include "Messages.h"
#include "TextLines.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <unordered_set>

namespace dorvex {
namespace {

// Longest field kept; a longer one is cut there and reported ("NG"), which
// bounds what a damaged file can make the engine allocate per item.
constexpr std::size_t kMaxFieldBytes = 64 * 1024;

inline char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline bool IsPageEnd(std::string_view line) { return !line.empty() && Upper(line[0]) == 'E'; }
inline bool IsCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

} // namespace

bool PrintFile::open()
{
    const kovra::fileio::ReadResult read = kovra::fileio::ReadWholeFile(path_, data_, kPrintFileSizeLimit);
    const bool ok = read.ok();
    if (!ok)
        Say(Tone::Error, msg::FileReadFailure(path_, read, kPrintFileSizeLimit, true));
    index();
    open_ = true;
    return ok;
}

void PrintFile::openBytes(std::string bytes)
{
    data_ = std::move(bytes);
    index();
    open_ = true;
}

void PrintFile::close()
{
    data_.clear();
    data_.shrink_to_fit();
    lines_.clear();
    pageEnds_.clear();
    pos_ = 0;
    open_ = false;
}

void PrintFile::index()
{
    lines_.clear();
    pageEnds_.clear();
    pos_ = 0;
    kovra::text::LineSplitter lines(data_);
    for (std::string_view line; lines.next(line);) {
        if (!line.empty() && Upper(line.front()) == 'E')
            pageEnds_.push_back(lines_.size());
        lines_.push_back({std::size_t(line.data() - data_.data()), line.size()});
    }
}

std::string_view PrintFile::readLine()
{
    if (eof())
        return {};
    const Span s = lines_[pos_++];
    return std::string_view(data_).substr(s.off, s.len);
}

int PrintFile::pageAt(std::size_t lineIndex) const
{
    auto it = std::lower_bound(pageEnds_.begin(), pageEnds_.end(), lineIndex);
    std::size_t before = std::size_t(it - pageEnds_.begin());
    return before >= std::size_t(INT_MAX) ? INT_MAX : int(before) + 1;
}

bool PrintFile::skipFromStart(long long page, bool cyclic)
{
    pos_ = 0;
    if (page <= 1)
        return true;
    if (lines_.empty())
        return false;
    const unsigned long long need = static_cast<unsigned long long>(page - 1); // page ends to pass
    if (!cyclic) {
        if (need > pageEnds_.size()) {
            pos_ = lines_.size();
            return false;
        }
        pos_ = pageEnds_[std::size_t(need - 1)] + 1;
        return true;
    }
    // Cyclic: every "E" line but the last line counts, and the end of the
    // file counts once more (reset to the start).
    std::size_t inner = pageEnds_.size();
    if (!pageEnds_.empty() && pageEnds_.back() == lines_.size() - 1)
        --inner;
    const unsigned long long perCycle = inner + 1;
    const unsigned long long j = (need - 1) % perCycle;
    pos_ = j < inner ? pageEnds_[std::size_t(j)] + 1 : 0;
    return true;
}

std::string_view NextField(TEngineJob& job, std::string_view line, char separator)
{
    int& cursor = job.FieldCursor;
    if (cursor < 1 || std::size_t(cursor) >= line.size())
        return {};
    const std::size_t start = std::size_t(cursor) - 1;
    std::size_t end = line.find(separator, start);
    if (end == std::string_view::npos)
        end = line.size();
    std::size_t take = end - start;
    if (take > kMaxFieldBytes) {
        // Keep what was collected up to the limit, ending on a whole character.
        std::size_t i = start, stop = start + kMaxFieldBytes;
        while (i < stop) {
            std::size_t w = IsCp932Lead(static_cast<unsigned char>(line[i])) ? 2 : 1;
            if (i + w > stop)
                break;
            i += w;
        }
        take = i - start;
        Say(Tone::Error, msg::kFieldReadFailed);
    }
    const std::size_t next = end + 1;
    cursor = next > std::size_t(INT_MAX) ? INT_MAX : int(next + 1);
    return line.substr(start, take);
}

bool ParseIntField(std::string_view f, int& value)
{
    std::size_t i = 0;
    while (i < f.size() && f[i] == ' ')
        ++i;
    bool negative = false;
    if (i < f.size() && (f[i] == '+' || f[i] == '-'))
        negative = f[i++] == '-';
    if (i >= f.size())
        return false;
    long long v = 0;
    for (; i < f.size(); ++i) {
        if (f[i] < '0' || f[i] > '9')
            return false;
        v = v * 10 + (f[i] - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    value = int(v);
    return true;
}

int IntField(TEngineJob& job, std::string_view line, int defaultValue)
{
    int v = 0;
    return ParseIntField(NextField(job, line), v) ? v : defaultValue;
}

std::string TextField(TEngineJob& job, std::string_view line)
{
    return cp932::toUtf8(NextField(job, line));
}

void AddImageFiles(std::string_view bytes, std::vector<std::string>& into)
{
    TEngineJob reader;
    std::unordered_set<std::string> seen(into.begin(), into.end());
    kovra::text::LineSplitter lines(bytes);
    for (std::string_view line; lines.next(line);) {
        if (line.empty() || Upper(line.front()) != 'I')
            continue;
        reader.FieldCursor = 2;
        for (int corner = 0; corner < 4; ++corner)
            NextField(reader, line);
        std::string path = TextField(reader, line);
        if (!path.empty() && seen.insert(path).second)
            into.push_back(std::move(path));
    }
}

bool OpenIfExists(PrintFile& file, const std::string& utf8Path)
{
    if (utf8Path.empty())
        return false;
    QFileInfo info(QString::fromUtf8(utf8Path.data(), qsizetype(utf8Path.size())));
    if (info.exists() && !info.isDir()) {
        file.bind(utf8Path);
        return true;
    }
    Say(Tone::Error, msg::NotFound(utf8Path));
    return false;
}

int CountPagesOf(const PrintFile& f)
{
    std::size_t n = f.pageEndCount();
    return n >= std::size_t(INT_MAX) ? INT_MAX : int(n) + 1;
}

int CountPages(const std::string& utf8Path)
{
    PrintFile f;
    if (!OpenIfExists(f, utf8Path))
        return 1;
    f.open();
    int n = CountPagesOf(f);
    f.close();
    return n;
}

bool SkipPages(PrintFile& file, long long page, bool cyclic)
{
    if (file.position() == 0)
        return file.skipFromStart(page, cyclic);
    long long i = 1;
    while (i < page && !file.eof()) {
        std::string_view line = file.readLine();
        if (file.eof() && cyclic) {
            file.reset();
            ++i;
        } else if (IsPageEnd(line)) {
            ++i;
        }
    }
    return i >= page;
}

void CountPreviewPages(TEngineJob& job)
{
    // A file not open was said missing (or had no name) when the job
    // opened its files: one page, and no second message.
    const long long f = job.formatFile.isOpen() ? CountPagesOf(job.formatFile) : 1;
    const long long d = job.dataFile.isOpen() ? CountPagesOf(job.dataFile) : 1;
    long long total = f;
    if (d > f) {
        const long long r = d % f;
        total = r == 0 ? d : d + (f - r);
    }
    job.PageTotal = int(std::min<long long>(total, INT_MAX));
    job.CurrentPage = 1;
}

namespace {

// Reads on from the current line to the first line of `letter`; false at the
// end of the file without one.  The cursor then stands on its first field.
bool FindSetupLine(TEngineJob& job, PrintFile& file, char letter, std::string& line)
{
    while (!file.eof()) {
        std::string_view l = file.readLine();
        if (!l.empty() && Upper(l[0]) == letter) {
            line.assign(l);
            if (line.back() != ';')
                line.push_back(';');
            job.FieldCursor = 2;
            return true;
        }
    }
    return false;
}

} // namespace

void ReadPaperSizeLine(TEngineJob& job, PrintFile& file)
{
    std::string line;
    if (!FindSetupLine(job, file, 'P', line))
        return;
    job.CustomPaperWidth = IntField(job, line);
    job.CustomPaperHeight = IntField(job, line);
}

void ReadMarginLine(TEngineJob& job, PrintFile& file)
{
    std::string line;
    if (!FindSetupLine(job, file, 'M', line))
        return;
    job.FormatTopMargin = IntField(job, line);
    job.FormatLeftMargin = IntField(job, line);
    job.FormatMarginsGiven = true;
}

void ReadOffsetLine(TEngineJob& job, PrintFile& file)
{
    std::string line;
    if (!FindSetupLine(job, file, 'D', line))
        return;
    job.DisplayOffsetX = IntField(job, line);
    job.DisplayOffsetY = IntField(job, line);
}

} // namespace dorvex
