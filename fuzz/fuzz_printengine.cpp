// The print engine's reader and renderer on arbitrary bytes: the setup
// readers, page counting and skipping, the images named, and the first pages drawn into a
// small image.  Byte 0 chooses the zoom, byte 1 the surface kind and page.
#include "EngineJob.h"
#include "Imageout.h"
#include "Messages.h"
#include "PageWalk.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>
#include <string>

// fontconfig and Qt keep what they learn about each new face name for the
// life of the process (caches, not leaks of the engine).
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libQt6Gui\nleak:libfreetype\n";
}

namespace {

// Messages are dropped: a run says thousands of them.
class SilentPrompter final : public kovra::Prompter {
public:
    kovra::Answer Ask(const kovra::Question&) override { return kovra::Answer::Cancel; }
    std::optional<std::string> AskText(const kovra::TextQuestion&) override { return std::nullopt; }
    std::optional<std::string> AskFile(const kovra::FileQuestion&) override { return std::nullopt; }
    void OpenWithShell(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_printengine";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    static SilentPrompter silent;
    kovra::SetPrompter(&silent);
    dorvex::EnsureEngineStarted();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int zoom = 1 + data[0] % 20;
    const bool printerPage = data[1] & 1;
    const long long skipTo = (data[1] >> 1) % 16;
    dorvex::TEngineJob job;
    job.PrintFormatPages = data[1] & 0x80;

    dorvex::PrintFile& file = job.formatFile;
    file.openBytes(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
    dorvex::ReadFormatSetup(job, true);
    dorvex::ComputeJobGeometry(job, 256, data[1] & 0x40, 190, 277);
    dorvex::CountPagesOf(file);
    std::vector<std::string> images; // what a job's output must not be
    dorvex::AddImageFiles(file.bytes(), images);
    dorvex::SkipPages(file, skipTo, data[1] & 0x20);
    file.reset();

    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    dorvex::Canvas canvas(&painter, printerPage);
    canvas.readImageFiles = false;
    for (int page = 0; page < 3 && !file.eof(); ++page)
        dorvex::DrawPage(job, file, &canvas, zoom, 96 / 254.0, 96 / 254.0);
    painter.end();
    // Qt trims its font caches from a timer: give it the chance.
    static unsigned runs = 0;
    if (++runs % 256 == 0)
        QCoreApplication::processEvents();
    return 0;
}
