#include "PrintEngineCli.h"
#include "Json.h"
#include "Output.h"

#include "FileIO.h"
#include "MessageTexts.h"

#include <filesystem>
#include <random>

#include "NoDisplay.h"

#include <cstdlib>
#if defined(__GLIBC__) // known only once a C library header is in
#include <malloc.h>
#endif

namespace kovra::cli {

std::unique_ptr<QGuiApplication> StartPrintEngineGui()
{
    if (QCoreApplication::instance())
        return nullptr;
    UseOffscreenWithoutDisplay();
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

bool RenderPrintDataToPdf(const std::function<ReportOutcome(const std::string& dataFile)>& write, const std::string& pdf,
                          const dorvex::RenderOptions& options)
{
    namespace fs = std::filesystem;
    struct TempFile {
        fs::path path;
        ~TempFile()
        {
            std::error_code ec;
            if (!path.empty())
                fs::remove(path, ec);
        }
    } temp;
    std::error_code ec;
    temp.path = fs::temp_directory_path(ec) / ("kovra-print-" + std::to_string(std::random_device{}()) + ".tmp");
    const ReportOutcome written = write(fileio::Utf8FromPath(temp.path));
    if (!written.written) {
        PrintLine(stderr, written.message);
        return false;
    }
    if (written.unmappable)
        PrintLine(stderr, "kovra: " + std::to_string(written.unmappable) + " characters the code page lacks were written as \"?\"");
    if (fileio::SameFile(written.formatFile, pdf)) {
        PrintLine(stderr, msg::OutputIsInput(pdf));
        return false;
    }
    KeepHeapSlackForPdf();
    auto app = StartPrintEngineGui();
    int sheets = 0;
    if (!dorvex::RenderJobToPdf(written.formatFile, written.dataFile, pdf, options, &sheets))
        return false;
    std::string json = "{\"pdf\": ";
    AppendJsonString(json, pdf);
    json += ", \"sheets\": " + std::to_string(sheets) + "}";
    PrintLine(stdout, json);
    return true;
}

} // namespace kovra::cli
