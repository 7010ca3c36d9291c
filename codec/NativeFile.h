// The few file calls that differ between POSIX systems and Windows; the
// rest of the file code is standard C++.  Used by FileIO.cpp and by the
// print jobs' private folders (PrintJobFolder.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace kovra::fileio::native {

enum class OpenResult { Opened, Failed, NotRegular };

// Opens a regular file for reading without ever blocking: a FIFO or a
// device is refused (NotRegular) and not read.  `size` is the file's size
// at the moment it was opened.
OpenResult OpenRegularForReading(const std::filesystem::path& path, std::FILE*& file, std::uint64_t& size);

// Creates a file that must not exist yet; a name planted in the folder
// (a file or a link) makes it fail instead of being followed.
std::FILE* CreateNew(const std::filesystem::path& path);

// Pushes what the file holds to the disk; false when the system reports
// that it could not (some file systems report a full disk only here).
bool SyncToDisk(std::FILE* file);

// SyncToDisk for a file written and closed by someone else.
bool SyncToDisk(const std::filesystem::path& path);

// Whether this process may write to the existing file.
bool MayWrite(const std::filesystem::path& path);

// What tells one file from every other on the machine, whatever its names:
// the device and the file's number on it, and how many names (hard links)
// it has.  Symbolic links are followed.  False when the path names nothing.
bool IdentityOf(const std::filesystem::path& path, std::uint64_t& device, std::uint64_t& file,
                std::uint64_t* names = nullptr);

void IgnoreFileSizeLimitSignal();

// The user's runtime folder ($XDG_RUNTIME_DIR) when it is a folder of this
// user that nobody else may enter; empty otherwise (and on Windows).
std::filesystem::path UserRuntimeFolder();

// Makes a new folder in `parent` named `prefix` and six random characters,
// that only its owner may enter (mode 0700); empty when none could be made.
std::filesystem::path MakePrivateFolder(const std::filesystem::path& parent, const std::string& prefix);

// Creates an empty file that must not exist yet and that only its owner may
// read and write (mode 0600); a name planted there (a file or a link) makes
// it fail instead of being followed.
bool CreatePrivateFile(const std::filesystem::path& path);

} // namespace kovra::fileio::native
