// kovra pages FORMAT DATA: how the engine pairs format and data pages, for
// the preview and for a print job with the form printed.
#include "Commands.h"
#include "Json.h"
#include "PrintEngineCli.h"

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
    explicit CountingTarget(dorvex::TEngineJob& job) : job_(job) {}
    bool drawPage(dorvex::PrintFile& file) override { return dorvex::DrawPage(job_, file, nullptr, 10, 1, 1); }
    void newSheet(int) override {}

private:
    dorvex::TEngineJob& job_;
};

} // namespace

int RunPages(const Args& args)
{
    if (args.size() != 2)
        return UsageError("pages");
    dorvex::TEngineJob job(args[0], args[1]);
    if (!job.openFiles())
        return kExitFailed;

    const int formatPages = job.formatOrNull() ? dorvex::CountPagesOf(job.formatFile) : 1;
    const int dataPages = dorvex::CountPagesOf(job.dataFile);
    dorvex::CountPreviewPages(job);

    std::vector<dorvex::PagePair> preview;
    for (int page = 1; page <= job.PageTotal; ++page)
        preview.push_back(dorvex::SeekPreviewPage(job.formatOrNull(), job.dataFile, page));

    job.dataFile.reset();
    dorvex::PrintWalkOptions walk;
    walk.printForm = true;
    walk.pagesLeft = dataPages;
    CountingTarget counter(job);
    std::vector<dorvex::PagePair> sheets = dorvex::RunPrintWalk(job.formatOrNull(), job.dataFile, walk, counter);

    std::string out = "{\"format_pages\": " + std::to_string(formatPages) + ", \"data_pages\": "
        + std::to_string(dataPages) + ", \"PageTotal\": " + std::to_string(job.PageTotal) + ", \"preview\": ";
    AppendPairs(out, preview);
    out += ", \"print\": ";
    AppendPairs(out, sheets);
    out += "}\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

} // namespace kovra::cli
