#include "Prompter.h"

#include <cstdio>

namespace kovra {
namespace {

// Without windows nobody can answer: a message is written to stderr, and
// every question gets the answer that changes nothing.
class StderrPrompter final : public Prompter {
public:
    Answer Ask(const Question& q) override
    {
        switch (q.choices) {
        case Choices::Ok:
            std::fprintf(stderr, "%s\n", q.text.c_str());
            return Answer::Ok;
        case Choices::YesNo: return Answer::No;
        case Choices::OkCancel:
        case Choices::YesNoCancel:
        case Choices::YesCancelYesToAll: break;
        }
        return Answer::Cancel;
    }
    std::optional<std::string> AskText(const TextQuestion&) override { return std::nullopt; }
    std::optional<std::string> AskFile(const FileQuestion&) override { return std::nullopt; }
    void OpenWithShell(const std::string&) override {}
};

Prompter*& Installed()
{
    static Prompter* prompter = nullptr;
    return prompter;
}

} // namespace

Prompter& DefaultPrompter()
{
    static StderrPrompter prompter;
    return prompter;
}

Prompter& CurrentPrompter()
{
    Prompter* p = Installed();
    return p ? *p : DefaultPrompter();
}

Prompter* SetPrompter(Prompter* prompter)
{
    Prompter* previous = Installed();
    Installed() = prompter;
    return previous;
}

bool PrompterIsDefault() { return Installed() == nullptr; }

void Say(Tone tone, std::string_view text, QWidget* owner)
{
    CurrentPrompter().Ask({tone, std::string(text), Choices::Ok, {}, owner});
}

} // namespace kovra
