// File access with UTF-8 paths, the same on Linux and Windows, for every
// reader and writer of the program's files.
//
// Readers accept regular files only: a FIFO, a device or a socket would
// block or never end, so it is refused before a byte is read.  Writers never
// touch the target until the new content is complete: they write a
// temporary file in the target's folder and rename it over the target.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::fileio {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// The file name without its folder.
std::string BaseName(const std::string& path);

// Why a read did not give the whole file.
enum class ReadStatus {
    Ok,
    CannotOpen, // missing, no permission, a folder
    NotRegular, // a FIFO, a device, a socket
    TooLarge,   // larger than the reader's limit; `size` says how large
    ReadFailed, // the system reported an error while reading
    Shrank,     // the file ended before the size it had when it was opened
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    std::uint64_t size = 0; // bytes, when known (always for TooLarge)
    bool ok() const { return status == ReadStatus::Ok; }
};

// True when `path` names a regular file (through links).
bool IsRegularFile(const std::string& path);

// Reads the whole regular file into `out`.  A file larger than `limit`
// bytes is refused before it is read (and when it grows past the limit
// while read).
ReadResult ReadWholeFile(const std::string& path, std::string& out, std::uint64_t limit);

// A regular file read in pieces (listing files may be larger than memory
// wants to hold at once).
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    ReadStatus open(const std::string& path);
    // Up to `n` bytes; fewer only at the end of the file or after a failure,
    // which status() then tells.
    std::size_t read(char* buffer, std::size_t n);
    ReadStatus status() const { return status_; }
    std::uint64_t size() const { return size_; } // when opened
    void close();

private:
    std::FILE* file_ = nullptr;
    ReadStatus status_ = ReadStatus::CannotOpen;
    std::uint64_t size_ = 0;
    std::uint64_t read_ = 0;
};

// The files one job reads: the export file, an HTML template and FieldList,
// a print job's format and data files and the images they name.  No output
// of the job may be one of them: written over, the input would be lost, and
// the job could read what it is writing.  Every writer is given its job's
// inputs and refuses such an output before it writes anything.
class JobInputs {
public:
    JobInputs() = default;
    JobInputs(std::initializer_list<std::string> paths);
    explicit JobInputs(const std::vector<std::string>& paths);

    // Notes the file `path` names now.  An empty path or a file that is not
    // there is no input (nothing can be lost by writing it).
    void add(const std::string& path);
    void add(const JobInputs& more) { inputs_.insert(inputs_.end(), more.inputs_.begin(), more.inputs_.end()); }
    // The input (as it was given) that `output` names too: spelt
    // otherwise, through symbolic links, or as a second hard link.  Null
    // when `output` is none of them or does not exist.
    const std::string* inputAt(const std::string& output) const;
    // Whether some entry of `folder` is one of the inputs.  When none is,
    // no file written into the folder can be one, whatever its name: a
    // folder of pages is checked at the cost of listing it once.
    bool anyInFolder(const std::string& folder) const;
    bool empty() const { return inputs_.empty(); }

private:
    struct Input {
        std::string path;
        std::uint64_t device = 0, file = 0;
        std::string name;      // the file's own name, ASCII letters in lower case
        bool otherNames = false; // it has further hard links
    };
    std::vector<Input> inputs_;
};

// What becomes of a symbolic link that stands where a file is written.
enum class LinkAtTarget {
    // A file the user named: the link stays a link and the file it finally
    // names is replaced.
    Follow,
    // A file written into a folder the user chose (an HTML page): the link
    // itself is replaced and what it points to stays untouched, so nothing
    // lands outside that folder.
    Replace,
};

// Replaces a file safely: the new content goes to a temporary file in the
// folder where the file is put (beside the file a followed link finally
// names), which takes the replaced file's permission bits and is renamed
// over it only when everything was written and flushed to disk.  Another
// hard link to the old file keeps the old content: the rename gives the
// target's name a new file, as every safe save does.  Until commit() the
// target is untouched; a failed or missing commit removes the temporary
// file.
// Whether commit() waits until the new content is on the disk before it
// renames: a user's file survives a power cut then too; output made again
// at will (a folder of a thousand HTML pages) need not pay a disk flush
// per file.
enum class Durability { SyncedToDisk, LeftToTheSystem };

class SafeSaveFile {
public:
    // `inputs`: the job's inputs, which the target must not be (null: none).
    explicit SafeSaveFile(std::string targetPath, Durability durability = Durability::SyncedToDisk,
                          const JobInputs* inputs = nullptr, LinkAtTarget links = LinkAtTarget::Follow);
    ~SafeSaveFile();
    SafeSaveFile(const SafeSaveFile&) = delete;
    SafeSaveFile& operator=(const SafeSaveFile&) = delete;

    // Creates the temporary file.  False when the target is one of the
    // job's inputs (refusedAsInput() then tells), a folder or another
    // non-regular file, is read-only, or its folder cannot take a new file.
    bool open();
    bool refusedAsInput() const { return refusedAsInput_; }
    // False once any write has failed (a full disk); later writes do nothing.
    bool write(std::string_view bytes);
    // For a library that writes a file by its name (the XLSX writer): after
    // open(), the temporary file's path (UTF-8), closed and empty, for the
    // library to fill; commit() then puts what it wrote in place.
    std::string handOver();
    // Flushes, syncs (unless left to the system), closes and renames over
    // the target.  False, with the target unchanged and the temporary file
    // gone, when any step failed.
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void discard();

    const std::string& target() const { return target_; }

private:
    std::string target_;
    Durability durability_;
    const JobInputs* inputs_;
    LinkAtTarget links_;
    std::filesystem::path resolved_; // where the file is put
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    bool failed_ = false;
    bool handedOver_ = false;
    bool refusedAsInput_ = false;
};

// Writes `bytes` to `path` through SafeSaveFile.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         Durability durability = Durability::SyncedToDisk);

// True when both paths name one existing file: the same path spelt
// differently, a symbolic link to the other, or a second hard link.
bool SameFile(const std::string& a, const std::string& b);

// Lets a write past the process's file-size limit fail with an error
// instead of ending the process, so a temporary file is still removed.
void IgnoreFileSizeLimitSignal();

} // namespace kovra::fileio
