// The prompter without windows, and the installing of another.
#include "Prompter.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace kovra;

// Guards a question that nobody can answer (kovra, a program without
// windows) doing something: it gets the answer that changes nothing.
TEST(Prompter, DefaultAnswersChangeNothing)
{
    const std::pair<Choices, Answer> cases[] = {{Choices::Ok, Answer::Ok},
                                                {Choices::OkCancel, Answer::Cancel},
                                                {Choices::YesNo, Answer::No},
                                                {Choices::YesNoCancel, Answer::Cancel},
                                                {Choices::YesCancelYesToAll, Answer::Cancel}};
    for (const auto& [choices, answer] : cases)
        EXPECT_EQ(DefaultPrompter().Ask({Tone::Question, "?", choices, {}, nullptr}), answer);
    EXPECT_FALSE(DefaultPrompter().AskText({"caption", "prompt", "1", nullptr}));
    EXPECT_FALSE(DefaultPrompter().AskFile({FileQuestion::Kind::Save, "a.fom", {}, nullptr}));
}

// Guards the installed prompter being the one asked, and the one before it
// coming back.
TEST(Prompter, InstalledWhileItLives)
{
    ASSERT_TRUE(PrompterIsDefault());
    {
        kovra::testing::ScriptedPrompter outer;
        {
            kovra::testing::ScriptedPrompter inner;
            Say(Tone::Error, "inner");
            EXPECT_EQ(inner.Messages(), std::vector<std::string>{"inner"});
        }
        Say(Tone::Warning, "outer");
        EXPECT_EQ(outer.Messages(), std::vector<std::string>{"outer"});
        EXPECT_EQ(&CurrentPrompter(), &outer);
    }
    EXPECT_TRUE(PrompterIsDefault());
}
