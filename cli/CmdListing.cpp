// kovra dump / info / strip / summary: the listing core on the command line.
#include "Commands.h"
#include "Json.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "ListingTable.h"
#include "MemberStrip.h"
#include "ShippedFiles.h"

#include <cstdio>
#include <string>

namespace kovra::cli {

namespace {

void PrintLine(std::FILE* to, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), to);
    std::fputc('\n', to);
}

// Loads like the viewer; on failure prints the viewer's message to stderr.
bool Load(ListingData& data, const std::string& path)
{
    data.CurrentFileName = path;
    const LoadOutcome outcome = LoadListingFile(data, path);
    if (!outcome.ok()) {
        PrintLine(stderr, outcome.message);
        return false;
    }
    return true;
}

} // namespace

int RunDump(const Args& args)
{
    if (args.size() != 1)
        return UsageError("dump");
    ListingData data;
    if (!Load(data, args[0]))
        return kExitFailed;
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
    return kExitOk;
}

int RunInfo(const Args& args)
{
    if (args.size() != 1)
        return UsageError("info");
    ListingData data;
    const bool ok = Load(data, args[0]);
    std::string out = "{\"ListingCount\": " + std::to_string(ok ? data.ListingCount : 0) + ", \"KensakuNengappi\": ";
    AppendJsonString(out, data.KensakuNengappi);
    out += "}";
    PrintLine(stdout, out);
    return ok ? kExitOk : kExitFailed;
}

int RunStrip(const Args& args)
{
    if (args.size() != 2)
        return UsageError("strip");
    if (fileio::SameFile(args[0], args[1])) {
        PrintLine(stderr, msg::OutputIsInput(args[1]));
        return kExitFailed;
    }
    const StripOutcome outcome = SaveMemberStripped(args[0], args[1]);
    if (!outcome.ok) {
        PrintLine(stderr, outcome.message);
        return kExitFailed;
    }
    return kExitOk;
}

int RunSummary(const Args& args)
{
    if (args.size() > 1)
        return UsageError("summary");
    const std::string path = args.empty() ? services::ShippedFile("samples/sample.txt") : args[0];
    ListingData data;
    if (!Load(data, path))
        return kExitFailed;
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
    return kExitOk;
}

} // namespace kovra::cli
