// The main window: start-up and end, its frame, menus, toolbar and bottom
// panel, loading a file, showing a listing, navigation, and the drags of its
// tagged boxes.  The tabs' boxes are in MainFormSheets.cpp, the commands in
// MainFormCommands.cpp.
#include "MainForm.h"
#include "MainFormSupport.h"

#include "Icons.h"
#include "ListingBrowser.h"
#include "OpenDocument.h"

#include "HtmlExportRun.h"
#include "MessageTexts.h"
#include "Prompter.h"
#include "TextHelpers.h"
#include "UserSettings.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace kovra {

namespace {

// The outer size the window is laid out for; it grows only when the
// platform's type needs more room.
constexpr int kClientWidth = 605;
constexpr int kClientHeight = 426;

constexpr char kFieldMime[] = "application/x-kovra-field";

// The summary line while no listing is on show.
QString SummaryPlaceholder() { return QStringLiteral("物件の概要が表示されます"); }
} // namespace

TMainForm::TMainForm(services::TUserSettings& settings, TOpenDocument& document, const QString& fileArgument,
                     QWidget* parent, ReportEngine reportEngine)
    : QMainWindow(parent), settings_(settings), document_(document), reportEngine_(std::move(reportEngine)),
      shownDocument_(document.Document())
{
    setObjectName(QStringLiteral("MainForm"));
    buildWindow();

    // Start-up: settings first (the settings dialog, created after this
    // window, copies them), then the empty state, then the file argument.
    settings_ = services::ReadUserSettings();
    ApplyMemberVisibility();
    setAcceptDrops(true);
    DataNumEdit->setText(QStringLiteral("0"));
    DataHighNumLbl->setText(q(msg::kPleaseLoadData));
    DataNumEdit->setFocus();

    htmlController_ = new HtmlExportController(this, document_.Slot(), settings_,
                                               [this](const QString& current) { return pickHtmlTemplate(current); });
    connect(&document_, &TOpenDocument::Changed, this, &TMainForm::DocumentChanged);

    // The window sees every key before the focused box does; the same
    // filter watches the mouse on the mail box and on the draggable boxes.
    qApp->installEventFilter(this);

    if (!fileArgument.isEmpty())
        LoadFile(fileArgument);
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    disconnect(&document_, nullptr, this, nullptr);
    if (browser_)
        browser_->StoreLayout();
    // The export deletes its dialog and progress window itself, which are
    // this window's children: it must go while they still exist.
    delete htmlController_;
    htmlController_ = nullptr;
    services::WriteUserSettings(settings_);
}

// ---------------------------------------------------------------- building

void TMainForm::buildWindow()
{
    setWindowTitle(q(std::string(msg::kApplicationTitle)));
    setWindowIcon(KovraIcon(IconKind::Program));
    // Fixed frame with a minimise box but no maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    buildMenusAndToolbar();

    auto* central = new QWidget;
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(2);
    v->addWidget(buildTopRow());
    v->addWidget(buildPriceLine());
    v->addWidget(buildTabs(), 1);
    v->addWidget(buildBottomPanel());
    setCentralWidget(central);

    // The boxes may be narrower than they would like; the window grows
    // beyond its designed size only where the type needs it.
    const QSize hint = minimumSizeHint();
    setFixedSize(std::max(kClientWidth, hint.width()), std::max(kClientHeight, hint.height()));
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TMainForm::buildMenusAndToolbar()
{
    auto action = [this](const char* name, const QString& text, void (TMainForm::*slot)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    FileOpenMenu = action("FileOpenMenu", QStringLiteral("コヴラデーターを開く(&O)"), &TMainForm::FileOpenMenuClick);
    FileOpenMenu->setIcon(KovraIcon(IconKind::Open));
    file->addAction(FileOpenMenu);
    CompareMenu = action("CompareMenu", q(msg::kCompareWithEarlier), &TMainForm::CompareMenuClick);
    file->addAction(CompareMenu);
    CompareImportMenu = action("CompareImportMenu", q(msg::kCompareWithImport), &TMainForm::CompareImportMenuClick);
    file->addAction(CompareImportMenu);
    EndCompareMenu = action("EndCompareMenu", q(msg::kEndComparison), &TMainForm::EndCompareMenuClick);
    EndCompareMenu->setEnabled(false);
    file->addAction(EndCompareMenu);
    ArchiveImportMenu = action("ArchiveImportMenu", q(msg::kArchiveImportCommand), &TMainForm::ArchiveImportMenuClick);
    file->addAction(ArchiveImportMenu);
    // Shown once the window set gives the archive.
    CompareImportMenu->setVisible(false);
    ArchiveImportMenu->setVisible(false);
    file->addSeparator();
    // The toolbar button is the working entry of the stripped save; the
    // menu item stays disabled.
    SaveMemberDel = action("SaveMemberDel", QStringLiteral("会員項目を削除して保存(&S)"), &TMainForm::SaveMemberDelClick);
    SaveMemberDel->setEnabled(false);
    file->addAction(SaveMemberDel);
    file->addSeparator();
    PrintMenu = action("PrintMenu", QStringLiteral("印刷(&P)"), &TMainForm::PrintMenuClick);
    PrintMenu->setIcon(KovraIcon(IconKind::Print));
    file->addAction(PrintMenu);
    PreViewMenu = action("PreViewMenu", QStringLiteral("印刷プレビュー(&V)"), &TMainForm::ToolPreViewBtnClick);
    PreViewMenu->setIcon(KovraIcon(IconKind::Preview));
    file->addAction(PreViewMenu);
    file->addSeparator();
    HTMLH1 = action("HTMLH1", QStringLiteral("HTMLに出力(&H)"), &TMainForm::HTMLH1Click);
    HTMLH1->setIcon(KovraIcon(IconKind::Html));
    file->addAction(HTMLH1);
    file->addSeparator();
    ExitMenu = action("ExitMenu", QStringLiteral("終了(&X)"), &TMainForm::ExitMenuClick);
    file->addAction(ExitMenu);

    QMenu* setup = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    setup->addAction(action("KvSetupDlgMenu", QStringLiteral("設定ダイアログを表示(&V)"), &TMainForm::KvSetupDlgMenuClick));
    setup->addAction(action("ChildMenu", QStringLiteral("子ウインドウを表示(&C)"), &TMainForm::ChildMenuClick));
    BrowserMenu = action("BrowserMenu", QStringLiteral("物件一覧を表示(&L)"), &TMainForm::BrowserMenuClick);
    BrowserMenu->setIcon(KovraIcon(IconKind::List));
    BrowserMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    setup->addAction(BrowserMenu);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(action("SupportMenu", QStringLiteral("サポートホームページ(&S)"), &TMainForm::SupportMenuClick));
    help->addSeparator();
    help->addAction(action("ReadDocMenu", QStringLiteral("ドキュメントを読む(&R)"), &TMainForm::ReadDocMenuClick));
    help->addAction(action("about", QStringLiteral("バージョン情報(&A)"), &TMainForm::aboutClick));

    QToolBar* bar = addToolBar(QStringLiteral("ToolBar"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    auto button = [&](const char* name, IconKind icon, const QString& hint, void (TMainForm::*slot)()) {
        QAction* a = action(name, hint, slot);
        a->setIcon(KovraIcon(icon));
        a->setToolTip(hint);
        a->setStatusTip(hint);
        bar->addAction(a);
        bar->widgetForAction(a)->setObjectName(QString::fromLatin1(name));
        return a;
    };
    FileOpenBtn = button("FileOpenBtn", IconKind::Open, QStringLiteral("データーを開きます"), &TMainForm::FileOpenMenuClick);
    SaveMemDelBtn = button("SaveMemDelBtn", IconKind::SaveStripped, QStringLiteral("会員項目を削除して保存します"),
                           &TMainForm::SaveMemberDelClick);
    MakeHtmlBtn = button("MakeHtmlBtn", IconKind::Html, QStringLiteral("HTMLに出力します"), &TMainForm::HTMLH1Click);
    bar->addSeparator();
    ToolPreViewBtn = button("ToolPreViewBtn", IconKind::Preview,
                            QStringLiteral("現在表示しているデーターの印刷をプレビューします"),
                            &TMainForm::ToolPreViewBtnClick);
    ToolPrintBtn = button("ToolPrintBtn", IconKind::Print, QStringLiteral("印刷します"), &TMainForm::PrintMenuClick);
    bar->addSeparator();
    BrowserBtn = button("BrowserBtn", IconKind::List, QStringLiteral("物件一覧を表示します"), &TMainForm::BrowserMenuClick);
}

QWidget* TMainForm::buildBottomPanel()
{
    auto* w = new QWidget;
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(2, 0, 2, 0);
    l->setSpacing(2);
    auto navButton = [&](const char* name, const QString& text, const QString& hint, void (TMainForm::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setFixedWidth(30);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, slot);
        l->addWidget(b);
        return b;
    };
    navButton("TopDataViewBtn", QStringLiteral("|<"), QStringLiteral("最初のデーターへ"), &TMainForm::TopDataViewBtnClick);
    navButton("BackDataViewBtn", QStringLiteral("<"), QStringLiteral("前のデーターへ"), &TMainForm::BackDataViewBtnClick);

    DataNumEdit = new QLineEdit;
    DataNumEdit->setObjectName(QStringLiteral("DataNumEdit"));
    DataNumEdit->setToolTip(QStringLiteral("現在のデーター"));
    DataNumEdit->setReadOnly(true);
    DataNumEdit->setFocusPolicy(Qt::ClickFocus); // not a tab stop, but holds the focus at start
    DataNumEdit->setAlignment(Qt::AlignRight);
    DataNumEdit->setFixedWidth(48);
    l->addWidget(DataNumEdit);

    navButton("NextDataViewBtn", QStringLiteral(">"), QStringLiteral("次のデーターへ"), &TMainForm::NextDataViewBtnClick);
    navButton("ViewLastDataBtn", QStringLiteral(">|"), QStringLiteral("最後のデーターへ"), &TMainForm::ViewLastDataBtnClick);

    DataHighNumLbl = new QLabel;
    DataHighNumLbl->setObjectName(QStringLiteral("DataHighNumLbl"));
    DataHighNumLbl->setAutoFillBackground(true);
    DataHighNumLbl->setFrameShape(QFrame::StyledPanel);
    DataHighNumLbl->setMinimumWidth(150);
    {
        QPalette p = DataHighNumLbl->palette();
        p.setColor(QPalette::Window, Qt::white);
        p.setColor(QPalette::WindowText, Qt::black);
        DataHighNumLbl->setPalette(p);
    }
    l->addWidget(DataHighNumLbl);

    LblGaiyou = new QLabel(SummaryPlaceholder());
    LblGaiyou->setObjectName(QStringLiteral("LblGaiyou"));
    LblGaiyou->setAutoFillBackground(true);
    {
        QPalette p = LblGaiyou->palette();
        p.setColor(QPalette::Window, QColor(0, 128, 0));
        p.setColor(QPalette::WindowText, Qt::white);
        LblGaiyou->setPalette(p);
    }
    LblGaiyou->setMinimumWidth(60);
    LblGaiyou->setContentsMargins(4, 0, 4, 0);
    l->addWidget(LblGaiyou, 1);
    w->setFixedHeight(DataNumEdit->sizeHint().height() + 4);
    return w;
}

// ---------------------------------------------------------------- loading

bool TMainForm::LoadFile(const QString& path)
{
    // The document that takes the place of the one on show reaches the
    // window through DocumentChanged; a file that could not be opened, or
    // a run reading the document, leaves everything as it was.
    const LoadOutcome outcome = document_.Load(path, this);
    return outcome.ok() && outcome.count > 0;
}

void TMainForm::DocumentChanged()
{
    const bool inUse = document_.InUseByRun();
    for (QAction* a : {FileOpenBtn, FileOpenMenu, HTMLH1, MakeHtmlBtn})
        a->setEnabled(!inUse);
    const DocumentPtr document = document_.Document();
    if (document == shownDocument_)
        return;
    shownDocument_ = document;
    const LoadOutcome& outcome = document->Outcome;
    DataHighNumLbl->setText(q(outcome.totalCaption));
    if (!outcome.title.empty())
        setWindowTitle(q(outcome.title));
    if (document->ListingCount > 0) {
        DataNumEdit->setText(QStringLiteral("1"));
        ShowListing(1);
    } else {
        // A load that failed: nothing of the file before it stays on show.
        clearListing();
    }
}

void TMainForm::clearListing()
{
    DataNumEdit->clear();
    LblGaiyou->setText(SummaryPlaceholder());
    for (const Binding& b : bindings_) {
        if (b.edit)
            b.edit->clear();
        else
            b.memo->clear();
    }
    CmbSetudouHoukou->blockSignals(true);
    CmbSetudouHoukou->clear();
    CmbSetudouHoukou->blockSignals(false);
    EdtSetudouFukuin->clear();
}

const TListingDocument& TMainForm::shown() const { return *shownDocument_; }

void TMainForm::FileOpenMenuClick()
{
    if (document_.InUseByRun())
        return;
    const QString path = openChooser_ ? openChooser_() : runOpenDialog();
    if (path.isEmpty())
        return;
    LoadFile(path);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* m = event->mimeData();
    if (m->hasUrls()) {
        for (const QUrl& u : m->urls()) {
            if (u.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
    event->ignore();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    QString path;
    for (const QUrl& u : event->mimeData()->urls()) {
        if (u.isLocalFile()) {
            path = u.toLocalFile();
            break;
        }
    }
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Several files dropped: only the first is loaded (not while a run reads
    // the listings on show: the load says so).
    LoadFile(path);
}

// ---------------------------------------------------------------- display

void TMainForm::ShowListing(int number)
{
    const TListingDocument& data = shown();
    if (number < 1 || number > data.ListingCount || number > static_cast<int>(data.ListingTable.size()))
        return;
    const TKovraDataClass& rec = data.ListingTable[static_cast<std::size_t>(number - 1)];

    LblGaiyou->setText(q(rec.DataSyubetu()) + u' ' + q(rec.BukkennSyubetu()) + u' ' + q(rec.BukkennSyumoku()));
    for (const Binding& b : bindings_) {
        const QString text = q(rec.field(b.field));
        if (b.edit) {
            // Unchanged text is left alone (no repaint, no copy update); a
            // new text is shown from its start, as a long address reads best.
            if (b.edit->text() != text) {
                b.edit->setText(text);
                b.edit->setCursorPosition(0);
            }
        } else if (b.memo->toPlainText() != text) {
            b.memo->setPlainText(text);
        }
    }

    CmbSetudouHoukou->blockSignals(true);
    CmbSetudouHoukou->clear();
    CmbSetudouHoukou->addItems({q(rec.SetudouHoukou0()), q(rec.SetudouHoukou1()),
                                q(rec.SetudouHoukou2()), q(rec.SetudouHoukou3())});
    CmbSetudouHoukou->setCurrentIndex(0);
    CmbSetudouHoukou->blockSignals(false);
    EdtSetudouFukuin->setText(q(rec.SetudouFukuin0()));
    showChange(number);
    emit ListingShown(number);
}

void TMainForm::ApplyMemberVisibility()
{
    GroupKaiin->setVisible(settings_.MemberViewOk);
    GroupKaiin2->setVisible(settings_.MemberViewOk);
    if (browser_)
        browser_->ApplyMemberVisibility();
}

int TMainForm::ShownListingNumber() const
{
    bool ok = false;
    const int n = DataNumEdit->text().trimmed().toInt(&ok);
    return ok ? n : 0;
}

void TMainForm::CmbSetudouHoukouChange(int index)
{
    const int n = ShownListingNumber();
    const TListingDocument& data = shown();
    if (index < 0 || index > 3 || n < 1 || n > data.ListingCount)
        return;
    const TKovraDataClass& rec = data.ListingTable[static_cast<std::size_t>(n - 1)];
    EdtSetudouFukuin->setText(q(rec.field(F(Field::SetudouFukuin0) + index)));
}

void TMainForm::EdtEmailClick()
{
    const QString address = EdtEmail->text();
    if (address.isEmpty() || address == q(kAbsent))
        return;
    CurrentPrompter().OpenWithShell(QUrl(QStringLiteral("mailto:") + address).toEncoded().toStdString());
}

// ---------------------------------------------------------------- navigation

void TMainForm::stepTo(int number)
{
    DataNumEdit->setText(QString::number(number));
    ShowListing(number);
}

void TMainForm::NextDataViewBtnClick()
{
    const int n = ShownListingNumber();
    if (n < listingCount())
        stepTo(std::max(n, 0) + 1);
}

void TMainForm::BackDataViewBtnClick()
{
    const int n = ShownListingNumber();
    const int count = listingCount();
    if (count > 0 && n > 1)
        stepTo(std::min(n - 1, count));
}

void TMainForm::TopDataViewBtnClick()
{
    if (listingCount() > 0)
        stepTo(1);
}

void TMainForm::ViewLastDataBtnClick()
{
    const int count = listingCount();
    if (count > 0)
        stepTo(count);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        keyPreview(watched, static_cast<QKeyEvent*>(event));
        return false; // the focused box still gets the key
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (watched == EdtEmail && event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            EdtEmailClick();
            return false;
        }
        if (auto* box = qobject_cast<QLineEdit*>(watched);
            box && box->window() == this && box->property("kovraTag").isValid())
            return dragFilter(box, event);
        return false;
    default:
        return false;
    }
}

bool TMainForm::keyPreview(QObject* watched, QKeyEvent* key)
{
    // A key travels from the focused widget up to the window when nobody
    // takes it; act on its first delivery only, so one press is one step.
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this)
        return false;
    QWidget* first = focusWidget() ? focusWidget() : this;
    if (w != first)
        return false;
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    if (key->key() == Qt::Key_Right) {
        ctrl ? ViewLastDataBtnClick() : NextDataViewBtnClick();
        return true;
    }
    if (key->key() == Qt::Key_Left) {
        ctrl ? TopDataViewBtnClick() : BackDataViewBtnClick();
        return true;
    }
    return false;
}

bool TMainForm::dragFilter(QLineEdit* box, QEvent* event)
{
    auto* me = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonPress) {
        if (me->button() == Qt::LeftButton) {
            dragSource_ = box;
            dragStart_ = me->position().toPoint();
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        dragSource_ = nullptr;
        return false;
    }
    if (dragSource_ != box || !(me->buttons() & Qt::LeftButton))
        return false;
    if ((me->position().toPoint() - dragStart_).manhattanLength() < QApplication::startDragDistance())
        return false;
    dragSource_ = nullptr;
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kFieldMime), box->objectName().toUtf8());
    auto* drag = new QDrag(box);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
    return true;
}

QLineEdit* TMainForm::TaggedBox(const QString& name) const
{
    for (QLineEdit* e : taggedBoxes_)
        if (e->objectName() == name)
            return e;
    return nullptr;
}

int TMainForm::TagOf(const QObject* box)
{
    return box ? box->property("kovraTag").toInt() : 0;
}

} // namespace kovra
