// Where a print job of the viewer's own forms keeps its print data while it
// runs: a folder of the job's own inside a folder private to the user and
// the process (in the user's runtime folder, else in the temporary folder),
// both entered by the user alone.  Two jobs, in one program or in two,
// never meet in one file; a job's folder goes when the job ends, the
// process's folder with whatever is left in it when the program ends.
#pragma once

#include <filesystem>
#include <string>

namespace kovra {

class PrintJobFolder {
public:
    PrintJobFolder();  // makes the folder; path() is empty when it could not be made
    ~PrintJobFolder(); // removes it with everything in it
    PrintJobFolder(const PrintJobFolder&) = delete;
    PrintJobFolder& operator=(const PrintJobFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Creates the new, empty file `name` in the folder, only the user may
    // read and write it (mode 0600); returns its path (UTF-8), or empty when
    // it could not be created.
    std::string NewFile(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// The folder the print jobs of this process share (made at its first job).
std::filesystem::path ProcessPrintFolder();

} // namespace kovra
