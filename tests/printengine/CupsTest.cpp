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

#include <fstream>
#include <map>

using namespace dorvex;

namespace {

// The server's socket, or why there is none.
struct Server {
    std::string socket, skip;
};

Server ReadServerState()
{
    Server s;
    std::ifstream in(KOVRA_CUPS_STATE);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("socket=", 0) == 0)
            s.socket = line.substr(7);
        else if (line.rfind("skip=", 0) == 0)
            s.skip = line.substr(5);
    }
    if (s.socket.empty() && s.skip.empty())
        s.skip = "no CUPS server was started for the tests (run them with ctest)";
    return s;
}

const Server& TheServer()
{
    static const Server server = ReadServerState();
    return server;
}

// The test server's printers, or none when it is not there.
[[maybe_unused]] ::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(
    new dorvex::test::EngineAppEnvironment(TheServer().socket.empty() ? "/nonexistent/kovra-no-printers.sock"
                                                                       : TheServer().socket));

// The newest job of the server: its queue, name and job attributes.
struct QueuedJob {
    std::string queue, name;
    std::map<std::string, std::string> attributes;
};

QueuedJob NewestJob()
{
    QueuedJob newest;
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int id = 0;
    for (int i = 0; i < n; ++i)
        if (jobs[i].id > id) {
            id = jobs[i].id;
            newest.queue = jobs[i].dest;
            newest.name = jobs[i].title;
        }
    cupsFreeJobs(n, jobs);
    if (id == 0)
        return newest;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        if (ippGetGroupTag(a) != IPP_TAG_JOB || !ippGetName(a))
            continue;
        char value[1024];
        ippAttributeString(a, value, sizeof value);
        newest.attributes[ippGetName(a)] = value;
    }
    ippDelete(response);
    return newest;
}

int JobCount()
{
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(n, jobs);
    return n;
}

class Cups : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (TheServer().socket.empty()) {
            if (qEnvironmentVariable("KOVRA_CI") == QLatin1String("1"))
                FAIL() << "CI needs the CUPS server: " << TheServer().skip;
            GTEST_SKIP() << "CUPS: " << TheServer().skip;
        }
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
    prompter.windowShown = [](QWidget&) { ADD_FAILURE() << "no dialog without the dialog flag"; };
    for (const bool madeWithoutPrinter : {false, true}) {
        if (madeWithoutPrinter)
            UsePrinter(QString());
        const int before = JobCount();
        EXPECT_EQ(ScalPrintUtf8("", data, "", 9, 0, 0, 0, true, false), -1);
        EXPECT_EQ(JobCount(), before + 1);
        EXPECT_EQ(NewestJob().queue, "kovra-pdf");
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
        const int before = JobCount();
        c.print();
        ASSERT_EQ(JobCount(), before + 1);
        EXPECT_EQ(NewestJob().name, c.name);
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
            ASSERT_NE(dlg, nullptr);
            dlg->DestinationBox->setCurrentIndex(dlg->DestinationBox->findText(QString::fromLatin1(c.queue)));
            if (c.duplexChoice)
                dlg->PropertiesButton->click(); // its 印刷 prints
            else
                dlg->OKBtn->click();
        };
        const int before = JobCount();
        EXPECT_EQ(ScalPrintUtf8("", data, "", 9, 0, 0, 0, true, true), -1);
        ASSERT_EQ(JobCount(), before + 1);
        QueuedJob job = NewestJob();
        EXPECT_EQ(optionsShown, c.duplexChoice != nullptr);
        EXPECT_EQ(job.queue, c.queue);
        EXPECT_EQ(job.attributes["sides"], c.sides);
        EXPECT_EQ(job.attributes["media"], "A4");
        EXPECT_EQ(job.attributes.count("InputSlot"), 0u) << "no tray forced";
    }
}
