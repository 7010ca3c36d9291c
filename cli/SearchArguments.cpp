#include "SearchArguments.h"

#include <cstdio>
#include <cstring>

namespace kovra::cli {

namespace {

bool Fail(const char* command, const std::string& why)
{
    if (!why.empty())
        std::fprintf(stderr, "kovra %s: %s\n", command, why.c_str());
    UsageError(command);
    return false;
}

bool Check(const char* command, search::ArgumentProblem problem, const std::string& argument)
{
    switch (problem) {
    case search::ArgumentProblem::None: return true;
    case search::ArgumentProblem::UnknownField: return Fail(command, "unknown field in '" + argument + "'");
    case search::ArgumentProblem::BadNumber: return Fail(command, "bad number in '" + argument + "'");
    case search::ArgumentProblem::NoEqualsSign: return Fail(command, "FIELD=VALUE expected: '" + argument + "'");
    }
    return false;
}

} // namespace

bool ParseSearchArguments(const char* command, const Args& args, SearchArguments& out)
{
    const bool exporting = std::strcmp(command, "export") == 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!a.starts_with("--")) {
            if (out.file.empty()) {
                out.file = a;
            } else {
                if (!out.query.text.empty())
                    out.query.text.push_back(' ');
                out.query.text += a;
            }
            continue;
        }
        if (i + 1 >= args.size())
            return Fail(command, "");
        const std::string& value = args[++i];
        if (a == "--where") {
            search::FieldText t;
            if (!Check(command, search::ParseFieldText(value, t), value))
                return false;
            out.query.where.push_back(std::move(t));
        } else if (a == "--min" || a == "--max") {
            search::FieldBound b;
            if (!Check(command, search::ParseFieldBound(value, a == "--max", b), value))
                return false;
            out.query.bounds.push_back(b);
        } else if (a == "--sort") {
            search::SortKey k;
            if (!Check(command, search::ParseSortKey(value, k), value))
                return false;
            out.query.sort.push_back(k);
        } else if (exporting && (a == "--csv" || a == "--xlsx")) {
            std::string& into = a == "--csv" ? out.csvOut : out.xlsxOut;
            if (!into.empty() || value.empty())
                return Fail(command, "");
            into = value;
        } else {
            return Fail(command, "");
        }
    }
    if (out.file.empty() || (exporting && out.csvOut.empty() == out.xlsxOut.empty()))
        return Fail(command, "");
    return true;
}

} // namespace kovra::cli
