#include "TextBlocks.h"

#include "FileIO.h"
#include "MessageTexts.h"

#include <openssl/evp.h>
#include <zstd.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace kovra::archive {

namespace {

// Fast: an import compresses every text of a big file once.
constexpr int kCompressionLevel = 1;
// No block is made larger: 64 versions of the longest listings.
constexpr std::size_t kLargestBlock = std::size_t(64) << 20;

char* WriteLength(char* p, std::size_t n)
{
    for (; n >= 0x80; n >>= 7)
        *p++ = static_cast<char>((n & 0x7F) | 0x80);
    *p++ = static_cast<char>(n);
    return p;
}

std::size_t LengthBytes(std::size_t n)
{
    std::size_t bytes = 1;
    for (; n >= 0x80; n >>= 7)
        ++bytes;
    return bytes;
}

bool ReadLength(std::string_view block, std::size_t& at, std::size_t& n)
{
    n = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (at >= block.size())
            return false;
        const auto byte = static_cast<unsigned char>(block[at++]);
        n |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// SHA-256 as fetched once: OpenSSL 3 looks the algorithm up again on every
// start by name, which for the digest of one listing's texts costs nearly
// as much as the digest itself.
const EVP_MD* Sha256Method()
{
#if OPENSSL_VERSION_NUMBER >= 0x30000000L
    static const std::unique_ptr<EVP_MD, void (*)(EVP_MD*)> method(EVP_MD_fetch(nullptr, "SHA256", nullptr),
                                                                   EVP_MD_free);
    if (method)
        return method.get();
#endif
    return EVP_sha256();
}

struct DigestContext {
    EVP_MD_CTX* ctx;
    // A context per thread (one digest at a time there), started again for
    // each digest.
    DigestContext()
    {
        thread_local const std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(),
                                                                                      EVP_MD_CTX_free);
        ctx = context.get();
        EVP_DigestInit_ex(ctx, Sha256Method(), nullptr);
    }
    void update(const void* p, std::size_t n) { EVP_DigestUpdate(ctx, p, n); }
    Digest finish()
    {
        Digest d{};
        unsigned int size = 0;
        EVP_DigestFinal_ex(ctx, d.data(), &size);
        return d;
    }
};

} // namespace

void AppendTexts(const TKovraDataClass& listing, std::string& out)
{
    // Measured first and written in one piece: an import makes the texts
    // of every listing, and growing the string by the byte cost more than
    // the digest of them.
    std::array<std::string_view, kFieldCount> texts{};
    listing.forEachField([&](int f, std::string_view text, Word) { texts[static_cast<std::size_t>(f)] = text; });
    std::size_t size = 0;
    for (const std::string_view text : texts)
        size += LengthBytes(text.size()) + text.size();
    const std::size_t at = out.size();
    out.resize(at + size);
    char* p = out.data() + at;
    for (const std::string_view text : texts) {
        p = WriteLength(p, text.size());
        std::memcpy(p, text.data(), text.size());
        p += text.size();
    }
}

bool ReadTexts(std::string_view block, std::uint64_t offset, changes::FieldTexts& texts)
{
    if (offset > block.size())
        return false;
    std::size_t at = static_cast<std::size_t>(offset);
    for (std::string_view& text : texts) {
        std::size_t n = 0;
        if (!ReadLength(block, at, n) || n > block.size() - at)
            return false;
        text = block.substr(at, n);
        at += n;
    }
    return true;
}

std::string CompressBlock(std::string_view block)
{
    // One context per thread: making one per block costs more than the block.
    thread_local const std::unique_ptr<ZSTD_CCtx, std::size_t (*)(ZSTD_CCtx*)> context(ZSTD_createCCtx(), ZSTD_freeCCtx);
    std::string out(ZSTD_compressBound(block.size()), '\0');
    const std::size_t n = ZSTD_compressCCtx(context.get(), out.data(), out.size(), block.data(), block.size(),
                                            kCompressionLevel);
    out.resize(ZSTD_isError(n) ? 0 : n);
    return out;
}

bool DecompressBlock(std::string_view compressed, std::string& block)
{
    thread_local const std::unique_ptr<ZSTD_DCtx, std::size_t (*)(ZSTD_DCtx*)> context(ZSTD_createDCtx(), ZSTD_freeDCtx);
    const unsigned long long size = ZSTD_getFrameContentSize(compressed.data(), compressed.size());
    if (size == ZSTD_CONTENTSIZE_ERROR || size == ZSTD_CONTENTSIZE_UNKNOWN || size > kLargestBlock)
        return false;
    block.resize(static_cast<std::size_t>(size));
    const std::size_t n = ZSTD_decompressDCtx(context.get(), block.data(), block.size(), compressed.data(), compressed.size());
    return !ZSTD_isError(n) && n == block.size();
}

Digest Sha256(std::string_view bytes)
{
    DigestContext c;
    c.update(bytes.data(), bytes.size());
    return c.finish();
}

bool Sha256OfFile(const std::string& path, Digest& digest, std::string& message)
{
    fileio::InputFile file;
    if (file.open(path) != fileio::ReadStatus::Ok) {
        message = msg::FileCannotOpen(path);
        return false;
    }
    DigestContext c;
    std::vector<char> buffer(std::size_t(1) << 20);
    while (const std::size_t n = file.read(buffer.data(), buffer.size()))
        c.update(buffer.data(), n);
    if (file.status() != fileio::ReadStatus::Ok) {
        message = msg::FileReadFailure(path, {file.status(), file.size()}, 0);
        return false;
    }
    digest = c.finish();
    return true;
}

} // namespace kovra::archive
