#include "PrintEngineCli.h"
#include "Json.h"
#include "Output.h"

#include "FileIO.h"
#include "MessageTexts.h"
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

void SayUnmappable(const ReportOutcome& written)
{
    if (written.unmappable)
        PrintLine(stderr, "kovra: " + std::to_string(written.unmappable) +
                              " characters the code page lacks were written as \"?\"");
}

bool RenderPrintDataToPdf(const std::function<ReportOutcome(const std::string& dataFile)>& write, const std::string& pdf,
                          const dorvex::RenderOptions& options)
{
    std::unique_ptr<QGuiApplication> app;
    const ReportPdfOutcome made = WritePrintDataPdf(write, pdf, options, [&](const ReportOutcome& written) {
        SayUnmappable(written);
        if (fileio::JobInputs{written.formatFile, written.dataFile}.inputAt(pdf)) {
            PrintLine(stderr, msg::OutputIsInput(pdf));
            return false;
        }
        KeepHeapSlackForPdf();
        app = StartPrintEngineGui();
        return true;
    });
    if (!made.written.written) {
        PrintLine(stderr, made.written.message);
        return false;
    }
    if (!made.rendered)
        return false;
    std::string json = "{\"pdf\": ";
    AppendJsonString(json, pdf);
    json += ", \"sheets\": " + std::to_string(made.sheets) + "}";
    PrintLine(stdout, json);
    return true;
}

} // namespace kovra::cli
