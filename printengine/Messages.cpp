#include "Messages.h"

namespace dorvex {

void ShowMessage(MessageKind kind, const std::string& utf8Text)
{
    kovra::Say(kind, utf8Text);
}

std::string NotFoundMessage(const std::string& path)
{
    return "\"" + path + "\"が見つかりません!";
}

std::string CannotOpenMessage(const std::string& path)
{
    return "ファイル " + path + " は開けません";
}

std::string BadImageMessage(const std::string& path)
{
    return "\"" + path + "\"は画像として読めません!";
}

std::string TooLargeMessage(const std::string& path, std::uint64_t size, std::uint64_t limit)
{
    return "ファイル " + path + " は大きすぎるため開けません (" + std::to_string(size) + " バイト、上限 " +
           std::to_string(limit) + " バイト)";
}

std::string ReadFailedMessage(const std::string& path)
{
    return "ファイル " + path + " の読込中にエラーが発生しました";
}

std::string ReadFailureMessage(const std::string& path, const kovra::fileio::ReadResult& result, std::uint64_t limit)
{
    using kovra::fileio::ReadStatus;
    switch (result.status) {
    case ReadStatus::TooLarge: return TooLargeMessage(path, result.size, limit);
    case ReadStatus::ReadFailed:
    case ReadStatus::Shrank: return ReadFailedMessage(path);
    case ReadStatus::Ok:
    case ReadStatus::CannotOpen:
    case ReadStatus::NotRegular: break;
    }
    return CannotOpenMessage(path);
}

std::string PageImageTooLargeMessage(int width, int height)
{
    return "ページの画像 (" + std::to_string(width) + " × " + std::to_string(height) +
           " ピクセル) は大きすぎるため作成できません";
}

std::string NotShiftJisPathMessage(const std::string& utf8Path)
{
    return "\"" + utf8Path + "\"はShift-JISで書かれたパスではありません!";
}

std::string UnexpectedErrorMessage(const char* detail)
{
    std::string text = "予期しないエラーのため処理を中止しました";
    if (detail && *detail)
        text += std::string(" (") + detail + ")";
    return text;
}

} // namespace dorvex
