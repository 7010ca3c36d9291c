#include "ReportRun.h"

#include "PrintTool.h"
#include "Prompter.h"
#include "ReportLayout.h"
#include "UserSettings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kovra {

namespace {

ReportEngine& Engine()
{
    static ReportEngine engine;
    return engine;
}

} // namespace

ReportEngine SetReportEngine(ReportEngine engine)
{
    ReportEngine previous = Engine();
    Engine() = std::move(engine);
    return previous;
}

void RunReport(QWidget* parent, bool print, bool allListings, const ReportContext& context)
{
    const services::TUserSettings& settings = services::Settings();
    ReportRequest request;
    request.allListings = allListings;
    request.shownListingNumber = context.shownListingNumber ? context.shownListingNumber() : 0;
    request.memberPrintOk = settings.MemberPrintOk;
    request.profile = services::UserProfileTexts(settings);

    const ReportOutcome outcome = WriteReport(Listings(), request);
    if (!outcome.written) {
        if (!outcome.message.empty())
            Say(Tone::Error, outcome.message, parent);
        return;
    }
    TPrintTool tool;
    if (print) {
        tool.SetShowPrintDialog(false);
        if (Engine().print)
            Engine().print();
        else
            tool.Print();
    } else {
        tool.SetShowPrintDialog(true);
        if (Engine().preview)
            Engine().preview();
        else
            tool.Preview();
    }
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
    RadioShown->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(RadioShown);
    groupLayout->addWidget(RadioAll);

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

int TReportSupDlg::RadioPrnSetupIndex() const { return RadioAll->isChecked() ? 1 : 0; }

void TReportSupDlg::SetRadioPrnSetupIndex(int index) { (index == 1 ? RadioAll : RadioShown)->setChecked(true); }

void TReportSupDlg::OKBtnClick()
{
    const bool print = sender() == OKBtn;
    // The report runs while the dialog is still open behind the printing or
    // preview window; the dialog closes when it has ended.
    RunReport(this, print, RadioPrnSetupIndex() == 1, context_);
    done(print ? QDialog::Accepted : kPreviewResult);
}

} // namespace kovra
