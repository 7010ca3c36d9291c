#include "EditFile.h"

#include "Cp932Codec.h"
#include "Guarded.h"
#include "Imageout.h"
#include "LibraryStart.h"
#include "Messages.h"
#include "TextLines.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSaveFile>

#include <optional>

namespace dorvex {
namespace {

// The open and save dialogs, through the prompter; nothing when cancelled.
std::optional<QString> AskFile(QWidget* parent, bool save, const QString& preset)
{
    using Kind = kovra::FileQuestion::Kind;
    const std::optional<std::string> name =
        kovra::CurrentPrompter().AskFile({save ? Kind::Save : Kind::Open, preset.toStdString(), kFormatFileFilter, parent});
    if (!name)
        return std::nullopt;
    return QString::fromStdString(*name);
}

} // namespace

TFomEditor::TFomEditor(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TFomEditor"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QStringLiteral("ﾌｧｲﾙの編集"));
    setCursor(Qt::IBeamCursor);
    setFont(QFont(SubstituteFace(QStringLiteral("ＭＳ Ｐゴシック")), 10));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setCentralWidget(Memo1);

    // The commands run from Qt's event loop, which no exception may cross.
    FileMenu = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    Open1 = FileMenu->addAction(QStringLiteral("開く(&O)"), this, [this]() { RunGuarded([this] { Open1Click(); }); });
    New1 = FileMenu->addAction(QStringLiteral("新規作成(&N)"), this, [this]() { RunGuarded([this] { New1Click(); }); });
    Save1 = FileMenu->addAction(QStringLiteral("上書き保存(&S)"), this, [this]() { RunGuarded([this] { Save1Click(); }); });
    SaveAs1 = FileMenu->addAction(QStringLiteral("名前をつけて保存(&A)..."), this,
                                  [this]() { RunGuarded([this] { SaveAs1Click(); }); });
    FileMenu->addSeparator();
    Exit1 = FileMenu->addAction(QStringLiteral("終了(&X)"), this, [this]() { RunGuarded([this] { Exit1Click(); }); });
    EditMenu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    connect(EditMenu, &QMenu::aboutToShow, this, &TFomEditor::EditClick);
    Cut1 = EditMenu->addAction(QStringLiteral("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X), Memo1, &QPlainTextEdit::cut);
    Copy1 = EditMenu->addAction(QStringLiteral("ｺﾋﾟｰ(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C), Memo1, &QPlainTextEdit::copy);
    Paste1 = EditMenu->addAction(QStringLiteral("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V), Memo1, &QPlainTextEdit::paste);
    Delete1 = EditMenu->addAction(QStringLiteral("削除(&D)"), this, [this]() { Memo1->textCursor().removeSelectedText(); });
    SelectAll1 = EditMenu->addAction(QStringLiteral("すべて選択(&L)"), Memo1, &QPlainTextEdit::selectAll);
    resize(640, 480);
    show();
}

void TFomEditor::SetCaptionFromName()
{
    setWindowTitle(QFileInfo(EditFileName).fileName());
}

bool TFomEditor::LoadEditFile(const QString& name)
{
    EditFileName = name;
    bool ok = true;
    if (name != QString::fromUtf8(kUntitledName)) {
        std::string bytes;
        const kovra::fileio::ReadResult read = kovra::fileio::ReadWholeFile(name.toStdString(), bytes, kEditFileSizeLimit);
        if (read.ok()) {
            const std::vector<std::string_view> lines = kovra::text::SplitLines(bytes);
            std::string text;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (i)
                    text += '\n';
                cp932::appendUtf8(text, lines[i]);
            }
            Memo1->setPlainText(QString::fromStdString(text));
        } else {
            Say(Tone::Error, msg::FileReadFailure(name.toStdString(), read, kEditFileSizeLimit, true));
            ok = false;
        }
    }
    QTextCursor c = Memo1->textCursor();
    c.movePosition(QTextCursor::Start);
    Memo1->setTextCursor(c);
    SetCaptionFromName();
    Memo1->document()->setModified(false);
    return ok;
}

bool TFomEditor::FormCloseQuery()
{
    if (!Memo1->document()->isModified())
        return true;
    const kovra::Question question{Tone::Question, msg::AskSaveChanges(EditFileName.toStdString()),
                                   kovra::Choices::YesNoCancel, {}, nullptr};
    switch (kovra::CurrentPrompter().Ask(question)) {
    case kovra::Answer::Yes:
        // No name chosen for an untitled text lets the command go on unsaved;
        // a failed save keeps the window and its text.
        return SaveText() != SaveOutcome::Failed;
    case kovra::Answer::No:
        return true;
    default:
        return false;
    }
}

void TFomEditor::Open1Click()
{
    if (!FormCloseQuery())
        return;
    if (std::optional<QString> name = AskFile(this, false, QString())) {
        Memo1->clear();
        LoadEditFile(*name);
    }
}

void TFomEditor::New1Click()
{
    if (!FormCloseQuery())
        return;
    Memo1->clear();
    LoadEditFile(QString::fromUtf8(kUntitledName));
}

bool TFomEditor::Save1Click()
{
    return SaveText() == SaveOutcome::Saved;
}

bool TFomEditor::SaveAs1Click()
{
    return SaveTextAs() == SaveOutcome::Saved;
}

TFomEditor::SaveOutcome TFomEditor::SaveText()
{
    if (EditFileName == QString::fromUtf8(kUntitledName) || EditFileName.isEmpty())
        return SaveTextAs();
    QString text = Memo1->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    text += QStringLiteral("\r\n");
    std::size_t unmappable = 0;
    const std::string bytes = cp932::fromUtf8(text.toStdString(), &unmappable);
    // Written whole or not at all: QSaveFile writes a temporary file beside
    // the target and renames it over the target only when complete.  It
    // gives the new file the old one's permission bits and, for a symbolic
    // link, replaces the file the link points to, so the link stays a link.
    QSaveFile f(EditFileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())
        || !f.commit()) {
        Say(Tone::Error, msg::FileCannotCreate(EditFileName.toStdString()));
        return SaveOutcome::Failed; // the text stays, and stays marked modified
    }
    Memo1->document()->setModified(false);
    if (unmappable)
        Say(Tone::Warning, msg::UnmappableSaved(unmappable));
    return SaveOutcome::Saved;
}

TFomEditor::SaveOutcome TFomEditor::SaveTextAs()
{
    for (;;) {
        std::optional<QString> name = AskFile(this, true, EditFileName);
        if (!name)
            return SaveOutcome::NoNameChosen;
        if (QFileInfo(*name).fileName() == QString::fromUtf8(kUntitledName))
            continue; // the untitled name cannot be a file name: ask again
        EditFileName = *name;
        SetCaptionFromName();
        return SaveText();
    }
}

void TFomEditor::Exit1Click()
{
    if (Memo1->document()->isModified() && !FormCloseQuery())
        return;
    Memo1->document()->setModified(false);
    hide();
    deleteLater();
}

void TFomEditor::EditClick()
{
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    Paste1->setEnabled(clip && clip->hasText());
    const bool selected = Memo1->textCursor().hasSelection();
    Copy1->setEnabled(selected);
    Delete1->setEnabled(selected);
    Cut1->setEnabled(selected);
}

void TFomEditor::closeEvent(QCloseEvent* event)
{
    bool allowed = false;
    RunGuarded([&] { allowed = FormCloseQuery(); }); // a failure keeps the window
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept(); // hidden, not freed
}

void StartEditFileUtf8(const std::string& path, const std::string& untitledName)
{
    EnsureLibraryStarted();
    auto* editor = new TFomEditor; // lives on its own; "終了(&X)" frees it
    QString name;
    if (path.empty()) {
        name = QString::fromStdString(untitledName);
    } else if (QFileInfo(QString::fromStdString(path)).isFile()) {
        name = QString::fromStdString(path);
    } else {
        Say(Tone::Error, msg::NotFound(path));
        return;
    }
    editor->LoadEditFile(name);
    editor->show();
}

} // namespace dorvex
