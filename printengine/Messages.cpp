#include "Messages.h"

#include <cstdio>

namespace dorvex {
namespace {

void StderrSink(MessageKind, const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

MessageSink& Sink()
{
    static MessageSink sink = StderrSink;
    return sink;
}

bool& SinkIsDefault()
{
    static bool isDefault = true;
    return isDefault;
}

} // namespace

MessageSink SetMessageSink(MessageSink sink)
{
    MessageSink previous = Sink();
    SinkIsDefault() = !sink;
    Sink() = sink ? std::move(sink) : MessageSink(StderrSink);
    return previous;
}

void ShowMessage(MessageKind kind, const std::string& utf8Text)
{
    Sink()(kind, utf8Text);
}

bool MessageSinkIsDefault()
{
    return SinkIsDefault();
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
