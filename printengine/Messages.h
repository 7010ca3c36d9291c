// Every message of the engine goes through the prompter (Prompter.h): the
// library's windows show it as a message box, `kovra` prints it to stderr,
// tests collect it.
#pragma once

#include "FileIO.h"
#include "Prompter.h"

#include <cstdint>
#include <string>

namespace dorvex {

using MessageKind = kovra::Tone;

// A message box with an OK button over the active window.
void ShowMessage(MessageKind kind, const std::string& utf8Text);

// "\"" path "\"が見つかりません!"
std::string NotFoundMessage(const std::string& path);
// A file that exists but cannot be read.
std::string CannotOpenMessage(const std::string& path);
// An image file that exists but holds no picture that can be read.
std::string BadImageMessage(const std::string& path);
// A file above the engine's size limit for its kind, with its size.
std::string TooLargeMessage(const std::string& path, std::uint64_t size, std::uint64_t limit);
// The system reported an error while the file was read, or it shrank.
std::string ReadFailedMessage(const std::string& path);
// The message for a read that failed as `result` says: a FIFO or a device
// gets the open failure's message.
std::string ReadFailureMessage(const std::string& path, const kovra::fileio::ReadResult& result, std::uint64_t limit);
// A preview page whose image would not fit in memory, with its size.
std::string PageImageTooLargeMessage(int width, int height);
// A path handed to an export whose bytes are not Shift-JIS text.
std::string NotShiftJisPathMessage(const std::string& utf8Path);
// Something the engine did not expect stopped the command (an exception);
// `detail`, when given, is what the failure said about itself.
std::string UnexpectedErrorMessage(const char* detail);
inline constexpr const char* kOutOfMemoryDetail = "メモリが不足しています";
inline constexpr const char* kFieldReadFailed = "NG";
inline constexpr const char* kNoDataFileMessage = "印刷ﾃﾞｰﾀﾌｧｲﾙの指定がありません!";

} // namespace dorvex
