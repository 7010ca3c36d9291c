// The tests' prompter: installed while it lives, it records every question
// and answers it from the test's script instead of showing a window.
// Without a script a message is OK, a question is cancelled (or "no"), a
// text or file box is cancelled, and a modal window is left to itself.
#pragma once

#include "Prompter.h"

#ifdef QT_WIDGETS_LIB
#include "ModalWindows.h"
#endif

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kovra::testing {

class ScriptedPrompter final : public Prompter {
public:
    ScriptedPrompter() : previous_(SetPrompter(this)) {}
    ~ScriptedPrompter() override { SetPrompter(previous_); }
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    std::function<Answer(const Question&)> answer;
    std::function<std::optional<std::string>(const TextQuestion&)> text;
    std::function<std::optional<std::string>(const FileQuestion&)> file;
    // Gets every modal window of the program once it runs (tests with windows).
    std::function<void(QWidget&)> windowShown;

    std::vector<Question> asked;    // every message and question, in order
    std::vector<std::string> opened; // every URL handed to the desktop

    // The texts of the messages (OK only) and of the questions.
    std::vector<std::string> Messages() const { return Texts(true); }
    std::vector<std::string> Questions() const { return Texts(false); }

    Answer Ask(const Question& q) override
    {
        asked.push_back(q);
        if (answer)
            return answer(q);
        switch (q.choices) {
        case Choices::Ok: return Answer::Ok;
        case Choices::YesNo: return Answer::No;
        default: return Answer::Cancel;
        }
    }
    std::optional<std::string> AskText(const TextQuestion& q) override
    {
        return text ? text(q) : std::nullopt;
    }
    std::optional<std::string> AskFile(const FileQuestion& q) override
    {
        return file ? file(q) : std::nullopt;
    }
    void OpenWithShell(const std::string& url) override { opened.push_back(url); }

private:
    std::vector<std::string> Texts(bool messages) const
    {
        std::vector<std::string> out;
        for (const Question& q : asked)
            if ((q.choices == Choices::Ok) == messages)
                out.push_back(q.text);
        return out;
    }
    Prompter* previous_;
#ifdef QT_WIDGETS_LIB
    ModalWindowWatcher watcher_{[this](QWidget& window) {
        if (windowShown)
            windowShown(window);
    }};
#endif
};

} // namespace kovra::testing
