// kovra dump / info / strip / summary: the listing core on the command line.
#include "Jobs.h"
#include "Json.h"
#include "ListingInput.h"
#include "Output.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "ListingDocument.h"
#include "MemberStrip.h"
#include "ShippedFiles.h"

#include <cstdio>
#include <string>

namespace kovra::cli {


bool RunDump(const DumpJob& job)
{
    TListingDocument data;
    if (!LoadListings(data, job.file))
        return false;
    std::string out;
    for (int i = 0; i < data.ListingCount; ++i) {
        out.clear();
        out.push_back('{');
        const TKovraDataClass& r = data.ListingTable[static_cast<std::size_t>(i)];
        for (int f = 0; f < kFieldCount; ++f) {
            if (f)
                out += ", ";
            AppendJsonString(out, kFieldNames[static_cast<std::size_t>(f)]);
            out += ": ";
            AppendJsonString(out, r.field(f));
        }
        out.push_back('}');
        PrintLine(stdout, out);
    }
    return true;
}

bool RunInfo(const InfoJob& job)
{
    TListingDocument data;
    const bool ok = LoadListings(data, job.file);
    std::string out = "{\"ListingCount\": " + std::to_string(ok ? data.ListingCount : 0) + ", \"KensakuNengappi\": ";
    AppendJsonString(out, data.KensakuNengappi);
    out += "}";
    PrintLine(stdout, out);
    return ok;
}

bool RunStrip(const StripJob& job)
{
    const StripOutcome outcome = SaveMemberStripped(job.file, job.out);
    if (!outcome.ok)
        PrintLine(stderr, outcome.message);
    return outcome.ok;
}

bool RunSummary(const SummaryJob& job)
{
    const std::string path = job.file ? *job.file : services::ShippedFile("samples/sample.txt");
    TListingDocument data;
    if (!LoadListings(data, path))
        return false;
    PrintLine(stdout, "ファイル: " + path);
    PrintLine(stdout, "全物件数: " + std::to_string(data.ListingCount) + "   検索日: " + data.KensakuNengappi);
    for (int i = 0; i < data.ListingCount; ++i) {
        const TKovraDataClass& r = data.ListingTable[static_cast<std::size_t>(i)];
        std::string line = std::to_string(i + 1) + ". ";
        line += r.BukkennNum();
        for (std::string_view part : {r.DataSyubetu(), r.BukkennSyubetu(), r.BukkennSyumoku(), r.Kakaku(), r.Syozaitimei()}) {
            line += "  ";
            line += part;
        }
        PrintLine(stdout, line);
    }
    return true;
}

} // namespace kovra::cli
