// Every question the program's cores put to the person at the screen goes
// through one prompter: the message boxes of the viewer and of the print
// engine, their yes/no questions, the file, folder and text boxes, and the
// hand-overs to the desktop (browser, mail program).  The program installs a prompter that shows real windows; `kovra`
// keeps the default one, which writes messages to stderr; the tests install
// a scripted one and answer without a window.
//
// Plain C++ with UTF-8 texts, below the engine and the viewer alike.  The
// window a question belongs to is only passed through (declared, never
// used here), so this header needs no Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace kovra {

// The icon of a message box.
enum class Tone { Plain, Error, Warning, Information, Question };
// The buttons it offers, and the button pressed.
enum class Choices { Ok, OkCancel, YesNo, YesNoCancel, YesCancelYesToAll };
enum class Answer { Ok, Cancel, Yes, No, YesToAll };

struct Question {
    Tone tone = Tone::Plain;
    std::string text;
    Choices choices = Choices::Ok;
    std::string title;        // empty: the prompter's own caption
    QWidget* owner = nullptr; // the window the box belongs to; null: the active one
};

// A line of text asked for in a small box.
struct TextQuestion {
    std::string caption, prompt, preset;
    QWidget* owner = nullptr;
};

// A file to open or save, or a folder (which need not exist yet).
struct FileQuestion {
    enum class Kind { Open, Save, Folder };
    Kind kind = Kind::Open;
    std::string preset; // the name or folder shown first
    std::string filter; // "name (*.x);;name (*)"; empty: all files
    QWidget* owner = nullptr;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer Ask(const Question& question) = 0;
    // Nothing when cancelled.
    virtual std::optional<std::string> AskText(const TextQuestion& question) = 0;
    virtual std::optional<std::string> AskFile(const FileQuestion& question) = 0;
    // A web address, a "mailto:" address or a "file:" URL, in encoded form.
    // Whether the desktop could open it is not looked at.
    virtual void OpenWithShell(const std::string& url) = 0;
};

// The prompter in use.
Prompter& CurrentPrompter();
// The one in use when none is installed: messages to stderr, and to every
// question the answer that changes nothing.
Prompter& DefaultPrompter();
// Installs `prompter` (null: the default) and returns the one it replaces,
// null when that was the default.
Prompter* SetPrompter(Prompter* prompter);
bool PrompterIsDefault();

// A message with an OK button.
void Say(Tone tone, std::string_view text, QWidget* owner = nullptr);

} // namespace kovra
