#include "PrintEngineCli.h"

#include <cstdlib>
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

} // namespace kovra::cli
