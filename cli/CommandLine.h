// The command line of `kovra`: one parser for every command.  A command
// states its arguments in a table (positionals, and options that are flags
// or take a value), each with a setter that stores the argument in the
// command's job description.  The command line parses the arguments into
// the job, runs it and maps the outcome to the exit status; nothing else.
#pragma once

#include <charconv>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::cli {

using Args = std::vector<std::string>; // the arguments after the command name

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the work failed; its message is on stderr
inline constexpr int kExitUsage = 2;  // bad arguments; the usage line is on stderr

// What a setter makes of its argument.
struct Verdict {
    bool accepted = true;
    std::string why; // refused: said before the usage line (empty: the usage line alone)
};
inline Verdict Accepted() { return {}; }
inline Verdict Refused(std::string why = {}) { return {false, std::move(why)}; }

template <class Job>
using Setter = Verdict (*)(Job& job, const std::string& argument);

// A positional argument: required, one that may be left out, or all the
// positionals left over.  A table lists required ones first, Rest last.
enum class Count { One, Optional, Rest };

template <class Job>
struct Positional {
    Count count;
    Setter<Job> set;
};

// A flag, or an option whose value is the next argument as it stands (also
// one that starts with "--").  A flag's setter gets an empty argument.
enum class Takes { Nothing, Value };

template <class Job>
struct Option {
    std::string_view name; // "--out"
    Takes takes;
    Setter<Job> set;
};

template <class Job>
struct Syntax {
    std::span<const Positional<Job>> positionals;
    std::span<const Option<Job>> options;
    // After the last argument: whether the job is whole and consistent
    // (false: the usage line).  Null: every job the setters make is.
    bool (*complete)(const Job&);
    // The work: prints its output and its messages, false when it failed.
    bool (*run)(const Job&);
};

template <class Job>
struct Parsed {
    std::optional<Job> job; // none: bad arguments
    std::string why;        // what was bad, when the usage line alone does not say
};

// Arguments are read from left to right.  One that names an option of the
// command is that option; any other starting with "--" is a bad argument,
// except for a command without options, which takes every argument as a
// positional (a file may be named "--x").  Every setter sees its arguments
// in command-line order, and the first refusal ends the parse.
template <class Job>
Parsed<Job> ParseJob(const Syntax<Job>& syntax, const Args& args)
{
    Job job{};
    std::size_t positionals = 0, required = 0;
    for (const Positional<Job>& p : syntax.positionals)
        required += p.count == Count::One ? 1 : 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const Option<Job>* option = nullptr;
        for (const Option<Job>& o : syntax.options)
            if (o.name == a)
                option = &o;
        Verdict verdict;
        if (option && option->takes == Takes::Value) {
            if (i + 1 >= args.size())
                return {};
            verdict = option->set(job, args[++i]);
        } else if (option) {
            verdict = option->set(job, std::string());
        } else if (!syntax.options.empty() && a.starts_with("--")) {
            return {};
        } else if (positionals < syntax.positionals.size()) {
            verdict = syntax.positionals[positionals++].set(job, a);
        } else if (!syntax.positionals.empty() && syntax.positionals.back().count == Count::Rest) {
            verdict = syntax.positionals.back().set(job, a);
        } else {
            return {};
        }
        if (!verdict.accepted)
            return {std::nullopt, std::move(verdict.why)};
    }
    if (positionals < required || (syntax.complete && !syntax.complete(job)))
        return {};
    return {std::move(job), {}};
}

// One row of the command table.
struct Command {
    const char* name;
    const char* synopsis; // the usage line after "kovra "
    int (*main)(const Command& command, const Args& args); // the exit status
};

// Prints "kovra NAME: WHY" (when there is a why) and "usage: kovra
// SYNOPSIS" to stderr; returns kExitUsage.
int UsageError(const Command& command, const std::string& why = {});

// The `main` of a row: parse into the job, run it, the exit status.
template <const auto& syntax>
int ParseAndRun(const Command& command, const Args& args)
{
    auto parsed = ParseJob(syntax, args);
    if (!parsed.job)
        return UsageError(command, parsed.why);
    return syntax.run(*parsed.job) ? kExitOk : kExitFailed;
}

// Setters by the job's member they fill.
template <class Member>
struct MemberOf;
template <class J, class T>
struct MemberOf<T J::*> {
    using Job = J;
};
template <auto member>
using JobOf = typename MemberOf<decltype(member)>::Job;

// The argument as it stands; a later one replaces it.
template <auto member>
Verdict Store(JobOf<member>& job, const std::string& argument)
{
    job.*member = argument;
    return Accepted();
}

// An argument given at most once and not empty.
template <auto member>
Verdict StoreOnce(JobOf<member>& job, const std::string& argument)
{
    if (!(job.*member).empty() || argument.empty())
        return Refused();
    job.*member = argument;
    return Accepted();
}

template <auto member>
Verdict Raise(JobOf<member>& job, const std::string&)
{
    job.*member = true;
    return Accepted();
}

// A decimal integer in lo..hi, the whole argument ("+1", " 1", "1x" are not).
inline Verdict ReadNumber(const std::string& argument, int lo, int hi, int& into)
{
    int v = 0;
    const char* end = argument.data() + argument.size();
    const auto [p, ec] = std::from_chars(argument.data(), end, v);
    if (ec != std::errc() || p != end || v < lo || v > hi)
        return Refused();
    into = v;
    return Accepted();
}

} // namespace kovra::cli
