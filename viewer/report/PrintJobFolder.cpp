#include "PrintJobFolder.h"

#include "FileIO.h"
#include "NativeFile.h"

#include <mutex>

namespace kovra {

namespace fs = std::filesystem;

namespace {

// The process's folder, made at the first job and removed, with any job's
// data still in it, when the program ends.
class ProcessFolder {
public:
    fs::path get()
    {
        const std::lock_guard lock(mutex_);
        std::error_code ec;
        // Made again when something removed it meanwhile (a cleaner of /tmp).
        if (path_.empty() || !fs::is_directory(path_, ec)) {
            fs::path parent = fileio::native::UserRuntimeFolder();
            if (parent.empty())
                parent = fs::temp_directory_path(ec);
            path_ = ec ? fs::path() : fileio::native::MakePrivateFolder(parent, "KovraViewer-");
        }
        return path_;
    }
    ~ProcessFolder()
    {
        std::error_code ec;
        if (!path_.empty())
            fs::remove_all(path_, ec);
    }

private:
    std::mutex mutex_;
    fs::path path_;
};

ProcessFolder& TheProcessFolder()
{
    static ProcessFolder folder;
    return folder;
}

} // namespace

fs::path ProcessPrintFolder() { return TheProcessFolder().get(); }

PrintJobFolder::PrintJobFolder()
{
    const fs::path process = ProcessPrintFolder();
    if (!process.empty())
        path_ = fileio::native::MakePrivateFolder(process, "job-");
}

PrintJobFolder::~PrintJobFolder()
{
    std::error_code ec;
    if (!path_.empty())
        fs::remove_all(path_, ec);
}

std::string PrintJobFolder::NewFile(const std::string& name) const
{
    if (path_.empty())
        return {};
    const fs::path file = path_ / fileio::PathFromUtf8(name);
    return fileio::native::CreatePrivateFile(file) ? fileio::Utf8FromPath(file) : std::string();
}

} // namespace kovra
