#include "ReportLayout.h"

#include "MessageTexts.h"
#include "PrintTool.h"
#include "ShippedFiles.h"

#include <algorithm>
#include <filesystem>

namespace kovra {

namespace {

constexpr const char* kFace = "ＭＳ 明朝";

struct Item {
    int x, y, size;
    const char* style;
};

void WritePage(TPrintTool& tool, const TKovraDataClass& r, int ordinal, const std::string& searchDate,
               const ReportRequest& req)
{
    const auto item = [&](const Item& at, std::string_view text) {
        tool.WriteItem(at.x, at.y, ItemText(text), kFace, at.size, at.style, "N", "0");
    };
    const auto bracket = [](std::string_view word) { return "【 " + std::string(word) + " 】"; };

    item({1940, 160, 9, ""}, std::to_string(ordinal));
    item({550, 440, 12, "B"}, bracket(r.DataSyubetu()));
    item({900, 440, 12, "B"}, bracket(r.BukkennSyubetu()));
    item({1250, 440, 12, "B"}, bracket(r.BukkennSyumoku()));
    item({700, 620, 9, ""}, r.BukkennNum());
    item({1400, 620, 9, ""}, r.TourokuNenGappi());
    item({700, 670, 9, ""}, r.Kakaku());
    item({1400, 670, 9, ""}, searchDate);
    item({700, 720, 9, ""}, r.TotiMenseki());
    item({1400, 720, 9, ""}, r.Timoku());
    item({700, 770, 9, ""}, r.YoutoTiiki());
    item({1400, 770, 9, ""}, r.TotiKenri());
    item({700, 820, 9, ""}, r.TatemonoMenseki());
    item({1400, 820, 9, ""}, r.HeyaKazu());
    item({700, 870, 9, ""}, r.TikuNengetu());
    item({700, 920, 9, ""}, r.Genkyou());
    item({1400, 920, 9, ""}, r.TorihikiTaiyou());
    item({700, 1020, 9, ""}, r.Syozaitimei());
    item({700, 1070, 9, ""}, r.Bikou());
    if (req.memberPrintOk) {
        item({700, 1120, 9, ""}, r.KaiinMei());
        item({700, 1170, 9, ""}, r.Tel());
        item({700, 1220, 9, ""}, r.Housyuu());
    }
    const services::ProfileTexts& p = req.profile;
    item({1100, 2540, 10, ""}, "〒" + p.Yubin);
    item({1100, 2580, 10, ""}, p.Jyusyo);
    item({1100, 2630, 10, ""}, p.Name);
    item({1100, 2680, 10, ""}, "TEL:" + p.Tel);
    item({1100, 2720, 10, ""}, "FAX:" + p.Fax);
    item({1100, 2760, 10, ""}, "Email:" + p.Email);
}

std::string Join(const std::string& folder, const char* name)
{
    namespace fs = std::filesystem;
    const auto u8 = (fs::path(std::u8string(folder.begin(), folder.end())) / name).u8string();
    return std::string(u8.begin(), u8.end());
}

} // namespace

ReportOutcome WriteReport(const TListingDocument& listings, const ReportRequest& request)
{
    ReportOutcome outcome;
    // The ordinals (1-based) of the pages, in print order.
    std::vector<int> ordinals;
    if (request.chosenListings || request.allListings) {
        ordinals = ChosenListings(request.chosenListings, listings.ListingCount);
        for (int& n : ordinals)
            ++n;
    } else if (request.shownListingNumber >= 1 && request.shownListingNumber <= listings.ListingCount) {
        ordinals.push_back(request.shownListingNumber);
    }
    if (ordinals.empty())
        return outcome; // nothing to print (no listing on show, none found): nothing to say

    TPrintTool tool;
    outcome.formatFile = request.formatFile.empty() ? services::ShippedFile(kReportFormatFile) : request.formatFile;
    tool.SetFormatFileName(outcome.formatFile);
    const bool ownDataFile = !request.dataFile.empty();
    tool.SetDataFileName(ownDataFile ? request.dataFile : std::string(kReportDataFile));
    tool.SetPaperCode(kReportPaperA4);
    tool.SetPreviewTitle(kReportCaption);
    const auto& first = listings.ListingTable[static_cast<std::size_t>(ordinals.front() - 1)];
    tool.SetJobName(ordinals.size() == 1 ? msg::ReportJobName(first.BukkennNum())
                                         : msg::ReportJobName(static_cast<int>(ordinals.size())));
    bool opened = tool.OpenDataFile();
    if (!opened && !ownDataFile) {
        // The current folder cannot take the file: the temporary folder can.
        std::error_code ec;
        const auto temp = std::filesystem::temp_directory_path(ec).u8string();
        if (!ec) {
            tool.SetDataFileName(Join(std::string(temp.begin(), temp.end()), kReportDataFile));
            opened = tool.OpenDataFile();
        }
    }
    if (!opened) {
        outcome.message = msg::FileCannotCreate(ownDataFile ? request.dataFile : std::string(kReportDataFile));
        return outcome;
    }
    for (std::size_t k = 0; k < ordinals.size(); ++k) {
        const int n = ordinals[k];
        WritePage(tool, listings.ListingTable[static_cast<std::size_t>(n - 1)], n, listings.KensakuNengappi, request);
        if (k + 1 != ordinals.size())
            tool.EndPage();
    }
    outcome.dataFile = TPrintTool::Settings().dataFileName;
    if (!tool.CloseDataFile()) {
        outcome.message = msg::FileCannotCreate(outcome.dataFile);
        return outcome;
    }
    outcome.written = true;
    outcome.pages = static_cast<int>(ordinals.size());
    outcome.unmappable = tool.UnmappableCount();
    return outcome;
}

} // namespace kovra
