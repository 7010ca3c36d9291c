#include "SearchArguments.h"

#include "FieldNameResolver.h"

namespace kovra::cli {

namespace {

Verdict Check(search::ArgumentProblem problem, const std::string& argument)
{
    switch (problem) {
    case search::ArgumentProblem::None: return Accepted();
    case search::ArgumentProblem::UnknownField: return Refused("unknown field in '" + argument + "'");
    case search::ArgumentProblem::BadNumber: return Refused("bad number in '" + argument + "'");
    case search::ArgumentProblem::NoEqualsSign: return Refused("FIELD=VALUE expected: '" + argument + "'");
    }
    return Refused();
}

Verdict AddBound(search::QueryDescription& query, const std::string& argument, bool upper)
{
    search::FieldBound b;
    const Verdict v = Check(search::ParseFieldBound(argument, upper, b), argument);
    if (v.accepted)
        query.bounds.push_back(b);
    return v;
}

} // namespace

// The terms are one text, as typed in the viewer's search box.
Verdict AddTerm(search::QueryDescription& query, const std::string& argument)
{
    if (!query.text.empty())
        query.text.push_back(' ');
    query.text += argument;
    return Accepted();
}

Verdict AddWhere(search::QueryDescription& query, const std::string& argument)
{
    search::FieldText t;
    const Verdict v = Check(search::ParseFieldText(argument, t), argument);
    if (v.accepted)
        query.where.push_back(std::move(t));
    return v;
}

Verdict AddMin(search::QueryDescription& query, const std::string& argument) { return AddBound(query, argument, false); }
Verdict AddMax(search::QueryDescription& query, const std::string& argument) { return AddBound(query, argument, true); }

Verdict AddSort(search::QueryDescription& query, const std::string& argument)
{
    search::SortKey k;
    const Verdict v = Check(search::ParseSortKey(argument, k), argument);
    if (v.accepted)
        query.sort.push_back(k);
    return v;
}

Verdict ReadFieldName(const std::string& argument, int& field)
{
    const int f = search::ResolveFieldName(argument);
    if (f < 0)
        return Check(search::ArgumentProblem::UnknownField, argument);
    field = f;
    return Accepted();
}

} // namespace kovra::cli
