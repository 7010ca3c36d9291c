#include "ChangeTexts.h"

#include "ChangeSheet.h"
#include "MessageTexts.h"
#include "TextOrder.h"

#include <cmath>
#include <cstdio>

namespace kovra::changes {

namespace {

// The minus sign of a typeset difference, not the hyphen.
constexpr std::string_view kMinus = "−";

// What follows the number of a price text: "万円" of "2480万円".
std::string_view Unit(std::string_view price)
{
    std::size_t used = 0;
    if (!search::NumericValue(price, used))
        return {};
    return price.substr(used);
}

std::string Signed(double value, std::string magnitude)
{
    if (magnitude == "0")
        return "±0";
    return std::string(value < 0 ? kMinus : "+") + magnitude;
}

std::string Percent(double difference, double before)
{
    if (before == 0)
        return {};
    const double percent = difference / std::fabs(before) * 100;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", std::fabs(percent));
    return Signed(percent, buffer == std::string_view("0.0") ? "0" : buffer) + "%";
}

} // namespace

std::string DifferenceCell(std::string_view before, std::string_view after)
{
    const std::optional<double> difference = PriceDifference(before, after);
    if (!difference)
        return {};
    return Signed(*difference, DifferenceText(std::fabs(*difference))) + std::string(Unit(after));
}

std::string PriceLine(std::string_view before, std::string_view after)
{
    if (before == after)
        return msg::PriceAsEarlier(after);
    const std::optional<double> a = PriceValue(before), b = PriceValue(after);
    if (!a || !b)
        return msg::PriceSinceEarlier(before, after, {}, {});
    const std::string percent = Percent(*b - *a, *a);
    return msg::PriceSinceEarlier(before, after, DifferenceCell(before, after),
                                  percent.empty() ? std::string_view("—") : percent);
}

std::string_view FilterName(QuickFilter filter)
{
    switch (filter) {
    case QuickFilter::New:
        return msg::kFilterNew;
    case QuickFilter::PriceDown:
        return msg::kFilterPriceDown;
    case QuickFilter::PriceUp:
        return msg::kFilterPriceUp;
    case QuickFilter::Contracted:
        return msg::kFilterContracted;
    case QuickFilter::Gone:
        return msg::kFilterGone;
    case QuickFilter::Changed:
        return msg::kFilterChanged;
    }
    return {};
}

std::string FilterCounts(const Comparison& comparison)
{
    std::string text;
    for (int q = 0; q < kQuickFilterCount; ++q) {
        const auto filter = static_cast<QuickFilter>(q);
        const int count = comparison.counts[static_cast<std::size_t>(q)];
        if (filter == QuickFilter::Changed || count == 0)
            continue;
        if (!text.empty())
            text += "・";
        text += std::string(FilterName(filter)) + " " + std::to_string(count);
    }
    const int changed = comparison.counts[static_cast<std::size_t>(QuickFilter::Changed)];
    if (text.empty() && changed > 0)
        text = std::string(msg::kFilterChanged) + " " + std::to_string(changed);
    return text;
}

} // namespace kovra::changes
