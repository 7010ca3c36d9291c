#include "Cp932Codec.h"
#include "DocumentSlot.h"
#include "GuiTestApp.h"
#include "HtmlExportRun.h"
#include "HtmlSetupDlg.h"
#include "HtmlTestSupport.h"
#include "ListingDocument.h"
#include "MessageTexts.h"
#include "ProgForm.h"
#include "ScriptedPrompter.h"
#include "ShippedFiles.h"
#include "UserSettings.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <deque>

using namespace kovra;
namespace fs = std::filesystem;

static ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

namespace {

QString Q(const fs::path& p)
{
    const auto u = p.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(u.data()), static_cast<qsizetype>(u.size()));
}

// For looking at the windows by hand: KOVRA_HTML_WINDOW_SHOTS=folder.
void SaveShot(QWidget& w, const char* name)
{
    const QString folder = qEnvironmentVariable("KOVRA_HTML_WINDOW_SHOTS");
    if (!folder.isEmpty())
        w.grab().save(folder + "/" + name + ".png");
}

const char* kTemplate = "<p>/*BukkennNum*/ /*UserName*/</p><a href=\"/*BackFileName*/\">b</a><a href=\"/*NextFileName*/\">n</a>";

class HtmlRun : public ::testing::Test {
protected:
    test::TempDir dir;
    QWidget mainWindow;
    DocumentSlot document;
    services::TUserSettings settings;
    std::unique_ptr<HtmlExportController> controller;
    kovra::testing::ScriptedPrompter prompter;
    std::deque<Answer> answers;
    std::vector<QString> questions, errors;
    std::vector<bool> runningSeen;
    QString finishedText;
    int finishedCount = 0;
    QString templatePath;

    void SetUp() override
    {
        fs::create_directories(dir.path() / "out");
        test::WriteFile(dir.path() / "t.html", kTemplate);
        test::WriteFile(dir.path() / "FieldList", "/*BukkennNum*/\r\n/*UserName*/\r\n/*NextFileName*/\r\n/*BackFileName*/\r\n");
        templatePath = Q(dir.path() / "t.html");
        Show({"11", "12", "13"});

        services::SetProgramFolder(dir.path().string()); // the FieldList beside the program
        prompter.windowShown = [this](QWidget& window) {
            auto* dlg = qobject_cast<THtmlSetupDlg*>(&window);
            ASSERT_NE(dlg, nullptr);
            dlg->SaveDirEdt->setText(QDir::toNativeSeparators(Q(dir.path() / "out")));
            dlg->TemptateEdt->setText(templatePath);
            dlg->accept();
        };
        prompter.answer = [this](const Question& q) {
            const QString text = QString::fromStdString(q.text);
            if (q.choices == Choices::YesCancelYesToAll) {
                // Above the always-on-top progress window, not hidden behind it.
                EXPECT_NE(qobject_cast<TProgForm*>(q.owner), nullptr);
                EXPECT_TRUE(q.owner && q.owner->isVisible());
                EXPECT_EQ(q.title, "警告");
                questions.push_back(text);
                EXPECT_FALSE(answers.empty());
                const Answer a = answers.empty() ? Answer::Cancel : answers.front();
                if (!answers.empty())
                    answers.pop_front();
                return a;
            }
            if (q.tone == Tone::Error) {
                errors.push_back(text);
            } else {
                finishedText = text;
                ++finishedCount;
                EXPECT_TRUE(document.InUseByRun()); // the main window must not close before the message is gone
            }
            return Answer::Ok;
        };
        controller = std::make_unique<HtmlExportController>(&mainWindow, document, settings,
                                                            [](const QString&) { return QString(); });
        document.SetObserver([this] { runningSeen.push_back(document.InUseByRun()); });
    }
    void TearDown() override
    {
        controller.reset();
        services::SetProgramFolder({});
    }

    // Puts a document of listings with these numbers on show.
    void Show(std::vector<TKovraDataClass> listings)
    {
        auto data = std::make_shared<TListingDocument>();
        data->ListingCount = static_cast<int>(listings.size());
        data->ListingTable = std::move(listings);
        document.Replace(std::move(data));
    }
    void Show(std::initializer_list<const char*> numbers) { Show(test::MakeListings(numbers)); }

    // Starts the run and waits for its end message.
    void Run(std::optional<std::vector<int>> only = std::nullopt)
    {
        controller->HtmlMenuClick(std::move(only));
        QDeadlineTimer deadline(20000);
        while (document.InUseByRun() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_FALSE(document.InUseByRun()) << "the run did not end";
    }
    fs::path out(const char* name) const { return dir.path() / "out" / name; }
    std::string page(const char* name) const { return test::ReadFile(out(name)); }
    void existing(std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            test::WriteFile(out(n), "old");
    }
    QString question(const char* name) const
    {
        return QDir::toNativeSeparators(Q(out(name))) + QStringLiteral("\n\r\n\r同じ名前のファイルがあります。上書きしますか？");
    }
};

} // namespace

// Guards the listings found in the listing browser: only their pages, in
// the order found, linking among themselves.
TEST_F(HtmlRun, ChosenListingsOnlyLinkAmongThemselves)
{
    Run(std::vector<int>{2, 0});
    EXPECT_FALSE(fs::exists(out("12.html")));
    EXPECT_NE(page("13.html").find("<a href=\"\">b</a><a href=\"11.html\">n</a>"), std::string::npos) << page("13.html");
    EXPECT_NE(page("11.html").find("<a href=\"13.html\">b</a><a href=\"\">n</a>"), std::string::npos) << page("11.html");
    EXPECT_EQ(finishedCount, 1);
    EXPECT_TRUE(errors.empty());
}

// Guards: the question's text and order, and yes not writing the page.
TEST_F(HtmlRun, OverwriteYesAsksForEveryExistingPage)
{
    existing({"11.html", "12.html"});
    answers = {Answer::Yes, Answer::Yes};
    Run();
    EXPECT_EQ(questions, (std::vector<QString>{question("11.html"), question("12.html")}));
    EXPECT_NE(page("12.html").find("<p>12 "), std::string::npos);
    EXPECT_TRUE(fs::exists(out("13.html")));
    EXPECT_EQ(finishedText, QStringLiteral("処理が終了しました"));
    EXPECT_EQ(runningSeen, (std::vector<bool>{true, false}));
}

// Guards: yes to all asking again later in the same run.
TEST_F(HtmlRun, YesToAllSuppressesLaterQuestions)
{
    existing({"11.html", "12.html", "13.html"});
    answers = {Answer::YesToAll};
    Run();
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_NE(page("13.html").find("<p>13 "), std::string::npos);
}

// Guards: cancel at the second page writing it, deleting the first, or skipping the end sequence.
TEST_F(HtmlRun, CancelAtTheSecondPage)
{
    existing({"11.html", "12.html"});
    answers = {Answer::Yes, Answer::Cancel};
    Run();
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_NE(page("11.html").find("<p>11 "), std::string::npos);
    EXPECT_EQ(page("12.html"), "old");
    EXPECT_FALSE(fs::exists(out("13.html")));
    EXPECT_TRUE(finishedText.startsWith(QStringLiteral("処理が終了しました"))) << finishedText.toStdString();
    EXPECT_EQ(finishedCount, 1);
    EXPECT_EQ(runningSeen, (std::vector<bool>{true, false}));
}

// Guards: a lower-case FieldList line writing pages instead of stopping with the error box.
TEST_F(HtmlRun, FieldListErrorIsShownAndTheRunEnds)
{
    test::WriteFile(dir.path() / "FieldList", "/*bukkennnum*/\r\n");
    Run();
    EXPECT_EQ(errors, (std::vector<QString>{QStringLiteral("FieldListにエラーがあります")}));
    EXPECT_FALSE(fs::exists(out("11.html")));
    EXPECT_EQ(finishedCount, 1);
    EXPECT_TRUE(finishedText.startsWith(QStringLiteral("処理が終了しました")));
}

// Guards: a missing template reported as plain success.
TEST_F(HtmlRun, SilentFailureSaysWhatWentWrong)
{
    templatePath += QStringLiteral(".gone");
    Run();
    EXPECT_TRUE(finishedText.startsWith(QStringLiteral("処理が終了しました\n\n"))) << finishedText.toStdString();
    EXPECT_TRUE(finishedText.contains(QStringLiteral("テンプレート")));
}

// Guards: a listing number borne twice losing the earlier page without a word.
TEST_F(HtmlRun, DuplicateNumbersAreNamedInTheEndMessage)
{
    Show({"11", "12", "11"});
    answers = {Answer::Yes}; // the first 11.html, written by this run
    Run();
    EXPECT_TRUE(finishedText.startsWith(QStringLiteral("処理が終了しました\n\n"))) << finishedText.toStdString();
    EXPECT_TRUE(finishedText.contains(QStringLiteral("物件番号「11」 2件"))) << finishedText.toStdString();
}

// Guards: a run started with an empty box, or the dialog shown with nothing loaded.
TEST_F(HtmlRun, NothingStartsWithoutListingsOrParameters)
{
    templatePath.clear();
    controller->HtmlMenuClick();
    EXPECT_EQ(errors, (std::vector<QString>{QStringLiteral("パラメーターにエラーがあります")}));
    EXPECT_FALSE(document.InUseByRun());

    Show(std::vector<TKovraDataClass>{});
    runningSeen.clear();
    bool shown = false;
    prompter.windowShown = [&](QWidget&) { shown = true; };
    controller->HtmlMenuClick();
    EXPECT_FALSE(shown);
    EXPECT_TRUE(runningSeen.empty());
}

// Guards the template: a run whose page would replace it never starts; the
// dialog comes back (here cancelled) and the template is kept.
TEST_F(HtmlRun, APageOverTheTemplateIsRefusedBeforeTheRun)
{
    fs::rename(dir.path() / "t.html", out("12.html"));
    templatePath = Q(out("12.html"));
    int shown = 0;
    const auto fill = prompter.windowShown;
    prompter.windowShown = [&](QWidget& window) {
        if (++shown == 1)
            fill(window);
        else
            static_cast<THtmlSetupDlg&>(window).reject();
    };
    controller->HtmlMenuClick();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(errors, (std::vector<QString>{QString::fromStdString(
                          msg::OutputIsInput(QDir::toNativeSeparators(Q(out("12.html"))).toStdString()))}));
    EXPECT_TRUE(runningSeen.empty());
    EXPECT_EQ(page("12.html"), kTemplate);
    EXPECT_FALSE(fs::exists(out("11.html")));
}

// Guards: a controller going away mid-run leaving the worker blocked on a GUI call
// (deadlock) or writing on into freed state.
TEST_F(HtmlRun, ControllerDestroyedDuringARunStopsTheWorker)
{
    std::vector<TKovraDataClass> many;
    for (int i = 0; i < 400; ++i)
        many.push_back(test::Listing(std::to_string(1000 + i)));
    Show(std::move(many));
    controller->HtmlMenuClick();
    ASSERT_TRUE(document.InUseByRun());
    controller.reset();
    EXPECT_FALSE(document.InUseByRun());
    EXPECT_EQ(finishedCount, 0);
    EXPECT_FALSE(fs::exists(out("1399.html"))); // stopped well before the end
}

// Guards the stop: 中止, the close box and Esc each end the run after the
// page being written, every page written whole and none after it, with the
// end message saying how many pages there are; and only the run's end
// closes the progress window.
TEST_F(HtmlRun, StoppingEndsAfterWholePagesAndSaysHowMany)
{
    constexpr int kListings = 300, kStopAt = 3;
    std::vector<TKovraDataClass> many;
    for (int i = 0; i < kListings; ++i)
        many.push_back(test::Listing(std::to_string(1000 + i)));
    Show(std::move(many));
    TProgForm* prog = mainWindow.findChild<TProgForm*>();
    ASSERT_NE(prog, nullptr);
    struct Case {
        const char* way;
        std::function<void()> stop;
    };
    const Case cases[] = {
        {"中止", [prog] { prog->StopBtn->click(); }},
        {"close box", [prog] { prog->close(); }},
        {"Esc", [prog] { QTest::keyClick(prog, Qt::Key_Escape); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        fs::remove_all(dir.path() / "out");
        fs::create_directories(dir.path() / "out");
        bool stillShownAfterStop = false;
        // Asked from the event loop, as a click is, once some pages are there.
        const QMetaObject::Connection asked =
            QObject::connect(prog->ProgressBar1, &QProgressBar::valueChanged, prog, [&](int value) {
                if (value == kStopAt)
                    QTimer::singleShot(0, prog, [&] {
                        c.stop();
                        stillShownAfterStop = prog->isVisible() && !prog->StopBtn->isEnabled();
                    });
            });
        Run();
        QObject::disconnect(asked);
        EXPECT_TRUE(stillShownAfterStop);
        EXPECT_FALSE(prog->isVisible());
        int pages = 0;
        for (const auto& entry : fs::directory_iterator(dir.path() / "out")) {
            ++pages;
            const std::string number = entry.path().stem().string();
            const std::string text = test::ReadFile(entry.path());
            EXPECT_TRUE(text.starts_with("<p>" + number + " ") && text.find(">n</a>") != std::string::npos) << number << ": " << text;
        }
        EXPECT_GE(pages, kStopAt);
        EXPECT_LT(pages, kListings);
        EXPECT_TRUE(fs::exists(out("1000.html")));
        EXPECT_EQ(finishedText.toStdString(), std::string(msg::kExportFinished) + "\n\n" +
                                                  std::string(msg::kExportCancelled) + "\n" + msg::PagesWritten(pages));
    }
}

// Guards: the worker reading the live profile while the settings dialog changes it.
TEST_F(HtmlRun, UserProfileIsCopiedAtTheStart)
{
    settings.UserProfile.Name = "前の名前";
    existing({"11.html"});
    prompter.answer = [this](const Question& q) {
        if (q.choices != Choices::YesCancelYesToAll)
            return Answer::Ok;
        settings.UserProfile.Name = "後の名前";
        return Answer::YesToAll;
    };
    Run();
    // The template declares no charset, so the page is Shift-JIS.
    EXPECT_NE(page("13.html").find(cp932::fromUtf8("前の名前")), std::string::npos);
}

// Guards: a bar that keeps the last run's position, or a window that can fall behind the main window.
TEST(ProgFormWindow, BarIsResetOnShowAndLabelKept)
{
    QWidget mainWindow;
    TProgForm form(&mainWindow);
    form.ProgressBar1->setRange(0, 3);
    form.ProgressBar1->setValue(3);
    form.aboutlbl->setText(QStringLiteral("作成中: old"));
    form.setListingCount(7);
    form.show();
    EXPECT_EQ(form.ProgressBar1->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1->maximum(), 7);
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_EQ(form.aboutlbl->text(), QStringLiteral("作成中: old"));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowCloseButtonHint)) << "the close box stops the run";
    SaveShot(form, "ProgForm");
    form.close();
}

// Guards: the folder picker not creating a typed folder, or changing the box on cancel/no.
TEST(SetupDialog, FolderIsCreatedAfterConfirmation)
{
    test::TempDir dir;
    kovra::testing::ScriptedPrompter prompter;
    std::vector<QString> asked;
    std::deque<bool> replies = {false, true};
    const QString target = Q(dir.path() / "a" / "b");
    int picks = 0;
    prompter.file = [&](const FileQuestion& q) {
        EXPECT_EQ(q.kind, FileQuestion::Kind::Folder);
        return ++picks <= 2 ? std::optional<std::string>(target.toStdString()) : std::nullopt;
    };
    prompter.answer = [&](const Question& q) {
        EXPECT_EQ(q.choices, Choices::YesNo);
        asked.push_back(QString::fromStdString(q.text));
        const bool r = replies.front();
        replies.pop_front();
        return r ? Answer::Yes : Answer::No;
    };
    QStringList openedAt; // the template each pick starts from
    THtmlSetupDlg dlg(nullptr, [&openedAt](const QString& current) {
        openedAt << current;
        return QStringLiteral("/x/t.html");
    });
    EXPECT_EQ(dlg.SaveDirEdt->text(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/HTML"));
    EXPECT_TRUE(dlg.SaveDirEdt->isReadOnly());
    dlg.DirSelectBtnClick(); // "no" first: back to the picker, then "yes"
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], QStringLiteral("指定されたディレクトリが存在しません。作成しますか？"));
    EXPECT_TRUE(QDir(target).exists());
    EXPECT_EQ(dlg.SaveDirEdt->text(), QDir::toNativeSeparators(target));
    dlg.DirSelectBtnClick(); // picker cancelled: the box keeps its text
    EXPECT_EQ(dlg.SaveDirEdt->text(), QDir::toNativeSeparators(target));
    dlg.TemplateBtnClick();
    EXPECT_EQ(dlg.TemptateEdt->text(), QDir::toNativeSeparators(QStringLiteral("/x/t.html")));
    dlg.TemplateBtnClick();
    EXPECT_EQ(openedAt, QStringList({QString(), QStringLiteral("/x/t.html")}));
    dlg.show();
    SaveShot(dlg, "HtmlSetupDlg");
}

// Guards: a folder picker that refuses a typed folder that does not exist yet.
TEST(SetupDialog, PickerReturnsATypedFolderThatDoesNotExist)
{
    test::TempDir dir;
    const QString typed = Q(dir.path() / "new" / "pages");
    QTimer::singleShot(0, [&] {
        QWidget* picker = QApplication::activeModalWidget();
        ASSERT_NE(picker, nullptr);
        QLineEdit* edit = picker->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setText(QDir::toNativeSeparators(typed));
        SaveShot(*picker, "FolderPicker");
        static_cast<QDialog*>(picker)->accept();
    });
    EXPECT_EQ(PickFolderDialog(nullptr, Q(dir.path())), typed);
}

// Guards the controller's destructor serving events (running any handler
// from inside a destructor) to let a worker that waits for the GUI thread
// end: the worker is stopped and waited for without that, the step it
// waited for never runs, and nothing after the current page is written.
TEST_F(HtmlRun, DestroyedMidRunEndsTheWorkerWithoutServingEvents)
{
    struct Case {
        const char* waitingFor;
        bool firstPageExists;
    };
    const Case cases[] = {{"the progress text of page 1", false}, {"the overwrite question of page 1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.waitingFor);
        fs::remove_all(dir.path() / "out");
        fs::create_directories(dir.path() / "out");
        if (c.firstPageExists)
            existing({"11.html"});
        answers = {Answer::YesToAll};
        controller = std::make_unique<HtmlExportController>(&mainWindow, document, settings,
                                                            [](const QString&) { return QString(); });
        controller->HtmlMenuClick();
        ASSERT_TRUE(document.InUseByRun());
        if (!c.firstPageExists) {
            // Page 1 written: the worker now waits for its progress step.
            QDeadlineTimer deadline(20000);
            while (!fs::exists(out("11.html")) && !deadline.hasExpired())
                QThread::msleep(5);
            ASSERT_TRUE(fs::exists(out("11.html")));
        }
        bool servedEvent = false;
        QTimer::singleShot(0, [&] { servedEvent = true; });
        controller.reset();
        EXPECT_FALSE(servedEvent) << "the destructor served events";
        EXPECT_FALSE(document.InUseByRun());
        QCoreApplication::processEvents(); // a step left queued must now do nothing
        EXPECT_TRUE(servedEvent);
        EXPECT_TRUE(questions.empty());
        EXPECT_FALSE(fs::exists(out("12.html")));
        if (c.firstPageExists) {
            EXPECT_EQ(page("11.html"), "old") << "the question was not answered";
        }
        EXPECT_EQ(finishedCount, 0);
    }
}

// Guards the pages folder an installed program proposes: beside the
// program only where a file can be made there, else in the documents folder.
TEST(SetupDialog, PagesFolderIsOneTheUserCanWrite)
{
    QTemporaryDir program, documents;
    QDir(program.path()).mkdir(QStringLiteral("bin"));
    const struct {
        const char* what;
        QString programFolder;
        QString expected;
    } cases[] = {
        {"writable program folder", program.path(), program.path() + QStringLiteral("/HTML")},
        {"program folder not there", program.path() + QStringLiteral("/gone"), documents.path() + QStringLiteral("/HTML")},
        {"read-only system folder", QStringLiteral("/proc"), documents.path() + QStringLiteral("/HTML")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!QFileInfo::exists(c.programFolder) && c.programFolder == QStringLiteral("/proc"))
            continue;
        EXPECT_EQ(DefaultPagesFolder(c.programFolder, documents.path()), QDir::toNativeSeparators(c.expected));
        EXPECT_FALSE(QFileInfo::exists(c.expected)) << "nothing is made before the run";
    }
    EXPECT_EQ(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("bin")});
}
