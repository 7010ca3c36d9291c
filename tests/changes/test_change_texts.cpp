// The change view's texts: the price line of the listing on show and the
// quick filters' counts.
#include "ChangeTexts.h"

#include <gtest/gtest.h>

namespace {

using namespace kovra::changes;

TEST(ChangeTextsTest, PriceLineReadsTheDifferenceInTheNewerUnit)
{
    struct Case {
        const char* before;
        const char* after;
        const char* line;
    } cases[] = {
        {"2680万円", "2480万円", "前回 2680万円 → 2480万円 (−200万円, −7.5%)"}, // a sale, down
        {"2480万円", "2680万円", "前回 2480万円 → 2680万円 (+200万円, +8.1%)"}, // up
        {"8.5万円", "9万円", "前回 8.5万円 → 9万円 (+0.5万円, +5.9%)"},         // a rent
        {"120,000円", "118,000円", "前回 120,000円 → 118,000円 (−2000円, −1.7%)"},
        {"-----万円", "2480万円", "前回 -----万円 → 2480万円"}, // no number before
        {"2480万円", "", "前回 2480万円 → "},                   // none after
        {"2480万円", "2480万円", "前回と同じ価格 2480万円"},
        {"0万円", "10万円", "前回 0万円 → 10万円 (+10万円, —)"}, // no share of nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(PriceLine(c.before, c.after), c.line) << c.before << " -> " << c.after;
}

TEST(ChangeTextsTest, FilterCountsNameOnlyTheFiltersThatFoundListings)
{
    struct Case {
        std::array<int, kQuickFilterCount> counts; // 新規 値下げ 値上げ 成約 消滅 変更あり
        const char* text;
    } cases[] = {
        {{12, 5, 0, 3, 7, 9}, "新規 12・値下げ 5・成約 3・消滅 7"},
        {{0, 0, 2, 0, 0, 4}, "値上げ 2"},
        {{0, 0, 0, 0, 0, 4}, "変更あり 4"}, // only other fields changed
        {{0, 0, 0, 0, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        Comparison comparison;
        comparison.counts = c.counts;
        EXPECT_EQ(FilterCounts(comparison), c.text);
    }
}

} // namespace
