// A search over the loaded listings: what the user asked for
// (QueryDescription, as typed) and the same made ready to run (Query,
// folded once, then matched against every listing).
#pragma once

#include "FoldedVocabulary.h"
#include "TextFinder.h"

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::search {

struct SortKey {
    int field = 0;
    bool descending = false;
    bool operator==(const SortKey&) const = default;
};

// FIELD=TEXT: TEXT must be in that field.
struct FieldText {
    int field = 0;
    std::string text;
};

// --min FIELD=N (upper false) or --max FIELD=N (upper true).
struct FieldBound {
    int field = 0;
    double value = 0;
    bool upper = false;
};

struct QueryDescription {
    // Terms separated by white space; every term must be in some field.  A
    // term "FIELD=TEXT" whose FIELD names a field (FieldNameResolver.h) is
    // a field condition.
    std::string text{};
    std::vector<FieldText> where{};
    // FIELD=TEXT where the whole folded field text must equal the folded
    // TEXT: a choice among a field's fixed texts, where "売物件" must not
    // also pick "成約売物件".
    std::vector<FieldText> equal{};
    std::vector<FieldBound> bounds{};
    std::vector<SortKey> sort{}; // first key primary
};

// What is wrong with one argument of the forms below.
enum class ArgumentProblem { None, NoEqualsSign, UnknownField, BadNumber };

// "FIELD=TEXT", "FIELD=N" and "[-]FIELD", with FIELD any name of a field
// (FieldNameResolver.h: "Kakaku", "価格（成約価格）", "価格").
ArgumentProblem ParseFieldText(std::string_view argument, FieldText& out);
ArgumentProblem ParseFieldBound(std::string_view argument, bool upper, FieldBound& out);
ArgumentProblem ParseSortKey(std::string_view argument, SortKey& out);

class Query {
public:
    struct Term {
        TextFinder finder; // the folded term
        WordSet words;     // fixed texts that contain it
    };
    struct FieldTerm {
        int field = 0;
        TextFinder finder;
        bool whole = false; // the field's text must be the needle itself
        bool passes(std::string_view folded) const { return whole ? folded == finder.needle() : finder.foundIn(folded); }
    };
    struct Range { // one per field: the bounds of that field together
        int field = 0;
        double min = -std::numeric_limits<double>::infinity();
        double max = std::numeric_limits<double>::infinity();
    };

    Query() = default; // passes every listing, in file order
    explicit Query(const QueryDescription& description);

    const std::vector<Term>& terms() const { return terms_; }
    const std::vector<FieldTerm>& fieldTerms() const { return fieldTerms_; }
    const std::vector<Range>& ranges() const { return ranges_; }
    const std::vector<SortKey>& sortKeys() const { return sort_; }
    bool passesAll() const { return terms_.empty() && fieldTerms_.empty() && ranges_.empty(); }

    // True when every listing this query passes is also passed by
    // `earlier` (the user typed more), so the search may start from
    // earlier's result instead of from all listings.
    bool narrows(const Query& earlier) const;

private:
    std::vector<Term> terms_;
    std::vector<FieldTerm> fieldTerms_;
    std::vector<Range> ranges_;
    std::vector<SortKey> sort_;
};

} // namespace kovra::search
