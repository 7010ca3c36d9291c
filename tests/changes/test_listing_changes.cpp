// What changed between two files: the findings, their order, the quick
// filters' counts, and the rules for prices and data kinds.
#include "ChangeSheet.h"
#include "ListingChanges.h"
#include "ListingLine.h"

#include "Cp932Codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kovra;
using namespace kovra::changes;
using kovra::test::ListingLine;

// A listing: number, data kind code (1 売物件, 2 成約売物件), price code, remark.
struct L {
    const char* number;
    int kind = 1;
    const char* price = "3980";
    const char* remark = "";
};

TListingDocument Load(const std::vector<L>& listings)
{
    std::string text = "3,KOVRA,EXPORT,01,test,261201\r\n";
    for (const L& l : listings)
        text += ListingLine().kind(l.kind, 1, 1).set(1, l.number).set(6, l.price).set(45, l.remark).str() + "\r\n";
    TListingDocument doc;
    EXPECT_TRUE(LoadListingBytes(doc, cp932::fromUtf8(text), "t").ok());
    return doc;
}

// The findings as "kinds:number" in order, kinds as bits.
std::vector<std::string> Lines(const Comparison& c, const TListingDocument& before, const TListingDocument& after)
{
    std::vector<std::string> out;
    for (const Finding& f : c.findings) {
        const auto& doc = f.newIndex >= 0 ? after : before;
        const int i = f.newIndex >= 0 ? f.newIndex : f.oldIndex;
        out.push_back(std::to_string(f.kinds) + ":" + std::string(doc.ListingTable[static_cast<std::size_t>(i)].BukkennNum()));
    }
    return out;
}

TEST(ListingChanges, FindingsComeInTheOrderOfTheLines)
{
    const unsigned price = PriceChanged, status = StatusChanged, fields = FieldsChanged;
    struct Case {
        const char* what;
        std::vector<L> before, after;
        std::vector<std::string> lines;
        std::vector<std::string> duplicates;
    };
    const Case cases[] = {
        {"the same file", {{"A"}, {"B"}}, {{"A"}, {"B"}}, {}, {}},
        {"new in the newer file's order, then gone in the older's",
         {{"A"}, {"B"}, {"C"}}, {{"D"}, {"B"}, {"E"}}, {"1:D", "1:E", "2:A", "2:C"}, {}},
        {"changed ones after, in the newer file's order",
         {{"A"}, {"B"}, {"C"}},
         {{"C", 1, "3000"}, {"A", 2, "3980", "x"}, {"B", 1, "3980", "x"}},
         {std::to_string(price) + ":C", std::to_string(status | fields) + ":A", std::to_string(fields) + ":B"}, {}},
        {"the last occurrence counts, and stands where it last stands",
         {{"A", 1, "1000"}, {"A", 1, "2000"}, {"B"}}, {{"A", 1, "2000"}, {"N"}, {"B"}, {"N"}}, {"1:N"}, {"A", "N"}},
        {"a number twice in both files is named once", {{"A"}, {"A"}}, {{"A"}, {"A", 1, "1"}}, {std::to_string(price) + ":A"}, {"A"}},
    };
    for (const Case& c : cases) {
        const TListingDocument before = Load(c.before), after = Load(c.after);
        const Comparison result = Compare(before, after);
        EXPECT_EQ(Lines(result, before, after), c.lines) << c.what;
        EXPECT_EQ(std::vector<std::string>(result.duplicates.begin(), result.duplicates.end()), c.duplicates) << c.what;
    }
}

TEST(ListingChanges, CountsAndLookupsServeTheChangeView)
{
    const TListingDocument before = Load({{"DOWN"}, {"UP"}, {"SOLD"}, {"GONE"}, {"SAME"}, {"TEXT"}});
    const TListingDocument after =
        Load({{"NEW"}, {"DOWN", 1, "3780"}, {"UP", 1, "4100"}, {"SOLD", 2, "3900"}, {"SAME"}, {"TEXT", 1, "3980", "x"}});
    const Comparison c = Compare(before, after);
    // 新規, 値下げ, 値上げ, 成約, 消滅, 変更あり
    EXPECT_EQ(c.counts, (std::array<int, kQuickFilterCount>{1, 2, 1, 1, 1, 4}));
    ASSERT_NE(c.ofNew(3), nullptr);
    EXPECT_EQ(c.ofNew(3)->oldIndex, 2);
    EXPECT_EQ(c.ofNew(3)->fields, (std::vector<int>{static_cast<int>(Field::DataSyubetu), static_cast<int>(Field::Kakaku)}));
    EXPECT_EQ(c.ofNew(4), nullptr);
    ASSERT_EQ(c.gone().size(), 1u);
    EXPECT_EQ(c.gone()[0].oldIndex, 3);
}

TEST(ChangeRules, PricesAndDataKinds)
{
    struct Price {
        const char *before, *after, *difference; // "" for none
    };
    const Price prices[] = {
        {"3980万円", "3780万円", "-200"}, {"8.5万円", "9万円", "0.5"},    {"2480.3万円", "2480.1万円", "-0.2"},
        {"１２０万円", "100万円", "-20"}, {"-----万円", "3780万円", ""},  {"3980万円", "3980万円", "0"},
        {"", "100万円", ""},
    };
    for (const Price& p : prices) {
        const std::optional<double> d = PriceDifference(p.before, p.after);
        EXPECT_EQ(d ? DifferenceText(*d) : "", p.difference) << p.before << " -> " << p.after;
    }
    EXPECT_TRUE(BecameContracted("売物件", "成約売物件"));
    EXPECT_TRUE(BecameContracted("賃貸物件", "成約賃貸"));
    EXPECT_FALSE(BecameContracted("成約売物件", "成約賃貸"));
    EXPECT_FALSE(BecameContracted("成約売物件", "売物件"));
    EXPECT_EQ(KindsText(New), "新規");
    EXPECT_EQ(KindsText(StatusChanged | PriceChanged | FieldsChanged), "状態変更・価格変更・項目変更");
}

} // namespace
