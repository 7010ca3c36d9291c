#include "ReportLayout.h"

#include "MessageTexts.h"
#include "PrintTool.h"
#include "ShippedFiles.h"
#include "TextFit.h"

#include <algorithm>

namespace kovra {

namespace {

constexpr const char* kFace = "ＭＳ 明朝";

struct Item {
    int x, y, size;
    const char* style;
};

// The boxes of "KvReport.FOM" that long texts must stay in: the remark row
// (between its rules at y 1058 and 1108, up to the frame at x 1930) and
// the lines of the お問合せ先 box (each down to the next line, the last
// to the box's foot at y 2830).
constexpr int kFrameRight = 1920;
constexpr FitBox kRemarkBox{700, 1070, 9, kFrameRight, 1060, 1106, true};
constexpr int kProfileX = 1100, kProfileSize = 10;
constexpr int kProfileLines[] = {2540, 2580, 2630, 2680, 2720, 2760, 2825};

constexpr FitBox ProfileBox(int line)
{
    return {kProfileX, kProfileLines[line], kProfileSize, kFrameRight, kProfileLines[line], kProfileLines[line + 1], false};
}

void WritePage(TPrintTool& tool, const TKovraDataClass& r, int ordinal, const std::string& searchDate,
               const ReportRequest& req)
{
    const auto item = [&](const Item& at, std::string_view text) {
        tool.WriteItem(at.x, at.y, ItemText(text), kFace, at.size, at.style, "N", "0");
    };
    const auto bracket = [](std::string_view word) { return "【 " + std::string(word) + " 】"; };
    // As one item when it fits its box, else smaller or on more lines.
    const auto fitted = [&](const FitBox& box, std::string_view text) {
        for (const FittedLine& line : FitText(ItemText(text), box))
            tool.WriteItem(line.x, line.y, line.text, kFace, line.size, "", "N", "0");
    };

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
    fitted(kRemarkBox, r.Bikou());
    if (req.memberPrintOk) {
        item({700, 1120, 9, ""}, r.KaiinMei());
        item({700, 1170, 9, ""}, r.Tel());
        item({700, 1220, 9, ""}, r.Housyuu());
    }
    const services::ProfileTexts& p = req.profile;
    fitted(ProfileBox(0), "〒" + p.Yubin);
    fitted(ProfileBox(1), p.Jyusyo);
    fitted(ProfileBox(2), p.Name);
    fitted(ProfileBox(3), "TEL:" + p.Tel);
    fitted(ProfileBox(4), "FAX:" + p.Fax);
    fitted(ProfileBox(5), "Email:" + p.Email);
}

} // namespace

ReportOutcome WriteReport(const TListingDocument& listings, const ReportRequest& request, WorkProgress* progress)
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
    tool.SetDataFileName(request.dataFile);
    tool.SetPaperCode(kReportPaperA4);
    tool.SetOrientation(0);
    tool.SetPreviewTitle(kReportCaption);
    const auto& first = listings.ListingTable[static_cast<std::size_t>(ordinals.front() - 1)];
    tool.SetJobName(ordinals.size() == 1 ? msg::ReportJobName(first.BukkennNum())
                                         : msg::ReportJobName(static_cast<int>(ordinals.size())));
    // The job reads the export file and the form: the data file is neither.
    const fileio::JobInputs inputs{listings.CurrentFileName, outcome.formatFile};
    if (!tool.OpenDataFile(&inputs)) {
        outcome.message = tool.DataFileIsInput() ? msg::OutputIsInput(request.dataFile) : msg::FileCannotCreate(request.dataFile);
        return outcome;
    }
    if (progress)
        progress->SetTotal(static_cast<std::int64_t>(ordinals.size()));
    for (std::size_t k = 0; k < ordinals.size(); ++k) {
        if (progress && progress->Stopped())
            return ReportOutcome(); // the temporary file goes with the tool
        if (progress)
            progress->SetDone(static_cast<std::int64_t>(k));
        const int n = ordinals[k];
        WritePage(tool, listings.ListingTable[static_cast<std::size_t>(n - 1)], n, listings.KensakuNengappi, request);
        if (k + 1 != ordinals.size())
            tool.EndPage();
    }
    if (progress)
        progress->SetDone(static_cast<std::int64_t>(ordinals.size()));
    outcome.dataFile = TPrintTool::Settings().dataFileName;
    if (!tool.CloseDataFile()) {
        outcome.message = msg::FileCannotCreate(outcome.dataFile);
        return outcome;
    }
    outcome.written = true;
    outcome.pages = static_cast<int>(ordinals.size());
    outcome.unmappable = tool.UnmappableCount();
    outcome.unmappableCharacters = tool.UnmappableCharacters();
    return outcome;
}

} // namespace kovra
