// kovra render FORMAT DATA (--pdf OUT.pdf | --png DIR) [--paper CODE]
//   [--landscape] [--dpi N] [--zoom Z]
// --pdf runs the print job's page walk onto a PDF with the form under the
// data; --png writes every preview page as the preview window draws it.
#include "Commands.h"
#include "Json.h"
#include "PrintEngineCli.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "RenderJob.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace kovra::cli {
namespace {

bool ReadInt(const std::string& s, int lo, int hi, int& v)
{
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, v);
    return ec == std::errc() && p == end && v >= lo && v <= hi;
}

} // namespace

int RunRender(const Args& args)
{
    if (args.size() < 4)
        return UsageError("render");
    dorvex::RenderOptions options;
    std::string pdf, png;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--pdf" && hasValue && pdf.empty() && png.empty())
            pdf = args[++i];
        else if (a == "--png" && hasValue && pdf.empty() && png.empty())
            png = args[++i];
        else if (a == "--paper" && hasValue && ReadInt(args[i + 1], 1, 32767, options.paperCode))
            ++i;
        else if (a == "--dpi" && hasValue && ReadInt(args[i + 1], 24, 2400, options.dpi))
            ++i;
        else if (a == "--zoom" && hasValue && ReadInt(args[i + 1], 3, 20, options.zoom))
            ++i;
        else if (a == "--landscape")
            options.landscape = true;
        else
            return UsageError("render");
    }
    if (pdf.empty() == png.empty())
        return UsageError("render");

    if (!pdf.empty() && (kovra::fileio::SameFile(args[0], pdf) || kovra::fileio::SameFile(args[1], pdf))) {
        const std::string text = kovra::msg::OutputIsInput(pdf) + "\n";
        std::fputs(text.c_str(), stderr);
        return kExitFailed;
    }

    KeepHeapSlackForPdf();
    auto app = StartPrintEngineGui();
    if (!pdf.empty()) {
        int sheets = 0;
        if (!dorvex::RenderJobToPdf(args[0], args[1], pdf, options, &sheets))
            return kExitFailed;
        std::string out = "{\"pdf\": ";
        AppendJsonString(out, pdf);
        out += ", \"sheets\": " + std::to_string(sheets) + "}\n";
        std::fputs(out.c_str(), stdout);
    } else {
        int pages = 0;
        if (!dorvex::RenderPreviewToPng(args[0], args[1], png, options, &pages))
            return kExitFailed;
        std::string out = "{\"png\": ";
        AppendJsonString(out, png);
        out += ", \"pages\": " + std::to_string(pages) + "}\n";
        std::fputs(out.c_str(), stdout);
    }
    return kExitOk;
}

} // namespace kovra::cli
