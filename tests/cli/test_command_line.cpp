// The one argument parser of `kovra`, on a job of its own: where each
// argument goes, and which arguments are bad.
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace kovra::cli {
namespace {

struct Job {
    std::string file, out, terms, name;
    bool flag = false;
    int n = 0;
};

Verdict AddTerm(Job& j, const std::string& a)
{
    j.terms += "[" + a + "]";
    return Accepted();
}

constexpr Positional<Job> kArgs[] = {
    {Count::One, Store<&Job::file>}, {Count::Optional, Store<&Job::out>}, {Count::Rest, AddTerm}};
constexpr Option<Job> kOptions[] = {
    {"--name", Takes::Value, StoreOnce<&Job::name>},
    {"--flag", Takes::Nothing, Raise<&Job::flag>},
    {"--n", Takes::Value, [](Job& j, const std::string& a) { return ReadNumber(a, 1, 9, j.n); }},
    {"--why", Takes::Value, [](Job&, const std::string& a) { return Refused("no " + a); }},
};
constexpr Syntax<Job> kWithOptions{kArgs, kOptions, [](const Job& j) { return j.file != "incomplete"; }, nullptr};

constexpr Positional<Job> kTwoFiles[] = {{Count::One, Store<&Job::file>}, {Count::One, Store<&Job::out>}};
constexpr Syntax<Job> kNoOptions{kTwoFiles, {}, nullptr, nullptr};

// The job's members that were set, or "usage" and the reason.
std::string Parse(const Syntax<Job>& syntax, const Args& args)
{
    const Parsed<Job> p = ParseJob(syntax, args);
    if (!p.job)
        return "usage" + (p.why.empty() ? "" : ": " + p.why);
    const Job& j = *p.job;
    std::string line = "file=" + j.file;
    for (const auto& [name, value] : {std::pair{" out=", j.out}, {" terms=", j.terms}, {" name=", j.name}})
        line += value.empty() ? "" : name + value;
    return line + (j.flag ? " flag" : "") + (j.n ? " n=" + std::to_string(j.n) : "");
}

TEST(CommandLine, ArgumentsFillTheJobOrAreBad)
{
    struct Case {
        const Syntax<Job>* syntax;
        Args args;
        std::string expected;
    } cases[] = {
        {&kWithOptions, {"a"}, "file=a"},
        {&kWithOptions, {"a", "b", "c", "d"}, "file=a out=b terms=[c][d]"},
        {&kWithOptions, {"--flag", "a", "--n", "3", "b", "--name", "x", "c"}, "file=a out=b terms=[c] name=x flag n=3"},
        {&kWithOptions, {"a", "--name", "--flag"}, "file=a name=--flag"}, // a value as it stands
        {&kWithOptions, {"a", "--n", "3", "--n", "4"}, "file=a n=4"},     // a later number replaces
        {&kWithOptions, {"-x", "a"}, "file=-x out=a"},
        {&kWithOptions, {}, "usage"},
        {&kWithOptions, {"--flag"}, "usage"},
        {&kWithOptions, {"a", "--name"}, "usage"},
        {&kWithOptions, {"a", "--name", "x", "--name", "y"}, "usage"},
        {&kWithOptions, {"a", "--name", ""}, "usage"},
        {&kWithOptions, {"a", "--frob"}, "usage"},
        {&kWithOptions, {"a", "--n", "10"}, "usage"},
        {&kWithOptions, {"a", "--n", "+3"}, "usage"},
        {&kWithOptions, {"a", "--n", "3x"}, "usage"},
        {&kWithOptions, {"a", "--why", "1", "--why", "2"}, "usage: no 1"}, // the first refusal
        {&kWithOptions, {"a", "--frob", "--why", "1"}, "usage"},
        {&kWithOptions, {"incomplete"}, "usage"},
        {&kNoOptions, {"--a", "--b"}, "file=--a out=--b"}, // without options every argument is a file
        {&kNoOptions, {"a"}, "usage"},
        {&kNoOptions, {"a", "b", "c"}, "usage"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& a : c.args)
            line += " '" + a + "'";
        EXPECT_EQ(Parse(*c.syntax, c.args), c.expected) << line;
    }
}

} // namespace
} // namespace kovra::cli
