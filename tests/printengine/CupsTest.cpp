// The print engine against a real CUPS server of the test's own
// (tests/servers/cups.sh): the default queue "kovra-pdf" and the office
// queue "kovra-office" (two-sided by default, trays).  Both hold every job,
// so each job's name and options are read back from the server.
#include <gtest/gtest.h>

#include "Cp932Codec.h"
#include "Dorvex32.h"
#include "EngineApp.h"
#include "EngineJob.h"
#include "Imagedsp.h"
#include "Printdlg.h"
#include "Printout.h"
#include "ScriptedPrompter.h"
#include "TestServer.h"
#include "lumprn.h"

#include <cups/cups.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <map>

using namespace dorvex;

namespace {

const kovra::testing::TestServer& TheServer()
{
    static const kovra::testing::TestServer server = kovra::testing::ReadTestServer(KOVRA_CUPS_STATE);
    return server;
}

// The test server's printers, or none when it is not there.
[[maybe_unused]] ::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(
    new dorvex::test::EngineAppEnvironment(TheServer().address.empty() ? "/nonexistent/kovra-no-printers.sock"
                                                                        : TheServer().address));

// The server's jobs: how many, and the newest one's queue, name and job
// attributes.
struct ServerJobs {
    int count = 0;
    std::string queue, name;
    std::map<std::string, std::string> attributes;
};

ServerJobs Jobs()
{
    ServerJobs all;
    cups_job_t* jobs = nullptr;
    all.count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int id = 0;
    for (int i = 0; i < all.count; ++i)
        if (jobs[i].id > id) {
            id = jobs[i].id;
            all.queue = jobs[i].dest;
            all.name = jobs[i].title;
        }
    cupsFreeJobs(all.count, jobs);
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        char value[1024];
        if (ippGetGroupTag(a) == IPP_TAG_JOB && ippGetName(a)) {
            ippAttributeString(a, value, sizeof value);
            all.attributes[ippGetName(a)] = value;
        }
    }
    ippDelete(response);
    return all;
}

class Cups : public ::testing::Test {
protected:
    void SetUp() override
    {
        KOVRA_REQUIRE_SERVER(TheServer());
        QFile f(dir.filePath(QStringLiteral("d.dat")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("T300;300;DATA 1;;24;;0;1;\r\nE\r\nT300;300;DATA 2;;24;;0;1;\r\n");
        data = f.fileName().toStdString();
        ThePrinterSettings().SelectDefaultPrinter();
    }
    QTemporaryDir dir;
    std::string data;
    kovra::testing::ScriptedPrompter prompter;
};

} // namespace

// Guards the system's default printer as the current printer: at the start
// and after a cancelled dialog, where the dialog preselects it; 印刷開始
// (no dialog) prints on it at once.
TEST_F(Cups, TheDefaultPrinterIsTheCurrentPrinter)
{
    EXPECT_EQ(ThePrinter().outputFormat(), QPrinter::NativeFormat);
    EXPECT_EQ(ThePrinter().printerName(), QStringLiteral("kovra-pdf"));
    QStringList preselected;
    prompter.windowShown = [&](QWidget& w) {
        auto* dlg = qobject_cast<TStartPrintDlg*>(&w);
        ASSERT_NE(dlg, nullptr);
        preselected << dlg->DestinationBox->currentText();
        EXPECT_TRUE(dlg->PropertiesButton->isEnabled());
        dlg->DestinationBox->setCurrentIndex(dlg->DestinationBox->findText(QStringLiteral("kovra-office")));
        dlg->CancelBtn->click();
    };
    EXPECT_EQ(ScalPrintUtf8("", data, "", 9, 0, 0, 0, true, true), 0);
    EXPECT_EQ(ScalPrintUtf8("", data, "", 9, 0, 0, 0, true, true), 0);
    EXPECT_EQ(preselected, (QStringList{QStringLiteral("kovra-pdf"), QStringLiteral("kovra-pdf")}));

    // 印刷開始, also when the process's printer was made as a PDF file
    // before any printer was installed: the default printer, no dialog.
    prompter.windowShown = [](QWidget& w) {
        if (qobject_cast<TStartPrintDlg*>(&w))
            ADD_FAILURE() << "no dialog without the dialog flag";
    };
    for (const bool madeWithoutPrinter : {false, true}) {
        if (madeWithoutPrinter)
            UsePrinter(QString());
        const int before = Jobs().count;
        EXPECT_EQ(ScalPrintUtf8("", data, "", 9, 0, 0, 0, true, false), -1);
        const ServerJobs after = Jobs();
        EXPECT_EQ(after.count, before + 1);
        EXPECT_EQ(after.queue, "kovra-pdf");
    }
}

// Guards the job's name in the queue: the name the caller gives, the data
// file's name for a C caller, the preview's caption for a print from it.
TEST_F(Cups, EveryJobHasAName)
{
    struct Case {
        const char* caller;
        std::function<void()> print;
        std::string name;
    };
    const Case cases[] = {
        {"report", [&] { ScalPrintUtf8("", data, "", 9, 0, 0, 0, true, false, "物件概要書 21000100"); },
         "物件概要書 21000100"},
        {"C caller", [&] { ScalPrint("", cp932::fromUtf8(data).c_str(), "C", 9, 0, 0, 0, 1, 0); }, "d.dat"},
        {"preview", [&] {
             prompter.windowShown = [](QWidget& w) {
                 if (auto* form = qobject_cast<TImageDispForm*>(&w)) {
                     form->PrintButtonClick();
                     form->CloseButtonClick();
                 }
             };
             PrintImageDispUtf8("KovraViewer Report", "", data, 9, 0, 0, 0, -1, -1, 0, 0, true, false);
         },
         "KovraViewer Report"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caller);
        const int before = Jobs().count;
        c.print();
        const ServerJobs after = Jobs();
        ASSERT_EQ(after.count, before + 1);
        EXPECT_EQ(after.name, c.name);
    }
}

// Guards the printer's own options: untouched, the job follows each queue's
// defaults (the office queue is two-sided); what is chosen behind the
// dialog's プロパティ reaches the job, while paper stays the job's (A4)
// whatever that dialog was set to.
TEST_F(Cups, ThePrintersOptionsReachTheJobOnlyWhenChosen)
{
    struct Case {
        const char* queue;
        const char* duplexChoice; // the radio button of the standard dialog; null: プロパティ not used
        std::string sides;
    };
    const Case cases[] = {{"kovra-pdf", nullptr, "one-sided"},
                          {"kovra-office", nullptr, "two-sided-long-edge"},
                          {"kovra-office", "duplexShort", "two-sided-short-edge"},
                          {"kovra-office", "noDuplex", "one-sided"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " " + (c.duplexChoice ? c.duplexChoice : "-"));
        bool optionsShown = false;
        prompter.windowShown = [&](QWidget& w) {
            if (auto* options = qobject_cast<QPrintDialog*>(&w)) {
                optionsShown = true;
                auto* radio = options->findChild<QRadioButton*>(QString::fromLatin1(c.duplexChoice));
                ASSERT_NE(radio, nullptr);
                radio->setChecked(true);
                options->printer()->setPageSize(QPageSize(QPageSize::A3));
                options->accept();
                return;
            }
            auto* dlg = qobject_cast<TStartPrintDlg*>(&w);
            if (!dlg)
                return; // the progress dialog
            dlg->DestinationBox->setCurrentIndex(dlg->DestinationBox->findText(QString::fromLatin1(c.queue)));
            if (c.duplexChoice)
                dlg->PropertiesButton->click(); // its 印刷 prints
            else
                dlg->OKBtn->click();
        };
        const int before = Jobs().count;
        EXPECT_EQ(ScalPrintUtf8("", data, "", 9, 0, 0, 0, true, true), -1);
        ServerJobs job = Jobs();
        ASSERT_EQ(job.count, before + 1);
        EXPECT_EQ(optionsShown, c.duplexChoice != nullptr);
        EXPECT_EQ(job.queue, c.queue);
        EXPECT_EQ(job.attributes["sides"], c.sides);
        EXPECT_EQ(job.attributes["media"], "A4");
        EXPECT_EQ(job.attributes.count("InputSlot"), 0u) << "no tray forced";
    }
}
