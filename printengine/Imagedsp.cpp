#include "Imagedsp.h"

#include "Guarded.h"
#include "LibraryStart.h"
#include "Messages.h"
#include "PageWalk.h"
#include "Printout.h"
#include "RenderJob.h"
#include "lumprn.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// The icons are compiled into the static library that holds this window;
// the linker keeps them only when something calls their initialiser.
static void InitPreviewIcons()
{
    Q_INIT_RESOURCE(PreviewIcons);
}

namespace dorvex {
namespace {

QPixmap ShippedIcon(const char* name)
{
    return QPixmap(QStringLiteral(":/dorvex/icons/%1.png").arg(QLatin1String(name)));
}

// One icon of the set with a smaller one of the set over it, at `where`.
QIcon Combined(const char* base, const char* over, QRect where)
{
    QPixmap picture = ShippedIcon(base);
    QPainter p(&picture);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(where, ShippedIcon(over));
    p.end();
    return QIcon(picture);
}

class PaintBox : public QWidget {
public:
    PaintBox(TImageDispForm* form, QWidget* parent)
        : QWidget(parent), form_(form)
    {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        form_->ImagePaintBoxPaint(p);
    }

private:
    TImageDispForm* form_;
};

// Collects the engine's messages while it lives; questions and the rest go
// on to the prompter it stands in for.
class MessageCollector final : public kovra::Prompter {
public:
    MessageCollector() : previous_(kovra::SetPrompter(this)) {}
    ~MessageCollector() override { kovra::SetPrompter(previous_); }
    std::vector<std::pair<Tone, std::string>> said;

    kovra::Answer Ask(const kovra::Question& q) override
    {
        if (q.choices != kovra::Choices::Ok)
            return Next().Ask(q);
        said.emplace_back(q.tone, q.text);
        return kovra::Answer::Ok;
    }
    std::optional<std::string> AskText(const kovra::TextQuestion& q) override { return Next().AskText(q); }
    std::optional<std::string> AskFile(const kovra::FileQuestion& q) override { return Next().AskFile(q); }
    void OpenWithShell(const std::string& url) override { Next().OpenWithShell(url); }

private:
    kovra::Prompter& Next() { return previous_ ? *previous_ : kovra::DefaultPrompter(); }
    kovra::Prompter* previous_;
};

// A message said after the paint or layout that found it (never from inside
// one), from a timer of the event loop, which nothing may be thrown through.
void SayLater(QObject* context, Tone kind, const std::string& text)
{
    QTimer::singleShot(0, context, [kind, text]() { RunGuarded([&] { Say(kind, text); }); });
}

} // namespace

TImageDispForm::TImageDispForm(TEngineJob job, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , job_(std::move(job))
{
    InitPreviewIcons();
    setObjectName(QStringLiteral("TImageDispForm"));
    setWindowTitle(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    File_Menu = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    File_Menu->setObjectName(QStringLiteral("File_Menu"));
    File_Menu->addAction(QStringLiteral("ﾌﾟﾘﾝﾀｰ設定(&S)"), this, &TImageDispForm::PrintSetupButtonClick);
    File_Menu->addAction(QStringLiteral("印刷(&P)"), this, &TImageDispForm::PrintButtonClick);
    File_Menu->addSeparator();
    File_Menu->addAction(QStringLiteral("終了(&X)"), this, &TImageDispForm::CloseButtonClick);
    View_Menu = menuBar->addMenu(QStringLiteral("表示(&V)"));
    View_Menu->setObjectName(QStringLiteral("View_Menu"));
    const std::pair<const char*, int> zooms[] = {{"200%(&1)", 20}, {"150%(&2)", 15}, {"100%(&3)", 10},
                                                 {" 80%(&4)", 8},  {" 50%(&5)", 5},  {" 30%(&6)", 3}};
    for (const auto& zoom : zooms) {
        const int tag = zoom.second;
        QAction* a = View_Menu->addAction(QString::fromUtf8(zoom.first));
        a->setCheckable(true);
        a->setData(tag);
        a->setChecked(tag == 10);
        connect(a, &QAction::triggered, this, [this, tag]() { MenuZoomClick(tag); });
        ZoomMenuItems.append(a);
    }
    Option_Menu = menuBar->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    Option_Menu->setObjectName(QStringLiteral("Option_Menu"));
    SpeedBarMenuItem = Option_Menu->addAction(QStringLiteral("ｽﾋﾟｰﾄﾞﾊﾞｰ(&S)"), this, &TImageDispForm::SpeedBar_MenuClick);
    SpeedBarMenuItem->setCheckable(true);
    SpeedBarMenuItem->setChecked(true);
    FullScreenMenuItem = Option_Menu->addAction(QStringLiteral("ﾌﾙｽｸﾘｰﾝ(&F)"), this, &TImageDispForm::FullScreen_MenuClick);
    Jump_Menu = menuBar->addMenu(QStringLiteral("ｼﾞｬﾝﾌﾟ(&J)"));
    Jump_Menu->setObjectName(QStringLiteral("Jump_Menu"));
    Jump_Menu->addAction(QStringLiteral("先頭ﾍﾟｰｼﾞ(&T)"), this, &TImageDispForm::Top_PageClick)
        ->setIcon(ShippedIcon("go-first"));
    Jump_Menu->addAction(QStringLiteral("最終ﾍﾟｰｼﾞ(&B)"), this, &TImageDispForm::Bottom_PageClick)
        ->setIcon(ShippedIcon("go-last"));
    Jump_Menu->addAction(QStringLiteral("指定ﾍﾟｰｼﾞ(&P)"), this, &TImageDispForm::Selected_PageClick);

    SpeedBar = new QToolBar(this);
    SpeedBar->setObjectName(QStringLiteral("SpeedBar"));
    SpeedBar->setFixedHeight(30);
    SpeedBar->setIconSize(QSize(22, 22));
    auto tool = [&](const QIcon& icon, const char* hint, auto handler) {
        QAction* a = SpeedBar->addAction(icon, QString::fromUtf8(hint));
        a->setToolTip(QString::fromUtf8(hint));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto box = [&](const char* hint, const char* name, int width) {
        auto* e = new QLineEdit(SpeedBar);
        e->setReadOnly(true);
        e->setToolTip(QString::fromUtf8(hint));
        e->setObjectName(QString::fromUtf8(name));
        e->setFixedWidth(width);
        e->setAlignment(Qt::AlignCenter);
        e->setFocusPolicy(Qt::NoFocus);
        SpeedBar->addWidget(e);
        return e;
    };
    // The lens of the magnifier spans (1, 1)-(15, 15); the plus or minus sits in it.
    const QRect lens(3, 3, 11, 11), corner(10, 10, 12, 12);
    CloseButton = tool(ShippedIcon("system-log-out"), "終了", &TImageDispForm::CloseButtonClick);
    PrintSetupButton = tool(Combined("printer", "preferences-system", corner), "ﾌﾟﾘﾝﾀ設定",
                            &TImageDispForm::PrintSetupButtonClick);
    PrintButton = tool(ShippedIcon("document-print"), "印刷", &TImageDispForm::PrintButtonClick);
    DispZoom = box("ｽﾞｰﾑ", "DispZoom", 56);
    DispZoom->setText(QStringLiteral("100%"));
    ZoomInButton = tool(Combined("system-search", "list-add", lens), "ｽﾞｰﾑｲﾝ", &TImageDispForm::ZoomInButtonClick);
    ZoomOutButton = tool(Combined("system-search", "list-remove", lens), "ｽﾞｰﾑｱｳﾄ", &TImageDispForm::ZoomOutButtonClick);
    PrevPage = tool(ShippedIcon("go-previous"), "前ﾍﾟｰｼﾞ", &TImageDispForm::DispPrev);
    NextPage = tool(ShippedIcon("go-next"), "次ﾍﾟｰｼﾞ", &TImageDispForm::DispNext);
    WherePage = box("現在のﾍﾟｰｼﾞ", "WherePage", 72);
    // Wide enough for six digits on either side: "100000/100000" whole.
    {
        QStyleOptionFrame frame;
        frame.initFrom(WherePage);
        frame.lineWidth = WherePage->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, WherePage);
        const QSize text(WherePage->fontMetrics().horizontalAdvance(QStringLiteral("000000/000000")),
                         WherePage->fontMetrics().height());
        // The line edit's own inner margin (2 px each side) is not in the style's size.
        WherePage->setFixedWidth(
            WherePage->style()->sizeFromContents(QStyle::CT_LineEdit, &frame, text + QSize(4, 0), WherePage).width());
    }
    layout->addWidget(SpeedBar);

    ImagePaintScrollBox = new QScrollArea(this);
    ImagePaintScrollBox->setObjectName(QStringLiteral("ImagePaintScrollBox"));
    ImagePaintScrollBox->setWidgetResizable(false);
    ScrollContent = new QWidget;
    PaperPanel = new QFrame(ScrollContent);
    PaperPanel->setObjectName(QStringLiteral("PaperPanel"));
    PaperPanel->setFrameShape(QFrame::Box);
    PaperPanel->setLineWidth(2);
    PaperPanel->setAutoFillBackground(true);
    QPalette white = PaperPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    PaperPanel->setPalette(white);
    PaperPanel->move(15, 15);
    ImagePaintBox = new PaintBox(this, PaperPanel);
    ImagePaintBox->setObjectName(QStringLiteral("ImagePaintBox"));
    ImagePaintBox->setToolTip(QStringLiteral("印刷可能範囲"));
    ImagePaintScrollBox->setWidget(ScrollContent);
    // The wheel is the window's: the scroll area would move by its own step.
    ImagePaintScrollBox->viewport()->installEventFilter(this);
    ImagePaintScrollBox->verticalScrollBar()->installEventFilter(this);
    layout->addWidget(ImagePaintScrollBox, 1);

    KeyIn = new QLineEdit(this);
    KeyIn->setObjectName(QStringLiteral("KeyIn"));
    KeyIn->setGeometry(0, 0, 1, 1);
    KeyIn->lower();
    KeyIn->installEventFilter(this);
    // At the top left, before the one menu left in full screen.
    ESCButton = new QPushButton(QStringLiteral("ESC:戻る"), menuBar);
    ESCButton->setObjectName(QStringLiteral("ESCButton"));
    ESCButton->setToolTip(QStringLiteral("ﾉｰﾏﾙ表示に戻る"));
    ESCButton->setFocusPolicy(Qt::NoFocus);
    menuBar->setCornerWidget(ESCButton, Qt::TopLeftCorner);
    ESCButton->hide();
    connect(ESCButton, &QPushButton::clicked, this, &TImageDispForm::ESCButtonClick);
    keptScrollTimer_ = new QTimer(this);
    keptScrollTimer_->setSingleShot(true);
    connect(keptScrollTimer_, &QTimer::timeout, this, [this]() { keptScroll_.reset(); });
    resize(820, 700);
}

void TImageDispForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The view is set up on the first activation only: coming back from a
    // message box or the print dialog keeps zoom and page.
    if (!created_) {
        created_ = true;
        FormCreate();
    }
}

void TImageDispForm::FormCreate()
{
    preview_.ZoomTenths = 10;
    {
        MessageCollector said;
        // Read once: turning pages, scrolling and repainting use them as
        // they are in memory.
        job_.openFilesToShow();
        CountPreviewPages(job_);
        for (auto& [kind, text] : said.said)
            if (shownMessages_.insert(text).second)
                SayLater(this, kind, text);
    }
    FormResize();
    PrevPage->setEnabled(false);
    NextPage->setEnabled(job_.PageTotal >= 2);
    ShowWherePage();
    KeyIn->setFocus();
}

void TImageDispForm::ShowWherePage()
{
    WherePage->setText(QStringLiteral("%1/%2").arg(job_.CurrentPage).arg(job_.PageTotal));
}

int TImageDispForm::SheetLeft() const
{
    return PaperPanel->x();
}

void TImageDispForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (created_)
        FormResize();
}

void TImageDispForm::FormResize()
{
    QScrollBar* across = ImagePaintScrollBox->horizontalScrollBar();
    QScrollBar* down = ImagePaintScrollBox->verticalScrollBar();
    across->setValue(0);
    down->setValue(0);
    TEngineJob& e = job_;
    {
        MessageCollector said;
        ReadFormatSetup(e, true); // from the format file the window keeps
        for (auto& [kind, text] : said.said)
            if (shownMessages_.insert(text).second)
                SayLater(this, kind, text);
    }
    const int code = ThePrinterSettings().GetPrinterPaper();
    int w = 0, h = 0;
    PaperSizeFromCode(e, code, w, h);
    if (code == 256 && e.PaperState == 1)
        ThePrinterSettings().SetPrinterUserSize(int16_t(std::min(e.CustomPaperHeight, 32767)),
                                                int16_t(std::min(e.CustomPaperWidth, 32767)));
    else
        ThePrinterSettings().ClearPrinterUserSize();
    const int horz = PrinterHorzSizeMm(), vert = PrinterVertSizeMm();
    const JobGeometry g = ComputeJobGeometry(e, code, PrinterLandscape(), horz, vert);
    const int zoom = preview_.ZoomTenths;
    const double ppi = ImagePaintBox->logicalDpiX();
    int sheetW = PreviewPixels(g.paperWidthMm, zoom, ppi), sheetH = PreviewPixels(g.paperHeightMm, zoom, ppi);
    if (e.PaperState == 2) {
        sheetW += 2;
        sheetH += 2;
    }
    int left = int(RoundHalfEven((width() - 15 - sheetW) / 2.0));
    if (left <= 15)
        left = 15;
    PaperPanel->setGeometry(left, PaperPanel->y(), sheetW, sheetH);
    // The printable area stays inside the sheet's border: where the whole
    // paper is printable (a PDF file, no printer installed) it would cover
    // the border, and the dotted frame would fall outside the sheet.
    const int border = PaperPanel->lineWidth();
    const int areaW = std::min(PreviewPixels(horz, zoom, ppi) + 2, sheetW - 2 * border);
    const int areaH = std::min(PreviewPixels(vert, zoom, ppi) + 2, sheetH - 2 * border);
    ImagePaintBox->setGeometry(int(RoundHalfEven((sheetW - areaW) / 2.0)), int(RoundHalfEven((sheetH - areaH) / 2.0)),
                               areaW, areaH);
    // Spacers keep a margin right (17) and below (22) the sheet.
    ScrollContent->resize(left + sheetW + 17, PaperPanel->y() + sheetH + 22);
    if (keptScroll_) {
        across->setValue(keptScroll_->x());
        down->setValue(keptScroll_->y());
    }
}

void TImageDispForm::KeepScrollPosition()
{
    keptScroll_ = QPoint(ImagePaintScrollBox->horizontalScrollBar()->value(),
                         ImagePaintScrollBox->verticalScrollBar()->value());
    // The window reaches its new size within this time (a window manager
    // may take a moment); a resize after that is the user's and starts at
    // the top left as always.
    keptScrollTimer_->start(1000);
}

void TImageDispForm::ImagePaintBoxPaint(QPainter& painter)
{
    TPreviewState& pv = preview_;
    // Nothing to draw before the files are open, nor without a data file
    // (said when the window opened its files).
    if (pv.PaintBusy || !job_.dataFile.isOpen())
        return;
    pv.PaintBusy = true;
    std::vector<std::pair<Tone, std::string>> said;
    {
        MessageCollector collector;
        // Inside a paint event nothing may be thrown; a failure is collected
        // and said after the paint like any other message.
        RunGuarded([&] {
            PaintPreviewPage(painter, canvas_, ImagePaintBox->size(), job_, job_.CurrentPage, pv.ZoomTenths,
                             ImagePaintBox->logicalDpiX());
        });
        said = std::move(collector.said);
    }
    // Each message once per page shown, after the paint (never from inside it).
    for (auto& [kind, text] : said)
        if (shownMessages_.insert(text).second)
            SayLater(this, kind, text);
    pv.PaintBusy = false;
}

void TImageDispForm::DrawNow()
{
    ImagePaintBox->repaint();
}

void TImageDispForm::PageChanged()
{
    shownMessages_.clear();
    ShowWherePage();
    DrawNow();
}

void TImageDispForm::ZoomDisp()
{
    const int z = preview_.ZoomTenths;
    ZoomInButton->setEnabled(z < 20);
    ZoomOutButton->setEnabled(z > 3);
    DispZoom->setText((z < 10 ? QStringLiteral(" ") : QString()) + QString::number(z) + QStringLiteral("0%"));
    ZoomMenuChecked();
    FormResize();
    ImagePaintBox->update();
}

void TImageDispForm::ZoomMenuChecked()
{
    for (QAction* a : ZoomMenuItems)
        a->setChecked(a->data().toInt() == preview_.ZoomTenths);
}

void TImageDispForm::ZoomInButtonClick()
{
    if (preview_.ZoomTenths < 20) {
        ++preview_.ZoomTenths;
        ZoomDisp();
    }
}

void TImageDispForm::ZoomOutButtonClick()
{
    if (preview_.ZoomTenths > 3) {
        --preview_.ZoomTenths;
        ZoomDisp();
    }
}

void TImageDispForm::MenuZoomClick(int tag)
{
    preview_.ZoomTenths = tag;
    ZoomDisp();
}

void TImageDispForm::PrintButtonClick()
{
    const TEngineJob& e = job_;
    // A whole print job of its own, run from a command of this window's
    // event loop; the print queue shows it under the window's caption.
    RunGuarded([&] {
        ScalPrintUtf8(e.FormatFileName, e.DataFileName, std::string(msg::kPrintingFromPreview), 0, PrinterLandscape() ? 1 : 0,
                      e.CallerTopMargin, e.CallerLeftMargin, preview_.PreviewPrintFormat, preview_.PreviewShowDialog,
                      windowTitle().toStdString());
    });
    FormResize();
    ImagePaintBox->update();
}

void TImageDispForm::PrintSetupButtonClick()
{
    QPageSetupDialog dlg(&ThePrinter(), this);
    dlg.exec();
    FormResize();
    ImagePaintBox->update();
}

void TImageDispForm::CloseButtonClick()
{
    accept();
}

void TImageDispForm::SpeedBar_MenuClick()
{
    SpeedBar->setVisible(!SpeedBar->isVisible());
    SpeedBarMenuItem->setChecked(SpeedBar->isVisible());
}

// Full screen and back change the window's state only.  Hiding a modal
// dialog (or changing its window flags, which hides it) ends its event loop:
// the preview call would return while the window stays open.
void TImageDispForm::FullScreen_MenuClick()
{
    if (fullScreen_)
        return;
    preview_.SavedBounds = geometry();
    KeepScrollPosition();
    fullScreen_ = true;
    SpeedBar->hide();
    File_Menu->menuAction()->setVisible(false);
    View_Menu->menuAction()->setVisible(false);
    Option_Menu->menuAction()->setVisible(false);
    ESCButton->show();
    showFullScreen();
    // Where no window manager takes the window to full screen (a bare X
    // server), it covers the screen by itself; setting the geometry drops
    // the state, which is asked for again.
    if (QScreen* where = screen(); where && geometry() != where->geometry()) {
        setGeometry(where->geometry());
        setWindowState(windowState() | Qt::WindowFullScreen);
    }
    KeyIn->setFocus();
}

void TImageDispForm::ESCButtonClick()
{
    if (!fullScreen_)
        return;
    ESCButton->hide();
    fullScreen_ = false;
    // Back to the page and the place on it where the user was.
    KeepScrollPosition();
    showNormal();
    setGeometry(preview_.SavedBounds);
    SpeedBar->show();
    File_Menu->menuAction()->setVisible(true);
    View_Menu->menuAction()->setVisible(true);
    Option_Menu->menuAction()->setVisible(true);
    KeyIn->setFocus();
}

void TImageDispForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (fullScreen_)
            ESCButtonClick();
        return; // Esc does not close the preview
    }
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_Left
        || event->key() == Qt::Key_Right) {
        KeyInKeyDown(event->key());
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TImageDispForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel
        && (watched == ImagePaintScrollBox->viewport() || watched == ImagePaintScrollBox->verticalScrollBar())) {
        FormMouseWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    if (watched == KeyIn && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down || k->key() == Qt::Key_Left || k->key() == Qt::Key_Right) {
            KeyInKeyDown(k->key());
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            keyPressEvent(k);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TImageDispForm::KeyInKeyDown(int key)
{
    QScrollBar* v = ImagePaintScrollBox->verticalScrollBar();
    QScrollBar* h = ImagePaintScrollBox->horizontalScrollBar();
    switch (key) {
    case Qt::Key_Up: v->setValue(v->value() - 10); break;
    case Qt::Key_Down: v->setValue(v->value() + 10); break;
    case Qt::Key_Left: h->setValue(h->value() - 10); break;
    case Qt::Key_Right: h->setValue(h->value() + 10); break;
    default: break;
    }
}

void TImageDispForm::wheelEvent(QWheelEvent* event)
{
    FormMouseWheel(event->angleDelta().y());
    event->accept();
}

void TImageDispForm::FormMouseWheel(int delta)
{
    QScrollBar* v = ImagePaintScrollBox->verticalScrollBar();
    if (delta < 0)
        v->setValue(v->value() + 40);
    else if (delta > 0)
        v->setValue(v->value() - 40);
}

void TImageDispForm::DispNext()
{
    TEngineJob& e = job_;
    if (e.PageTotal > 1 && e.CurrentPage < e.PageTotal) {
        PrevPage->setEnabled(true);
        ++e.CurrentPage;
        NextPage->setEnabled(e.CurrentPage < e.PageTotal);
        PageChanged();
    } else {
        NextPage->setEnabled(false);
    }
}

void TImageDispForm::DispPrev()
{
    TEngineJob& e = job_;
    if (e.PageTotal > 1 && e.CurrentPage > 1) {
        NextPage->setEnabled(true);
        --e.CurrentPage;
        PrevPage->setEnabled(e.CurrentPage > 1);
        PageChanged();
    } else {
        PrevPage->setEnabled(false);
    }
}

void TImageDispForm::Top_PageClick()
{
    TEngineJob& e = job_;
    e.CurrentPage = 1;
    PrevPage->setEnabled(false);
    NextPage->setEnabled(e.PageTotal != 1);
    PageChanged();
}

void TImageDispForm::Bottom_PageClick()
{
    TEngineJob& e = job_;
    e.CurrentPage = e.PageTotal;
    NextPage->setEnabled(false);
    PrevPage->setEnabled(e.PageTotal != 1);
    PageChanged();
}

void TImageDispForm::Selected_PageClick()
{
    const std::optional<std::string> answer = kovra::CurrentPrompter().AskText(
        {std::string(msg::kPageJumpCaption), std::string(msg::kPageJumpPrompt), "1", this});
    const QString text = answer ? QString::fromStdString(*answer) : QStringLiteral("1");
    TEngineJob& e = job_;
    bool ok = false;
    long long n = text.trimmed().toLongLong(&ok);
    if (ok) {
        n = std::clamp<long long>(n, 1, e.PageTotal);
        e.CurrentPage = int(n);
    }
    PrevPage->setEnabled(e.CurrentPage > 1);
    NextPage->setEnabled(e.CurrentPage < e.PageTotal);
    PageChanged();
}

PreviewPlacement PlacementFromCaller(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    // Window coordinates beyond 16 bits mean nothing on any screen; keeping
    // within them also keeps position + size far from int overflow in Qt.
    constexpr std::int64_t kFar = 32767, kSmallest = 100;
    PreviewPlacement p;
    if (left >= 0 || top >= 0)
        p.position = QPoint(int(std::clamp<std::int64_t>(left, -kFar, kFar)),
                            int(std::clamp<std::int64_t>(top, -kFar, kFar)));
    if (right > 0 || bottom > 0)
        p.size = QSize(int(std::clamp<std::int64_t>(std::int64_t(right) - left, kSmallest, kFar)),
                       int(std::clamp<std::int64_t>(std::int64_t(bottom) - top, kSmallest, kFar)));
    return p;
}

void PrintImageDispUtf8(const std::string& caption, const std::string& formatFile, const std::string& dataFile,
                        int32_t paperCode, int32_t orientation, int32_t topMargin, int32_t leftMargin,
                        int32_t windowLeft, int32_t windowTop, int32_t windowRight, int32_t windowBottom,
                        bool printForm, bool showDialog)
{
    EnsureLibraryStarted();
    TEngineJob job(formatFile, dataFile);
    job.CallerTopMargin = topMargin;
    job.CallerLeftMargin = leftMargin;

    TImageDispForm form(std::move(job));
    form.Preview().PreviewPrintFormat = printForm;
    form.Preview().PreviewShowDialog = showDialog;
    KeepAboveActiveWindow(form);
    const PreviewPlacement place = PlacementFromCaller(windowLeft, windowTop, windowRight, windowBottom);
    if (place.position)
        form.move(*place.position);
    if (place.size)
        form.resize(*place.size);
    if (!caption.empty())
        form.setWindowTitle(QString::fromStdString(caption));
    if (paperCode > 0)
        ThePrinterSettings().SetPrinterPaper(int16_t(std::min(paperCode, int32_t(32767))));
    SetPrinterLandscape(orientation == 1);
    form.exec();
}

} // namespace dorvex
