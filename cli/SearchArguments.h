// The arguments `kovra find` and `kovra export` share, each added to the
// job's query: search terms, --where FIELD=TEXT, --min/--max FIELD=N and
// --sort [-]FIELD.  A field name that is not one, or a number that is not
// one, is refused with what is wrong.
#pragma once

#include "CommandLine.h"

#include "SearchQuery.h"

#include <string>

namespace kovra::cli {

Verdict AddTerm(search::QueryDescription& query, const std::string& argument);
Verdict AddWhere(search::QueryDescription& query, const std::string& argument);
Verdict AddMin(search::QueryDescription& query, const std::string& argument);
Verdict AddMax(search::QueryDescription& query, const std::string& argument);
Verdict AddSort(search::QueryDescription& query, const std::string& argument);
// A field name alone (--by, --measure): any name of a field.
Verdict ReadFieldName(const std::string& argument, int& field);

// The setter of a job with a `query` member.
template <class Job, Verdict (*add)(search::QueryDescription&, const std::string&)>
Verdict OnQuery(Job& job, const std::string& argument)
{
    return add(job.query, argument);
}

} // namespace kovra::cli
