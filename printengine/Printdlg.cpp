#include "Printdlg.h"

#include "FileIO.h"
#include "Messages.h"
#include "lumprn.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvex {
namespace {

// The file named last in this process: the next job offers it again.
QString& LastPdfFile()
{
    static QString last;
    return last;
}

} // namespace

QString TStartPrintDlg::PdfDestination()
{
    return QStringLiteral("PDF ファイル");
}

QString PdfPathFromBox(const QString& typed, const QString& baseFolder)
{
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return {};
    QString path = QDir::isAbsolutePath(name) ? name : QDir(baseFolder).filePath(name);
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return QDir::cleanPath(path);
}

TStartPrintDlg::TStartPrintDlg()
    : TStartPrintDlg(QPrinterInfo::availablePrinterNames())
{
}

TStartPrintDlg::TStartPrintDlg(const QStringList& printers, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TStartPrintDlg"));
    setWindowTitle(QStringLiteral("印刷"));
    auto* layout = new QVBoxLayout(this);

    auto* where = new QGroupBox(QStringLiteral("出力先"), this);
    auto* whereForm = new QFormLayout(where);
    DestinationBox = new QComboBox(where);
    DestinationBox->setObjectName(QStringLiteral("DestinationBox"));
    for (const QString& name : printers)
        DestinationBox->addItem(name, name);
    DestinationBox->addItem(PdfDestination(), QString());
    PropertiesButton = new QPushButton(QStringLiteral("プロパティ(&R)..."), where);
    PropertiesButton->setObjectName(QStringLiteral("PropertiesButton"));
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(DestinationBox, 1);
    printerRow->addWidget(PropertiesButton);
    auto* printerLabel = new QLabel(QStringLiteral("プリンター名(&N):"), where);
    printerLabel->setBuddy(DestinationBox);
    whereForm->addRow(printerLabel, printerRow);
    auto* fileRow = new QHBoxLayout;
    FileNameBox = new QLineEdit(where);
    FileNameBox->setObjectName(QStringLiteral("FileNameBox"));
    FileNameBox->setMinimumWidth(340);
    BrowseButton = new QPushButton(QStringLiteral("参照(&B)..."), where);
    BrowseButton->setObjectName(QStringLiteral("BrowseButton"));
    fileRow->addWidget(FileNameBox, 1);
    fileRow->addWidget(BrowseButton);
    // A row that is a layout gets no buddy of its own: the label names the box.
    auto* fileLabel = new QLabel(QStringLiteral("ファイル名(&F):"), where);
    fileLabel->setBuddy(FileNameBox);
    whereForm->addRow(fileLabel, fileRow);
    layout->addWidget(where);

    auto* range = new QGroupBox(QStringLiteral("印刷範囲"), this);
    auto* rangeGrid = new QGridLayout(range);
    AllPagesButton = new QRadioButton(QStringLiteral("すべて(&A)"), range);
    AllPagesButton->setObjectName(QStringLiteral("AllPagesButton"));
    AllPagesButton->setChecked(true);
    RangeButton = new QRadioButton(QStringLiteral("ページ指定(&G):"), range);
    RangeButton->setObjectName(QStringLiteral("RangeButton"));
    FromBox = new QSpinBox(range);
    FromBox->setObjectName(QStringLiteral("FromBox"));
    ToBox = new QSpinBox(range);
    ToBox->setObjectName(QStringLiteral("ToBox"));
    rangeGrid->addWidget(AllPagesButton, 0, 0, 1, 5);
    rangeGrid->addWidget(RangeButton, 1, 0);
    rangeGrid->addWidget(FromBox, 1, 1);
    rangeGrid->addWidget(new QLabel(QStringLiteral("から"), range), 1, 2);
    rangeGrid->addWidget(ToBox, 1, 3);
    rangeGrid->addWidget(new QLabel(QStringLiteral("まで"), range), 1, 4);
    layout->addWidget(range);

    auto* copiesRow = new QHBoxLayout;
    CopiesBox = new QSpinBox(this);
    CopiesBox->setObjectName(QStringLiteral("CopiesBox"));
    CopiesBox->setRange(1, 999);
    auto* copiesLabel = new QLabel(QStringLiteral("部数(&C):"), this);
    copiesLabel->setBuddy(CopiesBox);
    copiesRow->addWidget(copiesLabel);
    copiesRow->addWidget(CopiesBox);
    copiesRow->addStretch(1);
    layout->addLayout(copiesRow);

    auto* buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QStringLiteral("印刷"), QDialogButtonBox::AcceptRole);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TStartPrintDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TStartPrintDlg::reject);

    // A page typed in either box means a range.
    const auto rangeTouched = [this]() { RangeButton->setChecked(true); };
    connect(FromBox, &QSpinBox::valueChanged, this, [this, rangeTouched](int v) {
        if (ToBox->value() < v)
            ToBox->setValue(v);
        if (FromBox->hasFocus())
            rangeTouched();
    });
    connect(ToBox, &QSpinBox::valueChanged, this, [this, rangeTouched](int v) {
        if (FromBox->value() > v)
            FromBox->setValue(v);
        if (ToBox->hasFocus())
            rangeTouched();
    });
    connect(DestinationBox, &QComboBox::currentIndexChanged, this, &TStartPrintDlg::DestinationChanged);
    connect(FileNameBox, &QLineEdit::textChanged, this, &TStartPrintDlg::DestinationChanged);
    connect(BrowseButton, &QPushButton::clicked, this, &TStartPrintDlg::BrowseButtonClick);
    connect(PropertiesButton, &QPushButton::clicked, this, &TStartPrintDlg::PropertiesButtonClick);

    // First choice: the process's printer as it stands (the default
    // printer unless another was chosen; a PDF file where none is installed).
    QPrinter& printer = ThePrinter();
    int index = DestinationBox->count() - 1;
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        const int i = DestinationBox->findData(printer.printerName());
        if (i >= 0)
            index = i;
    }
    DestinationBox->setCurrentIndex(index);
    FileNameBox->setText(printer.outputFileName().isEmpty() ? LastPdfFile() : printer.outputFileName());
    CopiesBox->setValue(std::max(1, printer.copyCount()));
    SetPages(1);
    DestinationChanged();
}

TStartPrintDlg::~TStartPrintDlg() = default;

void TStartPrintDlg::SetPages(int highest)
{
    minPage_ = 1;
    maxPage_ = std::max(1, highest);
    for (QSpinBox* box : {FromBox, ToBox})
        box->setRange(minPage_, maxPage_);
    FromBox->setValue(minPage_);
    ToBox->setValue(maxPage_);
    AllPagesButton->setChecked(true);
}

bool TStartPrintDlg::PdfChosen() const
{
    return DestinationBox->currentData().toString().isEmpty();
}

void TStartPrintDlg::DestinationChanged()
{
    const bool pdf = PdfChosen();
    FileNameBox->setEnabled(pdf);
    BrowseButton->setEnabled(pdf);
    PropertiesButton->setEnabled(!pdf);
    // The PDF writer makes one copy whatever is asked: no choice is offered.
    CopiesBox->setEnabled(!pdf);
    // A PDF without a name would print nothing.
    OKBtn->setEnabled(!pdf || !FileNameBox->text().trimmed().isEmpty());
}

void TStartPrintDlg::BrowseButtonClick()
{
    kovra::FileQuestion q;
    q.kind = kovra::FileQuestion::Kind::Save;
    q.preset = PdfPathFromBox(FileNameBox->text(), QDir::homePath()).toStdString();
    q.filter = "PDF ファイル (*.pdf)";
    q.owner = this;
    const std::optional<std::string> chosen = kovra::CurrentPrompter().AskFile(q);
    if (!chosen)
        return;
    browsedFile_ = PdfPathFromBox(QString::fromStdString(*chosen), QDir::homePath());
    FileNameBox->setText(browsedFile_);
}

void TStartPrintDlg::PropertiesButtonClick()
{
    const QString name = DestinationBox->currentData().toString();
    if (name.isEmpty())
        return;
    // The platform's own print dialog for this printer: what the printer
    // offers (duplex, colour) and, behind its own プロパティ, the driver's
    // options (trays, finishing); on Windows the driver's dialog.  What is
    // chosen there stays with the printer; its 印刷 prints the job with the
    // pages chosen in this dialog, its キャンセル comes back here.  Paper and
    // orientation stay the job's.
    QPrinter& printer = UsePrinter(name);
    const QPageLayout layout = printer.pageLayout();
    printer.setCopyCount(CopiesBox->value());
    QPrintDialog dlg(&printer, this);
    // Its プロパティ (the driver's options) shows only with the page setup,
    // whose paper and orientation are put back afterwards.
    dlg.setOptions(QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    const bool taken = dlg.exec() == QDialog::Accepted;
    QPrinter& after = ThePrinter();
    after.setPageSize(layout.pageSize());
    after.setPageOrientation(layout.orientation());
    if (!taken)
        return;
    const int i = DestinationBox->findData(after.printerName());
    if (after.outputFormat() != QPrinter::NativeFormat || i < 0)
        return; // a destination this dialog does not offer: chosen here again
    DestinationBox->setCurrentIndex(i);
    CopiesBox->setValue(std::max(1, after.copyCount()));
    accept();
}

void TStartPrintDlg::accept()
{
    QPrinter& printer = ThePrinter();
    pdfFile_.clear();
    if (PdfChosen()) {
        const QString path = PdfPathFromBox(FileNameBox->text(), QDir::homePath());
        if (path.isEmpty())
            return;
        const QFileInfo info(path);
        if (!info.dir().exists()) {
            Say(Tone::Error, msg::SaveFolderMissing(QDir::toNativeSeparators(info.path()).toStdString()), this);
            return;
        }
        if (info.isDir()) {
            Say(Tone::Error, msg::FileCannotCreate(QDir::toNativeSeparators(path).toStdString()), this);
            return;
        }
        // Written over, the file would be lost and the job would read the PDF.
        if (kovra::fileio::JobInputs(jobFiles_).inputAt(path.toStdString())) {
            Say(Tone::Error, msg::OutputIsInput(QDir::toNativeSeparators(path).toStdString()), this);
            return;
        }
        if (info.exists() && path != browsedFile_) {
            const kovra::Question q{Tone::Warning, msg::AskOverwrite(QDir::toNativeSeparators(path).toStdString()),
                                    kovra::Choices::YesNo, std::string(msg::kOverwriteTitle), this};
            if (kovra::CurrentPrompter().Ask(q) != kovra::Answer::Yes)
                return;
        }
        if (printer.outputFormat() != QPrinter::PdfFormat) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setFullPage(true);
        }
        printer.setOutputFileName(path);
        pdfFile_ = path;
        LastPdfFile() = path;
    } else {
        // The printer as it stands when it is the one chosen (with what its
        // プロパティ set), else that printer with its own settings.
        UsePrinter(DestinationBox->currentData().toString()).setCopyCount(CopiesBox->value());
    }
    QDialog::accept();
}

void TStartPrintDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The name proposed is replaced by whatever the user types.
    FileNameBox->selectAll();
    if (PdfChosen())
        FileNameBox->setFocus();
}

bool TStartPrintDlg::Execute()
{
    return exec() == QDialog::Accepted;
}

bool TStartPrintDlg::RangeGiven() const
{
    return RangeButton->isChecked();
}

int TStartPrintDlg::FromPage() const
{
    return std::max(1, FromBox->value());
}

int TStartPrintDlg::ToPage() const
{
    return std::max(FromPage(), ToBox->value());
}

} // namespace dorvex
