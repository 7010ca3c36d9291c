#include "ListingMessages.h"

namespace kovra::msg {

std::string LoadAbortedAtLine(std::int64_t line)
{
    return "エラー   " + std::to_string(line) + "行目で読込を中止しました";
}

std::string FileCannotOpen(std::string_view path)
{
    return "ファイル " + std::string(path) + " は開けません";
}

std::string FileCannotCreate(std::string_view path)
{
    return "ファイル " + std::string(path) + " を作成できません";
}

std::string FileTooLarge(std::string_view path, std::uint64_t size, std::uint64_t limit)
{
    return "ファイル " + std::string(path) + " は大きすぎるため開けません (" + std::to_string(size) + " バイト、上限 " +
           std::to_string(limit) + " バイト)";
}

std::string FileReadFailed(std::string_view path)
{
    return "ファイル " + std::string(path) + " の読込中にエラーが発生しました";
}

std::string FileShrank(std::string_view path)
{
    return "ファイル " + std::string(path) + " は読込中に短くなりました";
}

std::string FileOutOfMemory(std::string_view path)
{
    return "ファイル " + std::string(path) + " を読み込むためのメモリが足りません";
}

std::string FileReadFailure(std::string_view path, const fileio::ReadResult& result, std::uint64_t limit)
{
    using fileio::ReadStatus;
    switch (result.status) {
    case ReadStatus::TooLarge: return FileTooLarge(path, result.size, limit);
    case ReadStatus::ReadFailed: return FileReadFailed(path);
    case ReadStatus::Shrank: return FileShrank(path);
    case ReadStatus::Ok:
    case ReadStatus::CannotOpen:
    case ReadStatus::NotRegular: break;
    }
    return FileCannotOpen(path);
}

std::string OutputIsInput(std::string_view path)
{
    return "出力ファイル " + std::string(path) + " は入力ファイルと同じファイルです";
}

} // namespace kovra::msg
