#include "HtmlSetupDlg.h"

#include "DialogFilters.h"
#include "FileDialogLook.h"
#include "MessageTexts.h"
#include "Prompter.h"
#include "ShippedFiles.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTreeView>
#include <QVBoxLayout>

#include <memory>

namespace kovra {

namespace {

QGroupBox* boxWith(const QString& title, QLineEdit* edit, QPushButton* button)
{
    auto* group = new QGroupBox(title);
    auto* row = new QHBoxLayout(group);
    edit->setReadOnly(true);
    edit->setMinimumWidth(360);
    row->addWidget(edit, 1);
    row->addWidget(button);
    return group;
}

} // namespace

THtmlSetupDlg::THtmlSetupDlg(QWidget* parent, std::function<QString(const QString& current)> pickTemplate)
    : QDialog(parent), pickTemplate_(std::move(pickTemplate))
{
    setWindowTitle(QStringLiteral("パラメーターの設定"));
    SaveDirEdt = new QLineEdit(this);
    TemptateEdt = new QLineEdit(this);
    DirSelectBtn = new QPushButton(QStringLiteral("参照"), this);
    TemplateBtn = new QPushButton(QStringLiteral("参照"), this);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    OKBtn->setDefault(true);
    DirSelectBtn->setAutoDefault(false);
    TemplateBtn->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boxWith(QStringLiteral("保存するフォルダー"), SaveDirEdt, DirSelectBtn));
    layout->addWidget(boxWith(QStringLiteral("テンプレートファイル(HTMLファイルを選択してください)"), TemptateEdt,
                              TemplateBtn));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects as well
    connect(DirSelectBtn, &QPushButton::clicked, this, &THtmlSetupDlg::DirSelectBtnClick);
    connect(TemplateBtn, &QPushButton::clicked, this, &THtmlSetupDlg::TemplateBtnClick);
    FormCreate();
}

void THtmlSetupDlg::FormCreate()
{
    // Set once; the user's choice then holds until the program ends.
    SaveDirEdt->setText(DefaultPagesFolder(QString::fromStdString(services::ProgramFolder()),
                                           QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
}

namespace {

// Whether a file can be made in `folder`: the permission bits do not tell
// (an administrator, a read-only disk), a file made and removed at once does.
bool CanWriteIn(const QString& folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.kovra-XXXXXX"));
    return probe.open();
}

} // namespace

QString DefaultPagesFolder(const QString& programFolder, const QString& documentsFolder)
{
    const QString inProgram = programFolder + QStringLiteral("/HTML");
    if (CanWriteIn(QFileInfo(inProgram).isDir() ? inProgram : programFolder))
        return QDir::toNativeSeparators(inProgram);
    const QString documents = documentsFolder.isEmpty() ? QDir::homePath() : documentsFolder;
    return QDir::toNativeSeparators(documents + QStringLiteral("/HTML"));
}

QString THtmlSetupDlg::saveDir() const { return SaveDirEdt->text(); }
QString THtmlSetupDlg::templatePath() const { return TemptateEdt->text(); }

void THtmlSetupDlg::DirSelectBtnClick()
{
    Prompter& prompter = CurrentPrompter();
    QString start = SaveDirEdt->text();
    for (;;) {
        const std::optional<std::string> picked =
            prompter.AskFile({FileQuestion::Kind::Folder, start.toStdString(), {}, this});
        const QString chosen = QString::fromStdString(picked.value_or(std::string()));
        if (chosen.isEmpty())
            return; // cancelled: the box keeps its text
        if (QDir(chosen).exists()) {
            SaveDirEdt->setText(QDir::toNativeSeparators(QDir::cleanPath(chosen)));
            return;
        }
        if (prompter.Ask({Tone::Question, std::string(msg::kAskCreateFolder), Choices::YesNo, {}, this}) == Answer::Yes) {
            if (QDir().mkpath(chosen)) {
                SaveDirEdt->setText(QDir::toNativeSeparators(QDir::cleanPath(chosen)));
                return;
            }
            Say(Tone::Error, msg::FolderCannotCreate(QDir::toNativeSeparators(chosen).toStdString()), this);
        }
        start = chosen; // back to the picker
    }
}

void THtmlSetupDlg::TemplateBtnClick()
{
    QString path;
    const QString current = QDir::fromNativeSeparators(TemptateEdt->text());
    if (pickTemplate_) {
        path = pickTemplate_(current);
    } else {
        // No main window handed over its dialog: the same filters, HTML selected.
        QFileDialog dlg(this, QString(), current);
        MakeFileDialogJapanese(dlg);
        dlg.setNameFilters(services::OpenDialogFilters());
        dlg.selectNameFilter(services::OpenDialogFilters().at(static_cast<int>(services::OpenFilter::Html)));
        dlg.setFileMode(QFileDialog::ExistingFile);
        if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
            path = dlg.selectedFiles().first();
    }
    if (!path.isEmpty())
        TemptateEdt->setText(QDir::toNativeSeparators(path));
}

QString PickFolderDialog(QWidget* parent, const QString& start)
{
    QDialog dlg(parent);
    dlg.setWindowTitle(QStringLiteral("フォルダーの参照"));
    auto* model = new QFileSystemModel(&dlg);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model->setRootPath(QString());
    auto* tree = new QTreeView(&dlg);
    tree->setModel(model);
    for (int c = 1; c < model->columnCount(); ++c)
        tree->hideColumn(c);
    tree->header()->hide();
    tree->setSortingEnabled(true); // folders by name, as a person looks for them
    tree->sortByColumn(0, Qt::AscendingOrder);
    auto* path = new QLineEdit(QDir::toNativeSeparators(start), &dlg);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));

    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(tree, 1);
    layout->addWidget(new QLabel(QStringLiteral("フォルダー(存在しないフォルダーも入力できます):"), &dlg));
    layout->addWidget(path);
    layout->addWidget(buttons);
    dlg.resize(460, 420);

    // Start at the deepest existing folder of `start`.
    QDir existing(start);
    while (!existing.exists() && existing.cdUp()) {
    }
    // The model reads each folder in the background and inserts and sorts
    // its entries later, and every entry that comes in above the start moves
    // it down: keep it in view until the user scrolls or picks elsewhere.
    const QString target = existing.absolutePath();
    auto following = std::make_shared<bool>(true);
    const auto showStart = [model, tree, target, following] {
        if (!*following)
            return;
        const QModelIndex at = model->index(target);
        tree->setCurrentIndex(at);
        tree->scrollTo(at, QAbstractItemView::PositionAtCenter);
    };
    showStart();
    QObject::connect(model, &QFileSystemModel::rowsInserted, tree, showStart);
    QObject::connect(model, &QFileSystemModel::layoutChanged, tree, showStart);
    QObject::connect(model, &QFileSystemModel::directoryLoaded, tree, [model, showStart] {
        model->sort(0); // a folder read in the background comes in unsorted
        showStart();
    });
    const auto stopFollowing = [following] { *following = false; };
    QObject::connect(tree->verticalScrollBar(), &QAbstractSlider::actionTriggered, tree, stopFollowing);
    QObject::connect(tree, &QTreeView::pressed, tree, stopFollowing);
    QObject::connect(path, &QLineEdit::textEdited, tree, stopFollowing);
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, tree,
                     [model, target, following](const QModelIndex& now) {
                         if (now != model->index(target))
                             *following = false; // moved with the keys
                     });
    QObject::connect(tree, &QTreeView::clicked, &dlg,
                     [=](const QModelIndex& i) { path->setText(QDir::toNativeSeparators(model->filePath(i))); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return QDir::fromNativeSeparators(path->text().trimmed());
}

} // namespace kovra
