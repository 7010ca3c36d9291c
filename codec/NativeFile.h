// The few file calls that differ between POSIX systems and Windows; the
// rest of the file code is standard C++.  Used by FileIO.cpp only.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>

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

} // namespace kovra::fileio::native
