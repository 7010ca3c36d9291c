// kovra pages FORMAT DATA: how the engine pairs format and data pages, for
// the preview and for a print job with the form printed.
#include "Commands.h"
#include "Json.h"
#include "PrintEngineCli.h"

#include "EngineState.h"
#include "PageWalk.h"
#include "RenderJob.h"

#include <cstdio>
#include <string>
#if defined(__GLIBC__) // known only once a C library header is in
#include <malloc.h>
#endif

namespace kovra::cli {

std::unique_ptr<QGuiApplication> StartPrintEngineGui()
{
    if (QCoreApplication::instance())
        return nullptr;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // Qt's note about a missing XDG_RUNTIME_DIR is no concern of a console
    // tool: keep stderr for the engine's own messages.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths:")))
            return;
        if (previous)
            previous(type, context, text);
    });
    static int argc = 1;
    static char name[] = "kovra";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

void KeepHeapSlackForPdf()
{
#if defined(__GLIBC__)
    mallopt(M_TOP_PAD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

namespace {

void AppendPage(std::string& out, int page)
{
    out += page > 0 ? std::to_string(page) : std::string("null");
}

void AppendPairs(std::string& out, const std::vector<dorvex::PagePair>& pairs)
{
    out += '[';
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i)
            out += ", ";
        out += '[';
        AppendPage(out, pairs[i].formatPage);
        out += ", ";
        AppendPage(out, pairs[i].dataPage);
        out += ']';
    }
    out += ']';
}

// Counts sheets without drawing.
class CountingTarget : public dorvex::SheetTarget {
public:
    bool drawPage(dorvex::PrintFile& file) override { return dorvex::DrawPage(file, nullptr, 10, 1, 1); }
    void newSheet(int) override {}
};

} // namespace

int RunPages(const Args& args)
{
    if (args.size() != 2)
        return UsageError("pages");
    dorvex::TEngineState& e = dorvex::Engine();
    e.FormatFileName = args[0];
    e.DataFileName = args[1];
    dorvex::JobFiles files;
    if (!files.open())
        return kExitFailed;

    const int formatPages = files.hasFormat ? dorvex::CountPagesOf(files.format) : 1;
    const int dataPages = dorvex::CountPagesOf(files.data);
    dorvex::CountPreviewPages();

    std::vector<dorvex::PagePair> preview;
    for (int page = 1; page <= e.PageTotal; ++page)
        preview.push_back(dorvex::SeekPreviewPage(files.formatOrNull(), files.data, page));

    files.data.reset();
    dorvex::PrintWalkOptions walk;
    walk.printForm = true;
    walk.pagesLeft = dataPages;
    CountingTarget counter;
    std::vector<dorvex::PagePair> sheets = dorvex::RunPrintWalk(files.formatOrNull(), files.data, walk, counter);

    std::string out = "{\"format_pages\": " + std::to_string(formatPages) + ", \"data_pages\": "
        + std::to_string(dataPages) + ", \"PageTotal\": " + std::to_string(e.PageTotal) + ", \"preview\": ";
    AppendPairs(out, preview);
    out += ", \"print\": ";
    AppendPairs(out, sheets);
    out += "}\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

} // namespace kovra::cli
