// The benchmarks' stand-in for the person at the screen, installed while it
// lives: every message goes to stderr and is counted, every question gets
// the answer that changes nothing, so no box ever stops a run.
#pragma once

#include "Prompter.h"

#include <cstdio>

namespace kovra::bench {

class BenchPrompter final : public Prompter {
public:
    BenchPrompter() : previous_(SetPrompter(this)) {}
    ~BenchPrompter() override { SetPrompter(previous_); }
    BenchPrompter(const BenchPrompter&) = delete;
    BenchPrompter& operator=(const BenchPrompter&) = delete;

    int said = 0;

    Answer Ask(const Question& q) override
    {
        ++said;
        std::fprintf(stderr, "%s\n", q.text.c_str());
        return q.choices == Choices::Ok ? Answer::Ok : Answer::Cancel;
    }
    std::optional<std::string> AskText(const TextQuestion&) override { return std::nullopt; }
    std::optional<std::string> AskFile(const FileQuestion&) override { return std::nullopt; }
    void OpenWithShell(const std::string&) override {}

private:
    Prompter* previous_;
};

} // namespace kovra::bench
