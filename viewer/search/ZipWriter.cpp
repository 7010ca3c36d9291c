#include "ZipWriter.h"

#include "ExportRows.h"

#include <zlib.h>

#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <thread>

namespace kovra::search {

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50, kDataDescriptor = 0x08074b50, kCentralHeader = 0x02014b50,
                        kEndOfDirectory = 0x06054b50;
constexpr std::uint16_t kVersion = 20;
// Sizes in a data descriptor after the data; names in UTF-8.
constexpr std::uint16_t kFlags = 0x0008 | 0x0800;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1; // 1980-01-01, the same bytes every time
constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kOutBytes = 256 * 1024;

void Put16(std::string& out, std::uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, std::uint64_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

} // namespace

struct ZipWriter::Stream {
    z_stream z{};
    bool initialised = false;
    std::vector<unsigned char> out = std::vector<unsigned char>(kOutBytes);
    ~Stream()
    {
        if (initialised)
            deflateEnd(&z);
    }
};

struct ZipWriter::Worker {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::string> pieces;
    bool busy = false;
    bool stop = false;
    std::thread thread;
};

ZipWriter::ZipWriter() : stream_(std::make_unique<Stream>()), worker_(std::make_unique<Worker>()) {}

ZipWriter::~ZipWriter()
{
    if (worker_->thread.joinable()) {
        {
            std::lock_guard lock(worker_->mutex);
            worker_->stop = true;
        }
        worker_->changed.notify_all();
        worker_->thread.join();
    }
}

void ZipWriter::compressQueued()
{
    std::unique_lock lock(worker_->mutex);
    for (;;) {
        worker_->changed.wait(lock, [this] { return worker_->stop || !worker_->pieces.empty(); });
        if (worker_->pieces.empty())
            return; // stopped
        std::string piece = std::move(worker_->pieces.front());
        worker_->pieces.pop_front();
        worker_->busy = true;
        lock.unlock();
        worker_->changed.notify_all(); // room for the next piece
        compress(piece);
        lock.lock();
        worker_->busy = false;
        worker_->changed.notify_all();
    }
}

bool ZipWriter::queue(std::string bytes)
{
    if (!ok_ || !inEntry_)
        return false;
    if (!worker_->thread.joinable())
        worker_->thread = std::thread([this] { compressQueued(); });
    constexpr std::size_t kMostWaiting = 3;
    std::unique_lock lock(worker_->mutex);
    worker_->changed.wait(lock, [this] { return worker_->pieces.size() < kMostWaiting; });
    worker_->pieces.push_back(std::move(bytes));
    lock.unlock();
    worker_->changed.notify_all();
    return ok_;
}

void ZipWriter::drain()
{
    std::unique_lock lock(worker_->mutex);
    worker_->changed.wait(lock, [this] { return worker_->pieces.empty() && !worker_->busy; });
}

bool ZipWriter::open(const std::string& path)
{
    file_.open(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    // Level 1: a spreadsheet's XML shrinks to about a tenth at a fraction
    // of the default level's time.
    ok_ = file_.is_open() &&
          deflateInit2(&stream_->z, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    stream_->initialised = ok_;
    return ok_;
}

bool ZipWriter::put(const void* bytes, std::size_t n)
{
    if (!ok_)
        return false;
    file_.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(n));
    written_ += n;
    ok_ = !file_.fail();
    return ok_;
}

bool ZipWriter::beginEntry(std::string_view name)
{
    if (!ok_ || inEntry_)
        return ok_ = false;
    Entry e;
    e.name = std::string(name);
    e.offset = written_;
    e.crc = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
    std::string header;
    Put32(header, kLocalHeader);
    Put16(header, kVersion);
    Put16(header, kFlags);
    Put16(header, kDeflated);
    Put16(header, 0);
    Put16(header, kDosDate);
    Put32(header, 0); // crc and sizes follow the data
    Put32(header, 0);
    Put32(header, 0);
    Put16(header, static_cast<std::uint16_t>(name.size()));
    Put16(header, 0);
    header += name;
    entries_.push_back(std::move(e));
    inEntry_ = true;
    return put(header.data(), header.size());
}

bool ZipWriter::deflateInto(int flush)
{
    z_stream& z = stream_->z;
    do {
        z.next_out = stream_->out.data();
        z.avail_out = static_cast<uInt>(stream_->out.size());
        const int status = deflate(&z, flush);
        if (status == Z_STREAM_ERROR)
            return ok_ = false;
        const std::size_t produced = stream_->out.size() - z.avail_out;
        entries_.back().compressed += produced;
        if (!put(stream_->out.data(), produced))
            return false;
        if (flush == Z_FINISH && status == Z_STREAM_END)
            return true;
    } while (z.avail_out == 0 || (flush == Z_FINISH));
    return true;
}

bool ZipWriter::write(std::string_view bytes)
{
    if (!ok_ || !inEntry_)
        return ok_ = false;
    drain();
    return compress(bytes);
}

bool ZipWriter::compress(std::string_view bytes)
{
    Entry& e = entries_.back();
    z_stream& z = stream_->z;
    // zlib takes at most 4 GiB a call.
    while (!bytes.empty() && ok_) {
        const std::size_t n = std::min<std::size_t>(bytes.size(), 1u << 30);
        e.crc = static_cast<std::uint32_t>(crc32(e.crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(n)));
        e.size += n;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        z.avail_in = static_cast<uInt>(n);
        while (z.avail_in > 0 && ok_)
            deflateInto(Z_NO_FLUSH);
        bytes.remove_prefix(n);
    }
    return ok_;
}

bool ZipWriter::endEntry()
{
    if (!ok_ || !inEntry_)
        return ok_ = false;
    drain();
    inEntry_ = false;
    if (!deflateInto(Z_FINISH) || deflateReset(&stream_->z) != Z_OK)
        return ok_ = false;
    const Entry& e = entries_.back();
    if (e.size > kLargest || e.compressed > kLargest)
        return ok_ = false;
    std::string descriptor;
    Put32(descriptor, kDataDescriptor);
    Put32(descriptor, e.crc);
    Put32(descriptor, e.compressed);
    Put32(descriptor, e.size);
    return put(descriptor.data(), descriptor.size());
}

bool ZipWriter::finish()
{
    drain();
    if (!ok_ || inEntry_)
        ok_ = false;
    const std::uint64_t start = written_;
    std::string directory;
    for (const Entry& e : entries_) {
        Put32(directory, kCentralHeader);
        Put16(directory, kVersion);
        Put16(directory, kVersion);
        Put16(directory, kFlags);
        Put16(directory, kDeflated);
        Put16(directory, 0);
        Put16(directory, kDosDate);
        Put32(directory, e.crc);
        Put32(directory, e.compressed);
        Put32(directory, e.size);
        Put16(directory, static_cast<std::uint16_t>(e.name.size()));
        Put16(directory, 0); // extra
        Put16(directory, 0); // comment
        Put16(directory, 0); // disk
        Put16(directory, 0); // internal attributes
        Put32(directory, 0); // external attributes
        Put32(directory, e.offset);
        directory += e.name;
    }
    const std::uint64_t size = directory.size();
    Put32(directory, kEndOfDirectory);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, static_cast<std::uint16_t>(entries_.size()));
    Put16(directory, static_cast<std::uint16_t>(entries_.size()));
    Put32(directory, size);
    Put32(directory, start);
    Put16(directory, 0);
    if (start > kLargest)
        ok_ = false;
    put(directory.data(), directory.size());
    file_.close();
    return ok_ && !file_.fail();
}

} // namespace kovra::search
