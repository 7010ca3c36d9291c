#include "ContentDigest.h"

namespace kovra::archive {

ContentDigest::ContentDigest(const Digest& known) : digest_(known), made_(true) {}

ContentDigest::ContentDigest(const std::string& path)
    : thread_([this, path] {
          ok_ = Sha256OfFile(path, digest_, message_);
          made_.store(true, std::memory_order_release);
      })
{
}

ContentDigest::~ContentDigest()
{
    if (thread_.joinable())
        thread_.join();
}

bool ContentDigest::get(Digest& digest, std::string& message)
{
    if (thread_.joinable())
        thread_.join();
    digest = digest_;
    if (!ok_)
        message = message_;
    return ok_;
}

} // namespace kovra::archive
