#include "ChangeLines.h"

namespace kovra::cli {

namespace {

void Start(std::string& out, const FindingLines& f, std::string_view word)
{
    out += f.lead;
    out += word;
    if (!f.number.empty()) {
        out.push_back('\t');
        out += f.number;
    }
}

void Pair(std::string& out, std::string_view before, std::string_view after)
{
    out.push_back('\t');
    out += before;
    out.push_back('\t');
    out += after;
    out.push_back('\n');
}

} // namespace

void AppendFindingLines(std::string& out, const FindingLines& f)
{
    using namespace changes;
    if (f.kinds & New) {
        Start(out, f, "new");
        out.push_back('\n');
    }
    if (f.kinds & Gone) {
        Start(out, f, "gone");
        out.push_back('\n');
    }
    if (f.kinds & StatusChanged) {
        Start(out, f, "status");
        Pair(out, f.oldStatus, f.newStatus);
    }
    if (f.kinds & PriceChanged) {
        Start(out, f, "price");
        Pair(out, f.oldPrice, f.newPrice);
    }
    if (f.kinds & FieldsChanged) {
        Start(out, f, "changed");
        char separator = '\t';
        for (const int field : f.fields) {
            if (field == static_cast<int>(Field::DataSyubetu) || field == static_cast<int>(Field::Kakaku))
                continue;
            out.push_back(separator);
            out += kFieldNames[static_cast<std::size_t>(field)];
            separator = ',';
        }
        out.push_back('\n');
    }
}

} // namespace kovra::cli
