// The main window's boxes: the top row and the seven tabs, each box with
// its caption, the field it shows and, for those that can be dragged to the
// detached field window, its tag.
#include "MainForm.h"
#include "MainFormSupport.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

namespace kovra {

namespace {

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

} // namespace kovra
