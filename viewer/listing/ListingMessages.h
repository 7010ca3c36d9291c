// Message and caption texts of the listing core, shown by the viewer's
// windows and printed by `kovra` alike.  UTF-8.
#pragma once

#include "FileIO.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kovra::msg {

inline constexpr std::string_view kCannotOpenKovraFile = "コヴラデーターファイルを開くことができません";
inline constexpr std::string_view kLoadErrorCaption = "ファイル読込エラー";
inline constexpr std::string_view kTotalCaptionPrefix = "/ 全物件数 ";
inline constexpr std::string_view kTitlePrefix = "Kovra Viewer  ";
inline constexpr std::string_view kCannotWriteStdout = "標準出力に書き込めません";

// "エラー   3行目で読込を中止しました"
std::string LoadAbortedAtLine(std::int64_t line);
// "ファイル %s は開けません"
std::string FileCannotOpen(std::string_view path);
// "ファイル %s を作成できません"
std::string FileCannotCreate(std::string_view path);
// A file above a reader's size limit, with its size and the limit.
std::string FileTooLarge(std::string_view path, std::uint64_t size, std::uint64_t limit);
// The system reported an error while the file was read.
std::string FileReadFailed(std::string_view path);
// The file ended before the size it had when it was opened.
std::string FileShrank(std::string_view path);
// The file, or one of its lines, needs more memory than there is.
std::string FileOutOfMemory(std::string_view path);
// The message for a read that failed as `result` says; a FIFO or a device
// gets the open failure's message.
std::string FileReadFailure(std::string_view path, const fileio::ReadResult& result, std::uint64_t limit);
// `kovra` refuses to write its output over its own input.
std::string OutputIsInput(std::string_view path);

} // namespace kovra::msg
