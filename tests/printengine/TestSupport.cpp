#include <gtest/gtest.h>

#include "TestSupport.h"

#include "Cp932Codec.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <cstdlib>
#include <memory>

namespace petest {
namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "printengine_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace

std::string Cp932Lines(const std::vector<std::string>& lines, bool finalNewline)
{
    std::string utf8;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        utf8 += lines[i];
        if (i + 1 < lines.size() || finalNewline)
            utf8 += "\r\n";
    }
    return cp932::fromUtf8(utf8);
}

std::string WriteTempFile(QTemporaryDir& dir, const std::string& name, const std::string& bytes)
{
    const QString path = dir.filePath(QString::fromStdString(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(bytes.data(), qint64(bytes.size()));
    return path.toStdString();
}

MessageLog::MessageLog()
{
    prompter_.answer = [this](const kovra::Question& q) {
        messages.push_back(q.text);
        return kovra::Answer::Ok;
    };
}

dorvex::PrintFile MemFile(const std::vector<std::string>& lines, bool finalNewline)
{
    dorvex::PrintFile f;
    f.openBytes(Cp932Lines(lines, finalNewline));
    return f;
}

QImage RenderScene(dorvex::TEngineJob& job, const std::vector<std::vector<std::string>>& pages, QSize size, int zoom,
                   double dpi)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    dorvex::Canvas canvas(&painter);
    for (const auto& page : pages) {
        dorvex::PrintFile f = MemFile(page);
        dorvex::DrawPage(job, f, &canvas, zoom, dpi / 254.0, dpi / 254.0);
    }
    painter.end();
    return image;
}

QImage RenderScene(const std::vector<std::vector<std::string>>& pages, QSize size, int zoom, double dpi)
{
    dorvex::TEngineJob job;
    return RenderScene(job, pages, size, zoom, dpi);
}

::testing::AssertionResult MatchesReference(const QImage& image, const char* name)
{
    const QString path = QStringLiteral(PE_REF_DIR "/%1.png").arg(QLatin1String(name));
    if (qEnvironmentVariableIntValue("KOVRA_UPDATE_REFERENCES") == 1) {
        QDir().mkpath(QStringLiteral(PE_REF_DIR));
        image.save(path, "PNG");
        return ::testing::AssertionSuccess() << "written";
    }
    QImage ref(path);
    if (ref.isNull())
        return ::testing::AssertionFailure() << "no reference image " << path.toStdString();
    ref = ref.convertToFormat(QImage::Format_RGB32);
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    if (ref.size() != img.size())
        return ::testing::AssertionFailure() << "size differs from " << path.toStdString();
    long long differing = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(ref.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                    std::abs(qBlue(a[x]) - qBlue(b[x]))});
            if (d > 64)
                ++differing;
        }
    }
    const long long allowed = std::max<long long>(4, (long long)img.width() * img.height() / 200);
    if (differing > allowed) {
        image.save(QDir::temp().filePath(QStringLiteral("%1.actual.png").arg(QLatin1String(name))), "PNG");
        return ::testing::AssertionFailure() << differing << " pixels differ from " << path.toStdString()
                                             << " (actual image saved in the temp folder)";
    }
    return ::testing::AssertionSuccess();
}

} // namespace petest
