#include "FileIO.h"

#include "NativeFile.h"

#include <new>
#include <random>
#include <system_error>

namespace kovra::fileio {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const fs::path& path)
{
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

std::string BaseName(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsRegularFile(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(PathFromUtf8(path), ec);
}

namespace {

ReadStatus OpenForReading(const std::string& path, std::FILE*& file, std::uint64_t& size)
{
    file = nullptr;
    size = 0;
    if (path.empty())
        return ReadStatus::CannotOpen;
    switch (native::OpenRegularForReading(PathFromUtf8(path), file, size)) {
    case native::OpenResult::Opened: return ReadStatus::Ok;
    case native::OpenResult::NotRegular: return ReadStatus::NotRegular;
    case native::OpenResult::Failed: break;
    }
    return ReadStatus::CannotOpen;
}

// Reads the open file `f` of `size` bytes (when opened) into `out`.
ReadResult ReadOpenFile(std::FILE* f, std::string& out, std::uint64_t size, std::uint64_t limit)
{
    ReadResult result{ReadStatus::Ok, size};
    const auto expected = static_cast<std::size_t>(size);
    out.resize(expected);
    std::size_t held = expected > 0 ? std::fread(out.data(), 1, expected, f) : 0;
    if (held < expected) {
        result.status = std::ferror(f) ? ReadStatus::ReadFailed : ReadStatus::Shrank;
        return result;
    }
    // A file that grew since it was opened, or one whose size the system
    // does not know in advance: read on to its end, within the limit.
    char piece[64 * 1024];
    for (;;) {
        const std::size_t got = std::fread(piece, 1, sizeof piece, f);
        if (held + got > limit) {
            result.status = ReadStatus::TooLarge;
            result.size = held + got;
            return result;
        }
        out.append(piece, got);
        held += got;
        if (got < sizeof piece) {
            if (std::ferror(f))
                result.status = ReadStatus::ReadFailed;
            break;
        }
    }
    result.size = held;
    return result;
}

} // namespace

ReadResult ReadWholeFile(const std::string& path, std::string& out, std::uint64_t limit)
{
    out.clear();
    std::FILE* f = nullptr;
    ReadResult result;
    result.status = OpenForReading(path, f, result.size);
    if (!result.ok())
        return result;
    if (result.size > limit) {
        std::fclose(f);
        result.status = ReadStatus::TooLarge;
        return result;
    }
    try {
        result = ReadOpenFile(f, out, result.size, limit);
    } catch (const std::bad_alloc&) {
        // Within the limit, but not within the memory at hand.
        result.status = ReadStatus::TooLarge;
    }
    std::fclose(f);
    if (!result.ok())
        out.clear();
    return result;
}

InputFile::~InputFile() { close(); }

ReadStatus InputFile::open(const std::string& path)
{
    close();
    read_ = 0;
    status_ = OpenForReading(path, file_, size_);
    return status_;
}

std::size_t InputFile::read(char* buffer, std::size_t n)
{
    if (!file_ || status_ != ReadStatus::Ok || n == 0)
        return 0;
    const std::size_t got = std::fread(buffer, 1, n, file_);
    read_ += got;
    if (got < n) {
        if (std::ferror(file_))
            status_ = ReadStatus::ReadFailed;
        else if (read_ < size_)
            status_ = ReadStatus::Shrank;
    }
    return got;
}

void InputFile::close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

// ---- SafeSaveFile

namespace {

constexpr std::size_t kWriteBufferBytes = 256 * 1024;
constexpr int kMaxLinkHops = 40;

// The file a chain of symbolic links finally names (the path itself when it
// is no link); false for a loop or a link that cannot be read.
bool FollowLinks(fs::path& path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return !ec || ec == std::errc::no_such_file_or_directory;
        const fs::path to = fs::read_symlink(path, ec);
        if (ec)
            return false;
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    return false;
}

std::string RandomHex()
{
    std::random_device rd;
    const std::uint64_t v = (std::uint64_t(rd()) << 32) ^ rd();
    static const char digits[] = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 0; i < 16; ++i)
        s[static_cast<std::size_t>(i)] = digits[(v >> (4 * i)) & 15];
    return s;
}

} // namespace

JobInputs::JobInputs(std::initializer_list<std::string> paths)
{
    for (const std::string& path : paths)
        add(path);
}

JobInputs::JobInputs(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        add(path);
}

namespace {

std::string FoldedName(const fs::path& name)
{
    std::string s = Utf8FromPath(name);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

void JobInputs::add(const std::string& path)
{
    Input input{path, 0, 0, {}, false};
    std::uint64_t names = 0;
    if (path.empty() || !native::IdentityOf(PathFromUtf8(path), input.device, input.file, &names))
        return;
    // The name it is stored under (past links, in its stored letter case).
    std::error_code ec;
    input.name = FoldedName(fs::canonical(PathFromUtf8(path), ec).filename());
    input.otherNames = names > 1 || ec;
    inputs_.push_back(std::move(input));
}

const std::string* JobInputs::inputAt(const std::string& output) const
{
    std::uint64_t device = 0, file = 0;
    if (inputs_.empty() || output.empty() || !native::IdentityOf(PathFromUtf8(output), device, file))
        return nullptr;
    for (const Input& input : inputs_)
        if (input.device == device && input.file == file)
            return &input.path;
    return nullptr;
}

bool JobInputs::anyInFolder(const std::string& folder) const
{
    if (inputs_.empty())
        return false;
    bool otherNames = false;
    for (const Input& input : inputs_)
        otherNames = otherNames || input.otherNames;
    std::error_code ec;
    fs::directory_iterator it(PathFromUtf8(folder), ec);
    if (ec)
        return false; // no folder, no entries
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        // A plain file there can be an input only under the input's own
        // name, or as a further hard link of it; anything else (a link, a
        // type the listing does not tell) is looked at.
        // (The entry's type comes with the listing: no call per entry.)
        std::error_code typeError;
        const bool plain = !it->is_symlink(typeError) && !typeError && it->is_regular_file(typeError) && !typeError;
        if (plain && !otherNames) {
            const std::string name = FoldedName(it->path().filename());
            bool named = false;
            for (const Input& input : inputs_)
                named = named || input.name == name;
            if (!named)
                continue;
        }
        std::uint64_t device = 0, file = 0;
        if (!native::IdentityOf(it->path(), device, file))
            continue;
        for (const Input& input : inputs_)
            if (input.device == device && input.file == file)
                return true;
    }
    return ec.operator bool(); // not listed whole: assume the worst
}

SafeSaveFile::SafeSaveFile(std::string targetPath, Durability durability, const JobInputs* inputs, LinkAtTarget links)
    : target_(std::move(targetPath)), durability_(durability), inputs_(inputs), links_(links)
{
}

SafeSaveFile::~SafeSaveFile() { discard(); }

bool SafeSaveFile::open()
{
    discard();
    failed_ = false;
    refusedAsInput_ = false;
    if (target_.empty())
        return false;
    // Checked through links in either case: a link to an input stands for
    // the input, and replacing it would hide the input from the user.
    if (inputs_ && inputs_->inputAt(target_)) {
        refusedAsInput_ = true;
        return false;
    }
    resolved_ = PathFromUtf8(target_);
    if (links_ == LinkAtTarget::Follow && !FollowLinks(resolved_))
        return false;
    std::error_code ec;
    const fs::file_status st = links_ == LinkAtTarget::Follow ? fs::status(resolved_, ec) : fs::symlink_status(resolved_, ec);
    const bool exists = !ec && fs::exists(st);
    const bool link = exists && fs::is_symlink(st);
    // Only a regular file (or, in a chosen folder, a link) is replaced:
    // renaming over a device or a folder would destroy it, and a read-only
    // file stays as its owner wants it.
    if (exists && !link && (!fs::is_regular_file(st) || !native::MayWrite(resolved_)))
        return false;

    const fs::path folder = resolved_.parent_path();
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        temp_ = folder / ("." + std::string("kovra-") + RandomHex() + ".tmp");
        file_ = native::CreateNew(temp_);
    }
    if (!file_) {
        temp_.clear();
        return false;
    }
    // The replaced file's permission bits from the start, so content meant
    // for the owner alone is never readable by others on its way.
    if (exists && !link)
        fs::permissions(temp_, st.permissions(), fs::perm_options::replace, ec);
    buffer_ = std::make_unique<char[]>(kWriteBufferBytes);
    std::setvbuf(file_, buffer_.get(), _IOFBF, kWriteBufferBytes);
    return true;
}

bool SafeSaveFile::write(std::string_view bytes)
{
    if (!file_ || failed_)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        failed_ = true;
    return !failed_;
}

std::string SafeSaveFile::handOver()
{
    if (!file_)
        return {};
    if (std::fclose(file_) != 0)
        failed_ = true;
    file_ = nullptr;
    handedOver_ = true;
    return Utf8FromPath(temp_);
}

bool SafeSaveFile::commit()
{
    bool ok = false;
    if (handedOver_) {
        // Written by someone else: open it again to push it to the disk.
        ok = !failed_ && !temp_.empty() &&
             (durability_ == Durability::LeftToTheSystem || native::SyncToDisk(temp_));
    } else if (file_) {
        ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_) &&
             (durability_ == Durability::LeftToTheSystem || native::SyncToDisk(file_));
        ok = std::fclose(file_) == 0 && ok;
        file_ = nullptr;
    }
    if (ok) {
        std::error_code ec;
        fs::rename(temp_, resolved_, ec);
        ok = !ec;
    }
    if (ok)
        temp_.clear();
    discard();
    return ok;
}

void SafeSaveFile::discard()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    handedOver_ = false;
    buffer_.reset();
    if (!temp_.empty()) {
        std::error_code ec;
        fs::remove(temp_, ec);
        temp_.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, Durability durability)
{
    SafeSaveFile file(path, durability);
    return file.open() && file.write(bytes) && file.commit();
}

bool SameFile(const std::string& a, const std::string& b)
{
    return JobInputs{a}.inputAt(b) != nullptr;
}

void IgnoreFileSizeLimitSignal() { native::IgnoreFileSizeLimitSignal(); }

} // namespace kovra::fileio
