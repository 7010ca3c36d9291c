// The shipped template's pages in a real browser (headless Chromium; the
// test is skipped where none is installed).
#include "GuiTestApp.h"
#include "HtmlExport.h"
#include "HtmlTestSupport.h"
#include "ListingDocument.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

using namespace kovra;
namespace fs = std::filesystem;

namespace {

QString FindChromium()
{
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"})
        if (const QString p = QStandardPaths::findExecutable(QString::fromLatin1(name)); !p.isEmpty())
            return p;
    return {};
}

// The page's DOM as the browser built it (UTF-8), or empty on failure.
QString DumpDom(const QString& chromium, const QString& file, const QString& screenshot = {})
{
    QTemporaryDir profile;
    QStringList args = {"--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                        "--disable-component-update", "--disable-sync", "--no-first-run",
                        "--user-data-dir=" + profile.path()};
    if (!screenshot.isEmpty())
        args << "--screenshot=" + screenshot << "--window-size=900,1100" << "--hide-scrollbars";
    else
        args << "--dump-dom";
    args << QUrl::fromLocalFile(file).toString();
    QProcess p;
    p.start(chromium, args);
    if (!p.waitForFinished(60000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString Href(const QString& dom, const QString& id)
{
    const QRegularExpression re("<a[^>]*id=\"" + id + "\"[^>]*href=\"([^\"]*)\"|<a[^>]*href=\"([^\"]*)\"[^>]*id=\"" + id + "\"");
    const auto m = re.match(dom);
    return m.hasMatch() ? (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)) : QString("(none)");
}

} // namespace

// Guards: a sample template that a browser decodes wrongly (charset) or whose links lead nowhere.
TEST(SampleTemplate, PagesOpenInABrowserAndTheirLinksWork)
{
    const QString chromium = FindChromium();
    if (chromium.isEmpty())
        GTEST_SKIP() << "no chromium installed";

    TListingDocument data;
    ASSERT_TRUE(LoadListingFile(data, KOVRA_SOURCE_DIR "/data/samples/sample.txt").ok());
    ASSERT_GE(data.ListingCount, 3);
    test::TempDir dir;
    html::ExportJob job;
    job.listings = data.ListingTable.data();
    job.count = data.ListingCount;
    job.kensakuNengappi = data.KensakuNengappi;
    job.user = {"見本不動産株式会社", "100-0001", "東京都千代田区見本1-2-3", "03-0000-1111", "03-0000-2222",
                "info@example.jp", "https://example.jp/"};
    job.templatePath = KOVRA_SOURCE_DIR "/data/KvTemplate.html";
    job.fieldListPath = KOVRA_SOURCE_DIR "/data/FieldList";
    job.outDir = dir.str();
    ASSERT_TRUE(html::ExportPages(job, {}).ok());

    const auto number = [&](int i) { return QString::fromUtf8(std::string(data.ListingTable[i].BukkennNum())); };
    const QString folder = QString::fromStdString(dir.str());
    const QString first = DumpDom(chromium, folder + "/" + number(0) + ".html");
    ASSERT_FALSE(first.isEmpty());
    // Decoded as Shift-JIS: the address and the broker's own name read correctly.
    EXPECT_TRUE(first.contains(QString::fromUtf8(std::string(data.ListingTable[0].Syozaitimei())))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("見本不動産株式会社")));
    EXPECT_EQ(Href(first, "next"), number(1) + ".html");
    EXPECT_EQ(Href(first, "back"), ""); // the first page's back link is empty (and hidden by the style)

    // Follow the next link and come back.
    const QString second = DumpDom(chromium, folder + "/" + Href(first, "next"));
    EXPECT_TRUE(second.contains(number(1)));
    EXPECT_EQ(Href(second, "back"), number(0) + ".html");
    EXPECT_EQ(Href(second, "next"), number(2) + ".html");
    const QString last = DumpDom(chromium, folder + "/" + number(data.ListingCount - 1) + ".html");
    EXPECT_EQ(Href(last, "next"), "");

    // Kept for looking at by hand.
    if (const QByteArray shot = qgetenv("KOVRA_HTML_SCREENSHOT"); !shot.isEmpty())
        DumpDom(chromium, folder + "/" + number(1) + ".html", QString::fromLocal8Bit(shot));
}
