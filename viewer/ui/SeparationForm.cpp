#include "SeparationForm.h"

#include "MainForm.h"

#include "MessageTexts.h"
#include "Prompter.h"
#include "ShippedFiles.h"
#include "TextLines.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

namespace kovra {

namespace {
constexpr char kFieldMime[] = "application/x-kovra-field";
const char* const kCopySuffix = "_Copy";
} // namespace

TSeparationForm::TSeparationForm(TMainForm* mainForm)
    : QWidget(mainForm, Qt::Tool | Qt::WindowStaysOnTopHint)
    , mainForm_(mainForm)
{
    setObjectName(QStringLiteral("SeparationForm"));
    setWindowTitle(QStringLiteral("KovraViewer 子ウインドウ"));
    setAcceptDrops(true);
    resize(182, 56);

    LblReadme = new QLabel(QStringLiteral("ここに表示したい項目をドロップ"), this);
    LblReadme->setObjectName(QStringLiteral("LblReadme"));
    LblReadme->move(5, 10);
    LblReadme->adjustSize();
    if (LblReadme->width() + 10 > width())
        resize(LblReadme->width() + 10, height());
}

QString TSeparationForm::LblTagPath() { return QString::fromStdString(services::ShippedFile("LblTag")); }

QLineEdit* TSeparationForm::sourceOf(const QMimeData* mime) const
{
    if (!mime || !mime->hasFormat(QString::fromLatin1(kFieldMime)))
        return nullptr;
    return mainForm_->TaggedBox(QString::fromUtf8(mime->data(QString::fromLatin1(kFieldMime))));
}

void TSeparationForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (sourceOf(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TSeparationForm::dragMoveEvent(QDragMoveEvent* event)
{
    if (sourceOf(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TSeparationForm::dropEvent(QDropEvent* event)
{
    QLineEdit* source = sourceOf(event->mimeData());
    if (!source) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    DropField(source);
}

void TSeparationForm::hideAll()
{
    for (QLabel* l : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        l->hide();
    for (QLineEdit* e : findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        e->hide();
}

bool TSeparationForm::DropField(QLineEdit* source)
{
    const QString name = source->objectName();
    const QString copyName = name + QLatin1String(kCopySuffix);
    const QString captionName = QStringLiteral("Lbl") + copyName;

    hideAll();
    QLineEdit* copy = findChild<QLineEdit*>(copyName, Qt::FindDirectChildrenOnly);
    QLabel* caption = findChild<QLabel*>(captionName, Qt::FindDirectChildrenOnly);
    if (copy)
        copy->show();
    if (caption) {
        caption->show();
        return true; // the earlier pair of this box
    }

    // The caption file is read anew at every new pair, so an edited file
    // takes effect without a restart.
    const int tag = TMainForm::TagOf(source);
    std::vector<std::string> lines;
    const QString path = LblTagPath();
    const fileio::ReadResult read = text::ReadCp932Lines(path.toStdString(), lines, kCaptionFileSizeLimit);
    if (!read.ok()) {
        Say(Tone::Error, msg::FileReadFailure(path.toStdString(), read, kCaptionFileSizeLimit), this);
        return false;
    }
    if (tag < 0 || static_cast<std::size_t>(tag) >= lines.size()) {
        Say(Tone::Error, msg::CaptionLineMissing(path.toStdString(), tag + 1), this);
        return false;
    }

    caption = new QLabel(QString::fromStdString(lines[static_cast<std::size_t>(tag)]), this);
    caption->setObjectName(captionName);
    caption->setToolTip(QStringLiteral("クリックするとこのデーター表示を削除します"));
    caption->setCursor(Qt::PointingHandCursor);
    caption->move(5, 10);
    caption->adjustSize();
    caption->installEventFilter(this);
    caption->show();

    copy = new QLineEdit(this);
    copy->setObjectName(copyName);
    copy->setReadOnly(true);
    copy->setText(source->text());
    copy->setCursorPosition(0);
    copy->resize(source->width(), copy->sizeHint().height());
    copy->move(caption->width() + 15, caption->y() - 5);
    copy->show();

    // The copy follows the box for the rest of the program, shown or not.
    QLineEdit* target = copy;
    connect(source, &QLineEdit::textChanged, target, [target](const QString& text) {
        target->setText(text);
        target->setCursorPosition(0);
    });

    // Grow to fit the pair; the window never shrinks.
    const int w = caption->width() + copy->width();
    QSize size = this->size();
    if (size.width() < w + 15)
        size.setWidth(w + 30);
    if (size.height() < copy->y() + 50)
        size.setHeight(copy->y() + 50);
    if (size != this->size())
        resize(size);
    return true;
}

void TSeparationForm::CaptionClick(QLabel* caption)
{
    // "Lbl" + box name + "_Copy" names the label; without "Lbl" it names the copy.
    const QString copyName = caption->objectName().mid(3);
    if (QLineEdit* copy = findChild<QLineEdit*>(copyName, Qt::FindDirectChildrenOnly))
        copy->hide();
    caption->hide();
    LblReadme->show();
}

bool TSeparationForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        auto* me = static_cast<QMouseEvent*>(event);
        if (label && label != LblReadme && me->button() == Qt::LeftButton) {
            CaptionClick(label);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSeparationForm::closeEvent(QCloseEvent* event)
{
    // Closing only hides: the pairs live as long as the program.
    hide();
    event->ignore();
}

} // namespace kovra
