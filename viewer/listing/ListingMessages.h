// Message and caption texts of the listing core, shown by the viewer's
// windows and printed by `kovra` alike.  UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace kovra::msg {

inline constexpr std::string_view kCannotOpenKovraFile = "コヴラデーターファイルを開くことができません";
inline constexpr std::string_view kLoadErrorCaption = "ファイル読込エラー";
inline constexpr std::string_view kTotalCaptionPrefix = "/ 全物件数 ";
inline constexpr std::string_view kTitlePrefix = "Kovra Viewer  ";

// "エラー   3行目で読込を中止しました"
std::string LoadAbortedAtLine(int line);
// "ファイル %s は開けません"
std::string FileCannotOpen(std::string_view path);
// "ファイル %s を作成できません"
std::string FileCannotCreate(std::string_view path);

} // namespace kovra::msg
