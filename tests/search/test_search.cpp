// The search contract over a handful of listings: free terms, field
// conditions, ranges, multi-key sorts and the narrowing of a search as the
// user types on.
#include "FieldNameResolver.h"
#include "SearchIndex.h"
#include "SearchQuery.h"

#include "FieldColumnTitles.h"
#include "MemberFields.h"

#include "TextFolding.h"
#include "TextOrder.h"

#include "ListingWithTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace {

using namespace kovra;
using namespace kovra::search;

TKovraDataClass Listing(const std::map<Field, std::string>& texts) { return test::ListingWithTexts(texts); }

class Search : public ::testing::Test {
protected:
    Search()
    {
        listings_.push_back(Listing({{Field::BukkennSyumoku, "中古マンション"}, {Field::Kakaku, "2480万円"},
                                     {Field::HeyaKazu, "3LDK"}, {Field::Syozaitimei, "横浜市青葉区青葉台"},
                                     {Field::TikuNengetu, "平成09年2月"}}));
        listings_.push_back(Listing({{Field::BukkennSyumoku, "売地"}, {Field::Kakaku, "-----万円"},
                                     {Field::Syozaitimei, "町田市"}, {Field::Bikou, "ﾏﾝｼｮﾝ用地"},
                                     {Field::TikuNengetu, "平成10年1月"}}));
        listings_.push_back(Listing({{Field::BukkennSyumoku, "新築マンション"}, {Field::Kakaku, "4,980万円"},
                                     {Field::HeyaKazu, "3LDK"}, {Field::Syozaitimei, "青葉台"},
                                     {Field::TikuNengetu, "平成9年12月"}}));
        listings_.push_back(Listing({{Field::BukkennSyumoku, "中古戸建"}, {Field::Kakaku, "2480万円"},
                                     {Field::HeyaKazu, "4LDK"}, {Field::Syozaitimei, "青葉"}, {Field::Bikou, "3"}}));
        index_ = std::make_unique<SearchIndex>(listings_);
    }

    std::vector<int> find(const QueryDescription& d) const { return index_->run(Query(d)); }

    std::vector<TKovraDataClass> listings_;
    std::unique_ptr<SearchIndex> index_;
};

TEST_F(Search, EveryTermMustBeInOneField)
{
    struct Case {
        const char* text;
        std::vector<int> found;
    };
    const Case cases[] = {
        {"", {0, 1, 2, 3}},
        {"まんしょん", {0, 1, 2}},           // hiragana finds katakana, also half-width
        {"マンション　３ｌｄｋ", {0, 2}},     // U+3000 separates terms
        {"青葉台 中古", {0}},
        {"3LDK青葉", {}},                    // not across two fields
        {"HeyaKazu=4", {3}},                 // a field condition in the search text
        {"Bikou=3", {3}},
        {"NoSuchField=3", {}},               // a plain term then
        {"間取り=4", {3}},                    // a field by its column title
        {"価格（成約価格）＝4,980", {2}},      // by its caption, with a full-width "="
        {"万円", {0, 1, 2, 3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find({.text = c.text}), c.found) << c.text;
}

TEST_F(Search, WholeTextConditionsPickOneFixedText)
{
    const int item = static_cast<int>(Field::BukkennSyumoku), remark = static_cast<int>(Field::Bikou);
    struct Case {
        std::vector<FieldText> equal;
        std::vector<int> found;
        const char* earlierWhere; // a substring condition on `item` the query must narrow, or null
        bool narrows;
    };
    const Case cases[] = {
        {{{item, "マンション"}}, {}, "マンション", true},        // a part of the text is not the text
        {{{item, "中古ﾏﾝｼｮﾝ"}}, {0}, "中古", true},            // folded like everything else
        {{{item, "中古マンション"}, {item, "売地"}}, {}, nullptr, false},
        {{{remark, ""}}, {0, 2}, nullptr, false},               // the empty text: the field is empty
        {{{item, "売地"}}, {1}, "中古", false},
    };
    for (const Case& c : cases) {
        const Query query({.equal = c.equal});
        EXPECT_EQ(index_->run(query), c.found) << c.equal[0].text;
        if (c.earlierWhere) {
            EXPECT_EQ(query.narrows(Query({.where = {{item, c.earlierWhere}}})), c.narrows) << c.equal[0].text;
        }
    }
    const Query whole({.equal = {{item, "中古マンション"}}}), part({.where = {{item, "中古マンション"}}});
    EXPECT_TRUE(whole.narrows(whole));
    EXPECT_FALSE(part.narrows(whole)) << "a substring condition passes more than the whole text";
}

TEST_F(Search, RangesPassOnlyListingsWithAValue)
{
    struct Case {
        std::vector<FieldBound> bounds;
        std::vector<int> found;
    };
    const int price = static_cast<int>(Field::Kakaku);
    const Case cases[] = {
        {{{price, 2480, false}}, {0, 2, 3}},
        {{{price, 2480, true}}, {0, 3}},
        {{{price, 2000, false}, {price, 3000, true}}, {0, 3}},
        {{{price, 3000, false}, {price, 2000, true}}, {}},
        {{{price, -1e300, false}}, {0, 2, 3}}, // "-----万円" has no value
    };
    for (const Case& c : cases)
        EXPECT_EQ(find({.bounds = c.bounds}), c.found);
}

TEST_F(Search, SortsByValueThenTextThenNextKeyThenFileOrder)
{
    const int price = static_cast<int>(Field::Kakaku), rooms = static_cast<int>(Field::HeyaKazu),
              built = static_cast<int>(Field::TikuNengetu);
    struct Case {
        std::vector<SortKey> keys;
        std::vector<int> order;
    };
    const Case cases[] = {
        {{{price, false}}, {0, 3, 2, 1}},               // equal prices keep file order; no value last
        {{{price, true}}, {2, 0, 3, 1}},                // no value last also when descending
        {{{price, true}, {rooms, true}}, {2, 3, 0, 1}}, // the tie goes to the next key
        {{{built, false}}, {3, 0, 2, 1}},               // "" < 平成09年2月 < 平成9年12月 < 平成10年1月
        {{{built, true}}, {1, 2, 0, 3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find({.sort = c.keys}), c.order);
}

TEST_F(Search, NarrowingFromTheEarlierResultFindsTheSame)
{
    struct Case {
        const char* before;
        const char* after;
        bool narrows;
    };
    const Case cases[] = {
        {"マンション", "マンション 3", true}, {"マン", "マンション", true}, {"", "青葉", true},
        {"マンション 3", "マンション", false}, {"青葉台", "青葉", false}, {"3", "HeyaKazu=3LDK", true},
    };
    const std::vector<SortKey> byPrice = {{static_cast<int>(Field::Kakaku), true}};
    for (const Case& c : cases) {
        const Query earlier({.text = c.before, .sort = byPrice}), later({.text = c.after, .sort = byPrice});
        EXPECT_EQ(later.narrows(earlier), c.narrows) << c.before << " -> " << c.after;
        EXPECT_EQ(index_->refine(later, earlier, index_->run(earlier)), index_->run(later)) << c.after;
    }
    const int price = static_cast<int>(Field::Kakaku);
    EXPECT_TRUE(Query({.bounds = {{price, 3000, true}}}).narrows(Query({.bounds = {{price, 4000, true}}})));
    EXPECT_FALSE(Query({.bounds = {{price, 3000, true}}}).narrows(Query({.bounds = {{price, 1000, false}}})));
}

// The index sorts by precomputed ranks; on many random listings it must
// give what the contract's comparison gives, and slices of a filter must
// add up to the whole.
// Guards the member display off: a field read as empty is found by no
// term or condition, has no number and sorts as empty, while the same
// text in another field is still found.
TEST(SearchBlankFields, MemberTextsAreNeitherFoundNorCounted)
{
    std::vector<TKovraDataClass> listings;
    listings.push_back(Listing({{Field::KaiinMei, "清水地所"}, {Field::Housyuu, "分かれ"}, {Field::KaiinNum, "0909"},
                                {Field::Tantou, "山田"}, {Field::Kakaku, "3000万円"}}));
    listings.push_back(Listing({{Field::Bikou, "清水地所の隣"}, {Field::KaiinNum, "0101"}, {Field::Kakaku, "2000万円"}}));
    listings.push_back(Listing({{Field::EMail, "a@example.jp"}, {Field::ToiawaseTel, "0120-000-200"}}));
    const SearchIndex all(listings), members(listings, MemberFields());
    const int number = static_cast<int>(Field::KaiinNum);
    struct Case {
        QueryDescription query;
        std::vector<int> found, foundWithoutMembers;
    };
    const Case cases[] = {
        {{.text = "清水地所"}, {0, 1}, {1}},
        {{.text = "分かれ"}, {0}, {}},                  // a fixed text of a member field
        {{.text = "山田"}, {0}, {}},
        {{.text = "example 0120"}, {2}, {}},
        {{.text = "会員名=清水"}, {0}, {}},              // a condition on a member field
        {{.equal = {{static_cast<int>(Field::KaiinMei), ""}}}, {1, 2}, {0, 1, 2}},
        {{.bounds = {{number, 1, false}}}, {0, 1}, {}},   // no number
        {{.sort = {{number, true}}}, {0, 1, 2}, {0, 1, 2}}, // 909 first, then no number
        {{.sort = {{number, false}}}, {1, 0, 2}, {0, 1, 2}},
        {{.text = "万円", .sort = {{static_cast<int>(Field::Kakaku), false}}}, {1, 0}, {1, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(all.run(Query(c.query)), c.found) << c.query.text;
        EXPECT_EQ(members.run(Query(c.query)), c.foundWithoutMembers) << c.query.text;
    }
    EXPECT_FALSE(members.numericValue(0, number).has_value());
    EXPECT_EQ(members.fixedText(0, static_cast<int>(Field::Housyuu)), std::optional<std::string_view>(""));
}

TEST(SearchOrder, EqualsTheContractOnRandomListings)
{
    std::mt19937 rng(5);
    const char* prices[] = {"2480万円", "-----万円", "980万円", "2,480万円", "-5万円", "", "0.5万円", "応相談"};
    const char* dates[] = {"平成9年2月", "平成09年12月", "平成10年1月", "", "令和2年", "-----年-----月"};
    std::vector<TKovraDataClass> listings;
    for (int i = 0; i < 400; ++i)
        listings.push_back(Listing({{Field::Kakaku, prices[rng() % 8]}, {Field::TikuNengetu, dates[rng() % 6]},
                                    {Field::Bikou, std::to_string(rng() % 50) + (rng() % 2 ? "号" : "ゴウ")}}));
    const SearchIndex index(listings);
    auto contract = [&](const std::vector<SortKey>& keys) {
        return [&, keys](int a, int b) {
            for (const SortKey& k : keys) {
                const std::string fa = FoldText(listings[a].field(k.field)), fb = FoldText(listings[b].field(k.field));
                const auto va = NumericValue(fa), vb = NumericValue(fb);
                if (va.has_value() != vb.has_value())
                    return va.has_value();
                const int c = va ? (*va < *vb ? -1 : *va > *vb) : NaturalCompare(fa, fb);
                if (c != 0)
                    return k.descending ? c > 0 : c < 0;
            }
            return a < b;
        };
    };
    const int price = static_cast<int>(Field::Kakaku), built = static_cast<int>(Field::TikuNengetu),
              remark = static_cast<int>(Field::Bikou);
    const std::vector<std::vector<SortKey>> sorts = {
        {{price, false}}, {{price, true}}, {{built, true}, {price, false}}, {{remark, false}, {built, false}, {price, true}}};
    for (const auto& keys : sorts) {
        std::vector<int> expected(listings.size());
        for (int i = 0; i < static_cast<int>(expected.size()); ++i)
            expected[static_cast<std::size_t>(i)] = i;
        std::sort(expected.begin(), expected.end(), contract(keys));
        EXPECT_EQ(index.run(Query(QueryDescription{.sort = keys})), expected);
    }

    const Query query(QueryDescription{.text = "ごう 1"});
    std::vector<int> sliced;
    for (int first = 0; first < index.count(); first += 64)
        index.filterRange(query, first, first + 64, sliced);
    EXPECT_EQ(sliced, index.run(query));
    EXPECT_GT(sliced.size(), 50u);
}

TEST(SearchArguments, FieldNamesAndNumbersAreChecked)
{
    struct Case {
        const char* argument;
        ArgumentProblem text, bound, sort;
    };
    using P = ArgumentProblem;
    const Case cases[] = {
        {"Kakaku=1000", P::None, P::None, P::UnknownField},
        {"Kakaku=abc", P::None, P::BadNumber, P::UnknownField},
        {"kakaku=1", P::None, P::None, P::UnknownField}, // names compared folded
        {"価格=1", P::None, P::None, P::UnknownField},
        {"-価格", P::NoEqualsSign, P::NoEqualsSign, P::None},
        {"値段=1", P::UnknownField, P::UnknownField, P::UnknownField},
        {"Kakaku", P::NoEqualsSign, P::NoEqualsSign, P::None},
        {"-Kakaku", P::NoEqualsSign, P::NoEqualsSign, P::None},
        {"=1", P::UnknownField, P::UnknownField, P::UnknownField},
    };
    for (const Case& c : cases) {
        FieldText t;
        FieldBound b;
        SortKey k;
        EXPECT_EQ(ParseFieldText(c.argument, t), c.text) << c.argument;
        EXPECT_EQ(ParseFieldBound(c.argument, false, b), c.bound) << c.argument;
        EXPECT_EQ(ParseSortKey(c.argument, k), c.sort) << c.argument;
    }
    SortKey k;
    ASSERT_EQ(ParseSortKey("-Kakaku", k), ArgumentProblem::None);
    EXPECT_EQ(k, (SortKey{static_cast<int>(Field::Kakaku), true}));
}

// A field answers to its name, its caption and its column title, folded;
// no name of one field is a name of another.
TEST(SearchArguments, FieldNamesResolveFoldedAndAlone)
{
    for (int f = 0; f < kFieldCount; ++f) {
        EXPECT_EQ(ResolveFieldName(kFieldNames[static_cast<std::size_t>(f)]), f);
        EXPECT_EQ(ResolveFieldName(fieldCaption(f)), f) << fieldCaption(f);
        EXPECT_EQ(ResolveFieldName(fieldColumnTitle(f)), f) << fieldColumnTitle(f);
    }
    struct Case {
        const char* name;
        int field;
    };
    const Case cases[] = {
        {"ＫＡＫＡＫＵ", static_cast<int>(Field::Kakaku)},   {"価格(成約価格)", static_cast<int>(Field::Kakaku)},
        {"徒歩", static_cast<int>(Field::Toho0)},            {"間取リ", static_cast<int>(Field::HeyaKazu)},
        {"接道方向1", static_cast<int>(Field::SetudouHoukou0)}, {"Price", -1}, {"", -1}, {"価格 ", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveFieldName(c.name), c.field) << c.name;
    EXPECT_EQ(UnknownFieldNames("物件番号=1 値段=3 =x 間取り＝3LDK abc 坪＝"), (std::vector<std::string>{"値段", "坪"}));
}

} // namespace
