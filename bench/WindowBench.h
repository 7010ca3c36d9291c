// What every benchmark of the windows does before and after its runs: an
// application drawn off screen (unless a display is named), the settings in
// a folder of the run's own, and the files it needs written there.
#pragma once

#include "ProgramWindows.h"
#include "UserSettingsStore.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string_view>

namespace kovra::bench {

namespace detail {
// A base, so the platform is chosen before the application is made.
struct OffScreen {
    OffScreen()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};
} // namespace detail

class WindowBench : detail::OffScreen {
public:
    WindowBench(int& argc, char** argv) : app_(argc, argv)
    {
        SetUpApplication();
        services::RedirectUserSettings(dir.filePath(QStringLiteral("settings.ini")).toStdString());
    }

    // Writes `bytes` into the run's folder as `name`; its path, or empty
    // when it could not be written.
    QString Write(const QString& name, std::string_view bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
            return {};
        return path;
    }

    // Runs the benchmarks the command line asks for.
    static int Run(int& argc, char** argv)
    {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }

    QTemporaryDir dir;

private:
    QApplication app_;
};

} // namespace kovra::bench
