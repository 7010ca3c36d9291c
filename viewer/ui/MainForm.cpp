#include "MainForm.h"

#include "AboutBox.h"
#include "Icons.h"
#include "KvSetDlg.h"
#include "SeparationForm.h"

#include "DialogFilters.h"
#include "HtmlExportRun.h"
#include "MessageTexts.h"
#include "ListingTable.h"
#include "MemberStrip.h"
#include "Prompter.h"
#include "ShippedFiles.h"
#include "TextHelpers.h"
#include "UserSettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace kovra {

namespace {

constexpr int F(Field f) { return static_cast<int>(f); }

inline QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string u8(const QString& s) { return s.toUtf8().toStdString(); }

// The outer size the window is laid out for; it grows only when the
// platform's type needs more room.
constexpr int kClientWidth = 605;
constexpr int kClientHeight = 426;

constexpr char kFieldMime[] = "application/x-kovra-field";

// A group box whose label/box pairs sit in `columns` columns.
struct Pair {
    QString caption;
    QWidget* box;
    int span = 1; // columns of pairs the box takes
};

QGroupBox* pairGroup(const QString& title, const std::vector<Pair>& pairs, int columns = 1)
{
    auto* g = new QGroupBox(title);
    auto* grid = new QGridLayout(g);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    int row = 0, col = 0;
    for (const Pair& p : pairs) {
        if (col + p.span > columns) {
            ++row;
            col = 0;
        }
        if (!p.caption.isEmpty()) {
            grid->addWidget(new QLabel(p.caption), row, col * 2);
            grid->addWidget(p.box, row, col * 2 + 1, 1, p.span * 2 - 1);
        } else {
            grid->addWidget(p.box, row, col * 2, 1, p.span * 2);
        }
        col += p.span;
    }
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c * 2 + 1, 1);
    return g;
}

QGroupBox* wrapGroup(const QString& title, std::initializer_list<QWidget*> widgets, bool horizontal = false)
{
    auto* g = new QGroupBox(title);
    QBoxLayout* l = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(g)) : new QVBoxLayout(g);
    l->setContentsMargins(6, 2, 6, 4);
    l->setSpacing(2);
    for (QWidget* w : widgets)
        l->addWidget(w);
    return g;
}

QWidget* column(std::initializer_list<QWidget*> widgets, bool stretchAtEnd = true)
{
    auto* w = new QWidget;
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    for (QWidget* c : widgets)
        l->addWidget(c);
    if (stretchAtEnd)
        l->addStretch(1);
    return w;
}

QWidget* sheet(std::initializer_list<QWidget*> columns)
{
    auto* w = new QWidget;
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(4, 4, 4, 4);
    l->setSpacing(4);
    for (QWidget* c : columns)
        l->addWidget(c, 1);
    return w;
}

} // namespace

TMainForm::TMainForm(const QString& fileArgument, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    buildWindow();

    // Start-up: settings first (the settings dialog, created after this
    // window, copies them), then the empty state, then the file argument.
    htmlExportRunning_ = false;
    services::Settings() = services::ReadUserSettings();
    ApplyMemberVisibility();
    setAcceptDrops(true);
    DataNumEdit->setText(QStringLiteral("0"));
    DataHighNumLbl->setText(q(msg::kPleaseLoadData));
    DataNumEdit->setFocus();

    htmlController_ = new HtmlExportController(this, [this] { return pickHtmlTemplate(); });
    connect(htmlController_, &HtmlExportController::runningChanged, this, &TMainForm::SetHtmlExportRunning);

    // The window sees every key before the focused box does; the same
    // filter watches the mouse on the mail box and on the draggable boxes.
    qApp->installEventFilter(this);

    if (!fileArgument.isEmpty())
        LoadFile(fileArgument);
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    // The export deletes its dialog and progress window itself, which are
    // this window's children: it must go while they still exist.
    delete htmlController_;
    htmlController_ = nullptr;
    services::WriteUserSettings(services::Settings());
}

// ---------------------------------------------------------------- building

void TMainForm::buildWindow()
{
    setWindowTitle(QStringLiteral("Kovra Viewer"));
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
}

QLineEdit* TMainForm::addEdit(const char* name, int field, bool readOnly, int tag)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(readOnly);
    e->setMinimumWidth(40);
    if (field >= 0)
        bindings_.push_back({e, nullptr, field});
    if (tag > 0) {
        e->setProperty("kovraTag", tag);
        taggedBoxes_.push_back(e);
    }
    return e;
}

QPlainTextEdit* TMainForm::addMemo(const char* name, int field, bool readOnly)
{
    auto* m = new QPlainTextEdit;
    m->setObjectName(QString::fromLatin1(name));
    m->setReadOnly(readOnly);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->setMinimumHeight(30);
    bindings_.push_back({nullptr, m, field});
    return m;
}

QWidget* TMainForm::buildTopRow()
{
    auto* w = new QWidget;
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(2, 0, 2, 0);
    l->setSpacing(4);
    auto caption = [](const QString& text) {
        auto* lbl = new QLabel(text);
        QPalette p = lbl->palette();
        p.setColor(QPalette::WindowText, Qt::red);
        lbl->setPalette(p);
        return lbl;
    };
    l->addWidget(caption(QStringLiteral("物件番号")));
    l->addWidget(addEdit("EdtBukkennNum", F(Field::BukkennNum), true), 3);
    l->addWidget(caption(QStringLiteral("価格（成約価格）")));
    l->addWidget(addEdit("EdtKakaku", F(Field::Kakaku), true), 2);
    l->addWidget(caption(QStringLiteral("登録（成約）年月日")));
    l->addWidget(addEdit("EdtTourokuNenGappi", F(Field::TourokuNenGappi), true), 3);
    return w;
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

    LblGaiyou = new QLabel(QStringLiteral("物件の概要が表示されます"));
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

QTabWidget* TMainForm::buildTabs()
{
    PageControl = new QTabWidget;
    PageControl->setObjectName(QStringLiteral("PageControl1"));
    auto add = [&](QWidget* page, const char* name, const QString& title) {
        page->setObjectName(QString::fromLatin1(name));
        PageControl->addTab(page, title);
    };
    add(buildMainSheet(), "MainSheet", QStringLiteral("主要データー"));
    add(buildLandSheet(), "TabSheet1", QStringLiteral("土地・立地項目"));
    add(buildBuildingSheet(), "TabSheet4", QStringLiteral("建物項目"));
    add(buildLawSheet(), "TabSheet2", QStringLiteral("法令項目"));
    add(buildMoneySheet(), "TabSheet3", QStringLiteral("金額項目"));
    add(buildTradeSheet(), "TabSheet6", QStringLiteral("取引・会員"));
    add(buildOtherSheet(), "TabSheet7", QStringLiteral("その他"));
    PageControl->setCurrentIndex(0);
    return PageControl;
}

QWidget* TMainForm::buildMainSheet()
{
    // Every box here is read-only; those with a tag can be dragged to the
    // detached field window.
    auto* data = pairGroup(QStringLiteral("データ項目"),
        {{QStringLiteral("データー種別"), addEdit("EdtDataSyubetu", F(Field::DataSyubetu), true, 5)},
         {QStringLiteral("物件種別"), addEdit("EdtBukkennSyubetu", F(Field::BukkennSyubetu), true, 6)},
         {QStringLiteral("物件種目"), addEdit("EdtBukkennSyumoku", F(Field::BukkennSyumoku), true, 7)}});
    auto* building = pairGroup(QStringLiteral("建物項目"),
        {{QStringLiteral("建物面積"), addEdit("EdtTatemonoMenseki", F(Field::TatemonoMenseki), true, 8)},
         {QStringLiteral("部屋数"), addEdit("EdtHeyaKazu", F(Field::HeyaKazu), true, 9)},
         {QStringLiteral("築年月"), addEdit("EdtTikuNengetu", F(Field::TikuNengetu), true, 10)}});
    GroupKaiin = pairGroup(QStringLiteral("会員項目"),
        {{QStringLiteral("会員名"), addEdit("EdtKaiinmei", F(Field::KaiinMei), true, 14)},
         {QStringLiteral("電話番号"), addEdit("EdtTel", F(Field::Tel), true, 15)},
         {QStringLiteral("報酬形態"), addEdit("EdtHousyuu", F(Field::Housyuu), true, 16)}});
    GroupKaiin->setObjectName(QStringLiteral("GroupKaiin"));
    auto* memo = wrapGroup(QStringLiteral("備考"), {addMemo("MemoBikou", F(Field::Bikou), true)});
    auto* land = pairGroup(QStringLiteral("土地項目"),
        {{QStringLiteral("土地面積"), addEdit("EdtTotiMenseki", F(Field::TotiMenseki), true, 1)},
         {QStringLiteral("地目"), addEdit("EdtTimoku", F(Field::Timoku), true, 2)},
         {QStringLiteral("用途地域"), addEdit("EdtYoutoTiiki", F(Field::YoutoTiiki), true, 3)},
         {QStringLiteral("土地権利"), addEdit("EdtTotiKenri", F(Field::TotiKenri), true, 4)}});
    auto* trade = pairGroup(QStringLiteral("取引項目"),
        {{QStringLiteral("取引態様"), addEdit("EdtTorihikiTaiyou", F(Field::TorihikiTaiyou), true, 12)}});
    auto* place = wrapGroup(QStringLiteral("所在地名"), {addEdit("EdtSyozaitimei", F(Field::Syozaitimei), true, 13)});
    auto* state = wrapGroup(QStringLiteral("現況"), {addEdit("EdtGenkyou", F(Field::Genkyou), true, 11)});

    auto* right = column({land, place}, false);
    auto* tradeState = new QWidget;
    {
        auto* h = new QHBoxLayout(tradeState);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(4);
        h->addWidget(trade, 3);
        h->addWidget(state, 2);
    }
    static_cast<QVBoxLayout*>(right->layout())->addWidget(tradeState);
    static_cast<QVBoxLayout*>(right->layout())->addWidget(memo, 1);
    return sheet({column({data, building, GroupKaiin}), right});
}

QWidget* TMainForm::buildLandSheet()
{
    auto* traffic = pairGroup(QStringLiteral("交通関連"),
        {{QStringLiteral("交通の状況"), addEdit("EdtKoutuu", F(Field::Koutuu), false), 2},
         {QStringLiteral("徒歩1"), addEdit("EdtToho1", F(Field::Toho0), false)},
         {QStringLiteral("徒歩2"), addEdit("EdtToho2", F(Field::Toho1), false)},
         {QStringLiteral("その他交通手段"), addEdit("EdtSonotaKoutuu", F(Field::SonotaKoutuu), false), 2},
         {QStringLiteral("バスアクセス"), addEdit("EdtBus", F(Field::Bus), false), 2}}, 2);

    // The width box shows the road chosen in the direction list.
    EdtSetudouFukuin = addEdit("EdtSetudouFukuin", -1, false);
    CmbSetudouHoukou = new QComboBox;
    CmbSetudouHoukou->setObjectName(QStringLiteral("CmbSetudouHoukou"));
    CmbSetudouHoukou->setEditable(false);
    connect(CmbSetudouHoukou, &QComboBox::activated, this, &TMainForm::CmbSetudouHoukouChange);
    auto* road = pairGroup(QStringLiteral("接道関連"),
        {{QStringLiteral("接道方向"), CmbSetudouHoukou},
         {QStringLiteral("接道幅員"), EdtSetudouFukuin},
         {QStringLiteral("接道状況"), addEdit("EdtSetudouJyoukyou", F(Field::SetudouJyoukyou), false)},
         {QStringLiteral("接道種別"), addEdit("EdtSetudouSyubetu", F(Field::SetudouSyubetu), false)},
         {QStringLiteral("私道(バルコニー)面積"), addEdit("EdtSidouMenseki", F(Field::SidouMenseki), false)},
         {QStringLiteral("接道位置指定"), addEdit("EdtSetudouItisitei", F(Field::SetudouItisitei), false)},
         {QStringLiteral("接道接面"), addEdit("EdtSetudouSetumen", F(Field::SetudouSetumen), false)}});
    auto* land = pairGroup(QStringLiteral("土地関連"),
        {{QStringLiteral("土地面積"), addEdit("EdtTotiMenseki2", F(Field::TotiMenseki), false)},
         {QStringLiteral("地目"), addEdit("EdtTimoku2", F(Field::Timoku), false)},
         {QStringLiteral("面積計測方法"), addEdit("EdtMensekiKeisoku2", F(Field::MensekiKeisoku), false)},
         {QStringLiteral("現況"), addEdit("EdtGenkyou3", F(Field::Genkyou), false)},
         {QStringLiteral("地勢"), addEdit("EdtTisei", F(Field::Tisei), false)},
         {QStringLiteral("借地期間"), addEdit("EdtSyakutiKikan", F(Field::SyakutiKikan), false)}}, 2);
    auto* place = wrapGroup(QStringLiteral("所在地名"), {addEdit("EdtSyozaitimei2", F(Field::Syozaitimei), false)});
    return sheet({column({traffic, land, place}), column({road})});
}

QWidget* TMainForm::buildBuildingSheet()
{
    auto room = [&](int n, const char* floor, const char* count, const char* type, const char* size,
                    Field ff, Field fc, Field ft, Field fs) {
        return pairGroup(n == 1 ? QStringLiteral("室１") : n == 2 ? QStringLiteral("室２")
                         : n == 3 ? QStringLiteral("室３") : QStringLiteral("室４"),
            {{QStringLiteral("室所在階"), addEdit(floor, F(ff), false)},
             {QStringLiteral("室数"), addEdit(count, F(fc), false)},
             {QStringLiteral("室タイプ"), addEdit(type, F(ft), false)},
             {QStringLiteral("室広さ"), addEdit(size, F(fs), false)}}, 2);
    };
    auto* rooms = new QGroupBox(QStringLiteral("室内関係"));
    {
        auto* g = new QGridLayout(rooms);
        g->setContentsMargins(4, 2, 4, 4);
        g->setSpacing(2);
        // Four rooms in two rows across the page keep the tab low.
        g->addWidget(room(1, "EdtHeyaSyozaikai1", "EdtHeyaKazu1", "EdtHeyaTaipu1", "EdtHeyaHirosa1",
                          Field::HeyaSyozaikai1, Field::HeyaKazu1, Field::HeyaTaipu1, Field::HeyaHirosa1), 0, 0);
        g->addWidget(room(2, "EdtHeyaSyozaikai2", "EdtHeyaKazu2", "EdtHeyaTaipu2", "EdtHeyaHirosa2",
                          Field::HeyaSyozaikai2, Field::HeyaKazu2, Field::HeyaTaipu2, Field::HeyaHirosa2), 0, 1);
        g->addWidget(room(3, "EdtHeyaSyozaikai3", "EdtHeyaKazu3", "EdtHeyaTaipu3", "EdtHeyaHirosa3",
                          Field::HeyaSyozaikai3, Field::HeyaKazu3, Field::HeyaTaipu3, Field::HeyaHirosa3), 1, 0);
        g->addWidget(room(4, "EdtHeyaSyozaikai4", "EdtHeyaKazu4", "EdtHeyaTaipu4", "EdtHeyaHirosa4",
                          Field::HeyaSyozaikai4, Field::HeyaKazu4, Field::HeyaTaipu4, Field::HeyaHirosa4), 1, 1);
        auto* extra = new QWidget;
        auto* eg = new QGridLayout(extra);
        eg->setContentsMargins(2, 0, 2, 0);
        eg->setSpacing(2);
        eg->addWidget(new QLabel(QStringLiteral("バルコニー方向")), 0, 0);
        eg->addWidget(addEdit("EdtBalcony", F(Field::Balcony), false), 0, 1);
        eg->addWidget(new QLabel(QStringLiteral("面積計測方法")), 0, 2);
        eg->addWidget(addEdit("EdtMensekiKeisoku", F(Field::MensekiKeisoku), false), 0, 3);
        eg->setColumnStretch(1, 1);
        eg->setColumnStretch(3, 1);
        g->addWidget(extra, 2, 0, 1, 2);
    }
    auto* floors = pairGroup(QStringLiteral("階・戸数"),
        {{QStringLiteral("棟総戸数"), addEdit("EdtSouKouu", F(Field::SouKosuu), false)},
         {QStringLiteral("所在階"), addEdit("EdtSyozaiKai", F(Field::SyozaiKai), false)},
         {QStringLiteral("地上階層"), addEdit("EdtTijyouKai", F(Field::TijyouKai), false)},
         {QStringLiteral("地下階層"), addEdit("EdtTikaKai", F(Field::TikaKai), false)}}, 2);
    auto* buildingGrp = new QGroupBox(QStringLiteral("建物関係"));
    {
        auto* g = new QGridLayout(buildingGrp);
        g->setContentsMargins(4, 2, 4, 4);
        g->setSpacing(2);
        g->addWidget(new QLabel(QStringLiteral("マンション名")), 0, 0);
        g->addWidget(addEdit("EdtMansyonmei", F(Field::MansyonMei), false), 0, 1);
        g->addWidget(new QLabel(QStringLiteral("構造")), 1, 0);
        g->addWidget(addEdit("EdtKouzou", F(Field::Kouzou), false), 1, 1);
        g->addWidget(floors, 2, 0, 1, 2);
    }
    auto* state = pairGroup(QStringLiteral("現況・駐車場"),
        {{QStringLiteral("現況"), addEdit("EdtGenkyou2", F(Field::Genkyou), true, 11)},
         {QStringLiteral("駐車場在否"), addEdit("EdtTyuusyaJyou", F(Field::TyuusyaJyou), false)}}, 2);
    auto* manage = pairGroup(QStringLiteral("管理"),
        {{QStringLiteral("管理組合有無"), addEdit("EdtKanriUmu", F(Field::KanriUmu), false)},
         {QStringLiteral("管理形態"), addEdit("EdtKanriKeitai", F(Field::KanriKeitai), false)},
         {QStringLiteral("管理会社"), addEdit("EdtKanriKaisya", F(Field::KanriKaisya), false), 2}}, 2);
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(2);
    v->addWidget(rooms);
    auto* lower = sheet({buildingGrp, column({state, manage})});
    lower->layout()->setContentsMargins(0, 0, 0, 0);
    v->addWidget(lower);
    v->addStretch(1);
    return page;
}

QWidget* TMainForm::buildLawSheet()
{
    auto* building = pairGroup(QStringLiteral("建築基準法"),
        {{QStringLiteral("建ぺい率"), addEdit("EdtKenpeiRitu", F(Field::KenpeiRitu), false)},
         {QStringLiteral("容積率"), addEdit("EdtYousekiRitu", F(Field::YousekiRitu), false)}});
    auto* city = pairGroup(QStringLiteral("都市計画法"),
        {{QStringLiteral("都市計画"), addEdit("EdtTosiKeikaku", F(Field::TosiKeikaku), false)},
         {QStringLiteral("用途地域"), addEdit("EdtYoutoTiiki2", F(Field::YoutoTiiki), false)}});
    auto* national = pairGroup(QStringLiteral("国土利用計画法"),
        {{QStringLiteral("国土法届出要否"), addEdit("EdtKokudoHou", F(Field::KokudoHou), false)}});
    auto* right = pairGroup(QStringLiteral("土地権利"),
        {{QStringLiteral("土地権利"), addEdit("EdtTotiKenri2", F(Field::TotiKenri), false)}});
    return sheet({column({building, national}), column({city, right})});
}

QWidget* TMainForm::buildMoneySheet()
{
    auto* item = pairGroup(QStringLiteral("物件"),
        {{QStringLiteral("価格(成約価格)"), addEdit("EdtKakaku2", F(Field::Kakaku), false)},
         {QStringLiteral("消費税"), addEdit("EdtSyouhiZei", F(Field::SyouhiZei), false)}});
    auto* land = pairGroup(QStringLiteral("土地"),
        {{QStringLiteral("坪単価"), addEdit("EdtTuboTanka", F(Field::TuboTanka), false)},
         {QStringLiteral("借地料"), addEdit("EdtSyakutiRyou", F(Field::SyakutiRyou), false)}});
    auto* manage = pairGroup(QStringLiteral("管理"),
        {{QStringLiteral("管理費"), addEdit("EdtKanrihi", F(Field::Kanrihi), false)},
         {QStringLiteral("修繕積立金"), addEdit("EdtSyuzenTumitate", F(Field::SyuzenTumitate), false)},
         {QStringLiteral("施設費用項目"), addEdit("EdtSisetuHiyuKoumoku", F(Field::SisetuHiyouKoumoku), false)},
         {QStringLiteral("施設費用/償却費"), addEdit("EdtSisetuHiyou", F(Field::SisetuHiyou), false)}});
    auto* rent = pairGroup(QStringLiteral("賃貸"),
        {{QStringLiteral("金額等区分１"), addEdit("EdtKingakuKubun1", F(Field::KingakuKubun1), false)},
         {QStringLiteral("金額・ヶ月"), addEdit("EdtKingaku1", F(Field::Kingaku1), false)},
         {QStringLiteral("金額等区分２"), addEdit("EdtKingakuKubun2", F(Field::KingakuKubun2), false)},
         {QStringLiteral("金額・ヶ月"), addEdit("EdtKingaku2", F(Field::Kingaku2), false)}});
    auto* parking = pairGroup(QStringLiteral("駐車"),
        {{QStringLiteral("駐車料月額"), addEdit("EdtTyusyaRyou", F(Field::TyusyaRyou), false)}});
    return sheet({column({item, land, parking}), column({manage, rent})});
}

QWidget* TMainForm::buildTradeSheet()
{
    auto* handover = pairGroup(QStringLiteral("引渡項目"),
        {{QStringLiteral("引渡時期"), addEdit("EdtHikiwatasiJiki", F(Field::HikiwatasiJiki), false)},
         {QStringLiteral("引渡年月"), addEdit("EdtHikiwatasiNengetu", F(Field::HikiwatasiNengetu), false)},
         {QStringLiteral("引渡旬"), addEdit("EdtHikiwatasiJyun", F(Field::HikiwatasiJyun), false)}});
    auto* condition = wrapGroup(QStringLiteral("建築条件・建物賃貸借区分"),
                                {addEdit("EdtKentikuJyoken", F(Field::KentikuJyoken), false)});
    auto* trade = new QGroupBox(QStringLiteral("取引項目"));
    {
        auto* g = new QGridLayout(trade);
        g->setContentsMargins(4, 2, 4, 4);
        g->setSpacing(2);
        g->addWidget(new QLabel(QStringLiteral("取引態様")), 0, 0);
        g->addWidget(addEdit("EdtTorihikiTaiyou2", F(Field::TorihikiTaiyou), false), 0, 1);
        g->addWidget(new QLabel(QStringLiteral("報酬形態")), 1, 0);
        g->addWidget(addEdit("EdtHousyuu2", F(Field::Housyuu), false), 1, 1);
        g->addWidget(handover, 2, 0, 1, 2);
        g->addWidget(condition, 3, 0, 1, 2);
    }
    EdtEmail = addEdit("EdtEmail", F(Field::EMail), true);
    EdtEmail->setToolTip(QStringLiteral("メールアドレスがあれば、クリックするとメーラーが起動します"));
    EdtEmail->setCursor(Qt::PointingHandCursor);
    GroupKaiin2 = pairGroup(QStringLiteral("会員項目"),
        {{QStringLiteral("会員名"), addEdit("EdtKaiinmei2", F(Field::KaiinMei), false)},
         {QStringLiteral("会員番号"), addEdit("EdtKaiinNum", F(Field::KaiinNum), false)},
         {QStringLiteral("電話番号"), addEdit("EdtTel2", F(Field::Tel), false)},
         {QStringLiteral("問合せ担当者"), addEdit("EdtTantou", F(Field::Tantou), false)},
         {QStringLiteral("問合せ電話番号"), addEdit("EdtToiawaseTel", F(Field::ToiawaseTel), false)},
         {QStringLiteral("Eメールアドレス"), EdtEmail}});
    GroupKaiin2->setObjectName(QStringLiteral("GroupKaiin2"));
    return sheet({column({trade}), column({GroupKaiin2})});
}

QWidget* TMainForm::buildOtherSheet()
{
    auto* drawings = wrapGroup(QStringLiteral("図面有無"), {addEdit("EdtZumen", F(Field::Zumen), false)});
    auto* memo = wrapGroup(QStringLiteral("備考"), {addMemo("MemoBikou2", F(Field::Bikou), false)});
    auto* memo2 = wrapGroup(QStringLiteral("備考２"), {addMemo("MemoBikou3", F(Field::Bikou2), false)});
    auto* w = new QWidget;
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(4, 4, 4, 4);
    l->setSpacing(4);
    drawings->setMaximumWidth(200);
    l->addWidget(drawings);
    l->addWidget(memo, 1);
    l->addWidget(memo2, 1);
    return w;
}

// ---------------------------------------------------------------- windows

void TMainForm::AttachWindows(TAboutBox* about, TKvSetDlg* setDlg, TSeparationForm* separation)
{
    aboutBox_ = about;
    setDlg_ = setDlg;
    separation_ = separation;
}

TSeparationForm* TMainForm::SeparationForm()
{
    if (!separation_)
        separation_ = new TSeparationForm(this);
    return separation_;
}

TKvSetDlg* TMainForm::KvSetDlg()
{
    if (!setDlg_)
        setDlg_ = new TKvSetDlg(this);
    return setDlg_;
}

TAboutBox* TMainForm::AboutBox()
{
    if (!aboutBox_)
        aboutBox_ = new TAboutBox(this);
    return aboutBox_;
}

// ---------------------------------------------------------------- loading

bool TMainForm::LoadFile(const QString& path)
{
    ListingData& data = Listings();
    // The table must not change while an export reads it.
    if (HtmlExportRunningNow())
        return false;

    const std::string previousFile = data.CurrentFileName;
    // The stripped save reads the file again later: keep it by full path.
    data.CurrentFileName = u8(QFileInfo(path).absoluteFilePath());
    const LoadOutcome outcome = LoadListingFile(data, data.CurrentFileName);

    switch (outcome.status) {
    case LoadOutcome::Status::CannotOpen:
        // Nothing was read, so the listings on show still belong to the
        // previous file; the stripped save must read that one again.
        data.CurrentFileName = previousFile;
        Say(Tone::Error, outcome.message, this);
        return false;
    case LoadOutcome::Status::ConversionError:
        Say(Tone::Plain, outcome.message, this);
        DataHighNumLbl->setText(q(outcome.totalCaption));
        return false;
    case LoadOutcome::Status::ReadFailed:
        Say(Tone::Error, outcome.message, this);
        DataHighNumLbl->setText(q(outcome.totalCaption));
        return false;
    case LoadOutcome::Status::NoListings:
        DataHighNumLbl->setText(q(outcome.totalCaption));
        if (!outcome.title.empty())
            setWindowTitle(q(outcome.title));
        Say(Tone::Error, outcome.message, this);
        return false;
    case LoadOutcome::Status::Ok:
        break;
    }
    DataHighNumLbl->setText(q(outcome.totalCaption));
    if (!outcome.title.empty())
        setWindowTitle(q(outcome.title));
    commonTailAfterLoad();
    return data.ListingCount > 0;
}

void TMainForm::commonTailAfterLoad()
{
    if (Listings().ListingCount > 0) {
        DataNumEdit->setText(QStringLiteral("1"));
        ShowListing(1);
    }
}

void TMainForm::FileOpenMenuClick()
{
    if (HtmlExportRunningNow())
        return;
    const QString path = openChooser_ ? openChooser_() : runOpenDialog();
    if (path.isEmpty())
        return;
    LoadFile(path);
}

QFileDialog* TMainForm::OpenDialog()
{
    if (!openDialog_) {
        openDialog_ = new QFileDialog(this);
        openDialog_->setObjectName(QStringLiteral("OpenDialog"));
        openDialog_->setFileMode(QFileDialog::ExistingFile);
        openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        openDialog_->setNameFilters(services::OpenDialogFilters());
    }
    return openDialog_;
}

QString TMainForm::runOpenDialog()
{
    QFileDialog* d = OpenDialog();
    d->selectFile(QString());
    d->selectNameFilter(services::OpenDialogFilters().at(static_cast<int>(services::OpenFilter::Text)));
    if (d->exec() != QDialog::Accepted)
        return {};
    return d->selectedFiles().value(0);
}

QString TMainForm::pickHtmlTemplate()
{
    QFileDialog* d = OpenDialog();
    d->selectFile(QString());
    d->selectNameFilter(services::OpenDialogFilters().at(static_cast<int>(services::OpenFilter::Html)));
    if (d->exec() != QDialog::Accepted)
        return {};
    return d->selectedFiles().value(0);
}

void TMainForm::SetOpenFileChooser(std::function<QString()> chooser) { openChooser_ = std::move(chooser); }
void TMainForm::SetSaveFileChooser(std::function<QString()> chooser) { saveChooser_ = std::move(chooser); }

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
    if (HtmlExportRunningNow()) {
        Say(Tone::Warning, msg::kCannotLoadDuringHtmlExport, this);
        return;
    }
    // Several files dropped: only the first is loaded.
    LoadFile(path);
}

// ---------------------------------------------------------------- display

void TMainForm::ShowListing(int number)
{
    const ListingData& data = Listings();
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
}

void TMainForm::ApplyMemberVisibility()
{
    GroupKaiin->setVisible(services::Settings().MemberViewOk);
    GroupKaiin2->setVisible(services::Settings().MemberViewOk);
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
    const ListingData& data = Listings();
    // After a load that failed the number box still shows the old number
    // while the table is empty: there is no listing to read then.
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
    if (n < Listings().ListingCount)
        stepTo(std::max(n, 0) + 1);
}

void TMainForm::BackDataViewBtnClick()
{
    const int n = ShownListingNumber();
    const int count = Listings().ListingCount;
    if (count > 0 && n > 1)
        stepTo(std::min(n - 1, count));
}

void TMainForm::TopDataViewBtnClick()
{
    if (Listings().ListingCount > 0)
        stepTo(1);
}

void TMainForm::ViewLastDataBtnClick()
{
    const int count = Listings().ListingCount;
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

// ---------------------------------------------------------------- commands

void TMainForm::SaveMemberDelClick()
{
    const ListingData& data = Listings();
    if (data.ListingCount == 0)
        return;
    const QString target = saveChooser_ ? saveChooser_() : runSaveDialog();
    if (target.isEmpty())
        return;
    const StripOutcome out = SaveMemberStripped(data.CurrentFileName, u8(target));
    if (!out.ok)
        Say(Tone::Error, out.message, this);
}

QString TMainForm::runSaveDialog()
{
    QFileDialog d(this);
    d.setObjectName(QStringLiteral("SaveDialog"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setNameFilter(services::StrippedSaveFilter());
    d.setDefaultSuffix(services::StrippedSaveSuffix());
    d.setOption(QFileDialog::DontConfirmOverwrite, false);
    d.setSizeGripEnabled(true);
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

void TMainForm::PrintMenuClick()
{
    if (Listings().ListingCount == 0)
        return;
    // The report dialog connects here (report printing).
    emit PrintRequested();
}

void TMainForm::ToolPreViewBtnClick()
{
    if (Listings().ListingCount == 0)
        return;
    // The preview of the listing on show connects here (report printing).
    emit PreviewRequested();
}

void TMainForm::HTMLH1Click()
{
    if (HtmlExportRunningNow())
        return;
    htmlController_->HtmlMenuClick();
}

void TMainForm::ExitMenuClick() { close(); }

void TMainForm::KvSetupDlgMenuClick()
{
    if (KvSetDlg()->exec() == QDialog::Accepted)
        ApplyMemberVisibility();
}

void TMainForm::ChildMenuClick()
{
    TSeparationForm* f = SeparationForm();
    f->show();
    f->raise();
    f->activateWindow();
}

void TMainForm::SupportMenuClick() { CurrentPrompter().OpenWithShell(kSupportPageUrl); }

void TMainForm::ReadDocMenuClick()
{
    const QUrl document = QUrl::fromLocalFile(q(services::ShippedFile("Readme.txt")));
    CurrentPrompter().OpenWithShell(document.toEncoded().toStdString());
}

void TMainForm::aboutClick() { AboutBox()->exec(); }

void TMainForm::SetHtmlExportRunning(bool running)
{
    htmlExportRunning_ = running;
    for (QAction* a : {FileOpenBtn, FileOpenMenu, HTMLH1, MakeHtmlBtn})
        a->setEnabled(!running);
}

bool TMainForm::HtmlExportRunningNow() const
{
    return HtmlExportRunning() || htmlExportRunning_;
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The export's worker reads the table: no closing until its end message.
    if (HtmlExportRunningNow())
        event->ignore();
    else
        event->accept();
}

} // namespace kovra
