#include "ReportRun.h"

#include "DocumentSlot.h"
#include "MessageTexts.h"
#include "PrintTool.h"
#include "ProgressWindow.h"
#include "Prompter.h"
#include "QtText.h"
#include "ReportJob.h"
#include "UserSettings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kovra {

ReportEngine LibraryReportEngine()
{
    return {[] { return TPrintTool().Print(); }, [] { TPrintTool().Preview(); }};
}

void RunReport(QWidget* parent, bool print, ReportRange range, const ReportContext& context)
{
    ReportRequest request;
    request.allListings = range == ReportRange::All;
    request.shownListingNumber = context.shownListingNumber ? context.shownListingNumber() : 0;
    if (range == ReportRange::Found) {
        request.chosenListings = context.foundInBrowser ? context.foundInBrowser() : std::nullopt;
        if (!request.chosenListings)
            return; // the browser was closed meanwhile: nothing found, nothing to say
    }
    request.memberPrintOk = context.settings.MemberPrintOk;
    request.profile = services::UserProfileTexts(context.settings);

    const DocumentPtr document = context.document.Document();
    // Many listings take a while: written off the GUI thread, with 中止.
    const auto write = [&](const std::string& dataFile) {
        request.dataFile = dataFile;
        ReportOutcome written;
        RunWithProgress(parent, QStringLiteral("印刷データーを作成しています..."),
                        [&](WorkProgress& progress) { written = WriteReport(*document, request, &progress); });
        return written;
    };
    // The print dialog and the preview return when they are closed: the
    // job, and its data file, end there.
    const ReportJobOutcome run = RunReportJob(kReportDataFile, write, [&](const ReportOutcome& written) {
        if (!written.unmappableCharacters.empty())
            Say(Tone::Warning, msg::CharactersNotPrinted(written.unmappableCharacters), parent);
        TPrintTool().SetShowPrintDialog(!print);
        if (print)
            return context.engine.print && context.engine.print();
        if (context.engine.preview)
            context.engine.preview();
        return true;
    });
    if (!run.written.written && !run.written.message.empty())
        Say(Tone::Error, run.written.message, parent);
}

TReportSupDlg::TReportSupDlg(QWidget* parent, ReportContext context)
    : QDialog(parent), context_(std::move(context))
{
    setObjectName(QStringLiteral("ReportSupDlg"));
    setWindowTitle(QStringLiteral("KovraViewerレポート"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), font().pointSize()));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* group = new QGroupBox(QStringLiteral("印刷する項目の設定"), this);
    group->setObjectName(QStringLiteral("RadioPrnSetup"));
    RadioShown = new QRadioButton(QStringLiteral("表示しているデーターを印刷する"), group);
    RadioAll = new QRadioButton(QStringLiteral("すべての物件データーを印刷する"), group);
    RadioFound = new QRadioButton(q(msg::kPrintFoundListings), group);
    RadioFound->setObjectName(QStringLiteral("RadioFound"));
    RadioFound->setEnabled(false);
    RadioShown->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(RadioShown);
    groupLayout->addWidget(RadioAll);
    groupLayout->addWidget(RadioFound);

    OKBtn = new QPushButton(QStringLiteral("印刷開始"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    PreBtn = new QPushButton(QStringLiteral("印刷プレビュー"), this);
    PreBtn->setObjectName(QStringLiteral("PreBtn"));
    PreBtn->setAutoDefault(false);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, &TReportSupDlg::OKBtnClick);
    connect(PreBtn, &QPushButton::clicked, this, &TReportSupDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject); // Esc too

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(PreBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog border
}

int TReportSupDlg::RadioPrnSetupIndex() const
{
    return RadioAll->isChecked() ? 1 : RadioFound->isChecked() ? 2 : 0;
}

void TReportSupDlg::SetRadioPrnSetupIndex(int index)
{
    (index == 1 ? RadioAll : index == 2 ? RadioFound : RadioShown)->setChecked(true);
}

// The third choice is there only while the listing browser has found
// listings; when it was the last choice and is gone, the listing on show
// is printed, as before the browser existed.
void TReportSupDlg::showEvent(QShowEvent* event)
{
    const std::optional<std::vector<int>> found = context_.foundInBrowser ? context_.foundInBrowser() : std::nullopt;
    const bool offered = found && !found->empty();
    const std::string caption = offered ? msg::PrintFoundListingsCount(static_cast<int>(found->size()))
                                        : std::string(msg::kPrintFoundListings);
    RadioFound->setText(q(caption));
    RadioFound->setEnabled(offered);
    if (!offered && RadioFound->isChecked())
        RadioShown->setChecked(true);
    layout()->activate(); // the fixed border follows the longer caption
    QDialog::showEvent(event);
}

void TReportSupDlg::OKBtnClick()
{
    const bool print = sender() == OKBtn;
    const int choice = RadioPrnSetupIndex();
    const ReportRange range = choice == 1 ? ReportRange::All : choice == 2 ? ReportRange::Found : ReportRange::Shown;
    // The report runs while the dialog is still open behind the printing or
    // preview window; the dialog closes when it has ended.
    RunReport(this, print, range, context_);
    done(print ? QDialog::Accepted : kPreviewResult);
}

} // namespace kovra
