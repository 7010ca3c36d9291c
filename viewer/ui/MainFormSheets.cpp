// The main window's boxes: the top row and the seven tabs, each box with
// its caption, the field it shows and, for those that can be dragged to the
// detached field window, its tag.
#include "MainForm.h"
#include "MainFormSupport.h"

#include "FieldCaptions.h"

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

// The caption of a box that shows one field: the one caption table's.
QString cap(Field field) { return q(fieldCaption(F(field))); }

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
    l->addWidget(caption(cap(Field::BukkennNum)));
    l->addWidget(addEdit("EdtBukkennNum", F(Field::BukkennNum), true), 3);
    l->addWidget(caption(cap(Field::Kakaku)));
    l->addWidget(addEdit("EdtKakaku", F(Field::Kakaku), true), 2);
    l->addWidget(caption(cap(Field::TourokuNenGappi)));
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
        {{cap(Field::DataSyubetu), addEdit("EdtDataSyubetu", F(Field::DataSyubetu), true, 5)},
         {cap(Field::BukkennSyubetu), addEdit("EdtBukkennSyubetu", F(Field::BukkennSyubetu), true, 6)},
         {cap(Field::BukkennSyumoku), addEdit("EdtBukkennSyumoku", F(Field::BukkennSyumoku), true, 7)}});
    auto* building = pairGroup(QStringLiteral("建物項目"),
        {{cap(Field::TatemonoMenseki), addEdit("EdtTatemonoMenseki", F(Field::TatemonoMenseki), true, 8)},
         {cap(Field::HeyaKazu), addEdit("EdtHeyaKazu", F(Field::HeyaKazu), true, 9)},
         {cap(Field::TikuNengetu), addEdit("EdtTikuNengetu", F(Field::TikuNengetu), true, 10)}});
    GroupKaiin = pairGroup(QStringLiteral("会員項目"),
        {{cap(Field::KaiinMei), addEdit("EdtKaiinmei", F(Field::KaiinMei), true, 14)},
         {cap(Field::Tel), addEdit("EdtTel", F(Field::Tel), true, 15)},
         {cap(Field::Housyuu), addEdit("EdtHousyuu", F(Field::Housyuu), true, 16)}});
    GroupKaiin->setObjectName(QStringLiteral("GroupKaiin"));
    auto* memo = wrapGroup(cap(Field::Bikou), {addMemo("MemoBikou", F(Field::Bikou), true)});
    auto* land = pairGroup(QStringLiteral("土地項目"),
        {{cap(Field::TotiMenseki), addEdit("EdtTotiMenseki", F(Field::TotiMenseki), true, 1)},
         {cap(Field::Timoku), addEdit("EdtTimoku", F(Field::Timoku), true, 2)},
         {cap(Field::YoutoTiiki), addEdit("EdtYoutoTiiki", F(Field::YoutoTiiki), true, 3)},
         {cap(Field::TotiKenri), addEdit("EdtTotiKenri", F(Field::TotiKenri), true, 4)}});
    auto* trade = pairGroup(QStringLiteral("取引項目"),
        {{cap(Field::TorihikiTaiyou), addEdit("EdtTorihikiTaiyou", F(Field::TorihikiTaiyou), true, 12)}});
    auto* place = wrapGroup(cap(Field::Syozaitimei), {addEdit("EdtSyozaitimei", F(Field::Syozaitimei), true, 13)});
    auto* state = wrapGroup(cap(Field::Genkyou), {addEdit("EdtGenkyou", F(Field::Genkyou), true, 11)});

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
        {{cap(Field::Koutuu), addEdit("EdtKoutuu", F(Field::Koutuu), false), 2},
         {cap(Field::Toho0), addEdit("EdtToho1", F(Field::Toho0), false)},
         {cap(Field::Toho1), addEdit("EdtToho2", F(Field::Toho1), false)},
         {cap(Field::SonotaKoutuu), addEdit("EdtSonotaKoutuu", F(Field::SonotaKoutuu), false), 2},
         {cap(Field::Bus), addEdit("EdtBus", F(Field::Bus), false), 2}}, 2);

    // The width box shows the road chosen in the direction list.
    EdtSetudouFukuin = addEdit("EdtSetudouFukuin", -1, false);
    CmbSetudouHoukou = new QComboBox;
    CmbSetudouHoukou->setObjectName(QStringLiteral("CmbSetudouHoukou"));
    CmbSetudouHoukou->setEditable(false);
    connect(CmbSetudouHoukou, &QComboBox::activated, this, &TMainForm::CmbSetudouHoukouChange);
    auto* road = pairGroup(QStringLiteral("接道関連"),
        {{QStringLiteral("接道方向"), CmbSetudouHoukou},
         {QStringLiteral("接道幅員"), EdtSetudouFukuin},
         {cap(Field::SetudouJyoukyou), addEdit("EdtSetudouJyoukyou", F(Field::SetudouJyoukyou), false)},
         {cap(Field::SetudouSyubetu), addEdit("EdtSetudouSyubetu", F(Field::SetudouSyubetu), false)},
         {cap(Field::SidouMenseki), addEdit("EdtSidouMenseki", F(Field::SidouMenseki), false)},
         {cap(Field::SetudouItisitei), addEdit("EdtSetudouItisitei", F(Field::SetudouItisitei), false)},
         {cap(Field::SetudouSetumen), addEdit("EdtSetudouSetumen", F(Field::SetudouSetumen), false)}});
    auto* land = pairGroup(QStringLiteral("土地関連"),
        {{cap(Field::TotiMenseki), addEdit("EdtTotiMenseki2", F(Field::TotiMenseki), false)},
         {cap(Field::Timoku), addEdit("EdtTimoku2", F(Field::Timoku), false)},
         {cap(Field::MensekiKeisoku), addEdit("EdtMensekiKeisoku2", F(Field::MensekiKeisoku), false)},
         {cap(Field::Genkyou), addEdit("EdtGenkyou3", F(Field::Genkyou), false)},
         {cap(Field::Tisei), addEdit("EdtTisei", F(Field::Tisei), false)},
         {cap(Field::SyakutiKikan), addEdit("EdtSyakutiKikan", F(Field::SyakutiKikan), false)}}, 2);
    auto* place = wrapGroup(cap(Field::Syozaitimei), {addEdit("EdtSyozaitimei2", F(Field::Syozaitimei), false)});
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
        eg->addWidget(new QLabel(cap(Field::Balcony)), 0, 0);
        eg->addWidget(addEdit("EdtBalcony", F(Field::Balcony), false), 0, 1);
        eg->addWidget(new QLabel(cap(Field::MensekiKeisoku)), 0, 2);
        eg->addWidget(addEdit("EdtMensekiKeisoku", F(Field::MensekiKeisoku), false), 0, 3);
        eg->setColumnStretch(1, 1);
        eg->setColumnStretch(3, 1);
        g->addWidget(extra, 2, 0, 1, 2);
    }
    auto* floors = pairGroup(QStringLiteral("階・戸数"),
        {{cap(Field::SouKosuu), addEdit("EdtSouKouu", F(Field::SouKosuu), false)},
         {cap(Field::SyozaiKai), addEdit("EdtSyozaiKai", F(Field::SyozaiKai), false)},
         {cap(Field::TijyouKai), addEdit("EdtTijyouKai", F(Field::TijyouKai), false)},
         {cap(Field::TikaKai), addEdit("EdtTikaKai", F(Field::TikaKai), false)}}, 2);
    auto* buildingGrp = new QGroupBox(QStringLiteral("建物関係"));
    {
        auto* g = new QGridLayout(buildingGrp);
        g->setContentsMargins(4, 2, 4, 4);
        g->setSpacing(2);
        g->addWidget(new QLabel(cap(Field::MansyonMei)), 0, 0);
        g->addWidget(addEdit("EdtMansyonmei", F(Field::MansyonMei), false), 0, 1);
        g->addWidget(new QLabel(cap(Field::Kouzou)), 1, 0);
        g->addWidget(addEdit("EdtKouzou", F(Field::Kouzou), false), 1, 1);
        g->addWidget(floors, 2, 0, 1, 2);
    }
    auto* state = pairGroup(QStringLiteral("現況・駐車場"),
        {{cap(Field::Genkyou), addEdit("EdtGenkyou2", F(Field::Genkyou), true, 11)},
         {cap(Field::TyuusyaJyou), addEdit("EdtTyuusyaJyou", F(Field::TyuusyaJyou), false)}}, 2);
    auto* manage = pairGroup(QStringLiteral("管理"),
        {{cap(Field::KanriUmu), addEdit("EdtKanriUmu", F(Field::KanriUmu), false)},
         {cap(Field::KanriKeitai), addEdit("EdtKanriKeitai", F(Field::KanriKeitai), false)},
         {cap(Field::KanriKaisya), addEdit("EdtKanriKaisya", F(Field::KanriKaisya), false), 2}}, 2);
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
        {{cap(Field::KenpeiRitu), addEdit("EdtKenpeiRitu", F(Field::KenpeiRitu), false)},
         {cap(Field::YousekiRitu), addEdit("EdtYousekiRitu", F(Field::YousekiRitu), false)}});
    auto* city = pairGroup(QStringLiteral("都市計画法"),
        {{cap(Field::TosiKeikaku), addEdit("EdtTosiKeikaku", F(Field::TosiKeikaku), false)},
         {cap(Field::YoutoTiiki), addEdit("EdtYoutoTiiki2", F(Field::YoutoTiiki), false)}});
    auto* national = pairGroup(QStringLiteral("国土利用計画法"),
        {{cap(Field::KokudoHou), addEdit("EdtKokudoHou", F(Field::KokudoHou), false)}});
    auto* right = pairGroup(QStringLiteral("土地権利"),
        {{cap(Field::TotiKenri), addEdit("EdtTotiKenri2", F(Field::TotiKenri), false)}});
    return sheet({column({building, national}), column({city, right})});
}

QWidget* TMainForm::buildMoneySheet()
{
    auto* item = pairGroup(QStringLiteral("物件"),
        {{QStringLiteral("価格(成約価格)"), addEdit("EdtKakaku2", F(Field::Kakaku), false)},
         {cap(Field::SyouhiZei), addEdit("EdtSyouhiZei", F(Field::SyouhiZei), false)}});
    auto* land = pairGroup(QStringLiteral("土地"),
        {{cap(Field::TuboTanka), addEdit("EdtTuboTanka", F(Field::TuboTanka), false)},
         {cap(Field::SyakutiRyou), addEdit("EdtSyakutiRyou", F(Field::SyakutiRyou), false)}});
    auto* manage = pairGroup(QStringLiteral("管理"),
        {{cap(Field::Kanrihi), addEdit("EdtKanrihi", F(Field::Kanrihi), false)},
         {cap(Field::SyuzenTumitate), addEdit("EdtSyuzenTumitate", F(Field::SyuzenTumitate), false)},
         {cap(Field::SisetuHiyouKoumoku), addEdit("EdtSisetuHiyuKoumoku", F(Field::SisetuHiyouKoumoku), false)},
         {cap(Field::SisetuHiyou), addEdit("EdtSisetuHiyou", F(Field::SisetuHiyou), false)}});
    auto* rent = pairGroup(QStringLiteral("賃貸"),
        {{cap(Field::KingakuKubun1), addEdit("EdtKingakuKubun1", F(Field::KingakuKubun1), false)},
         {QStringLiteral("金額・ヶ月"), addEdit("EdtKingaku1", F(Field::Kingaku1), false)},
         {cap(Field::KingakuKubun2), addEdit("EdtKingakuKubun2", F(Field::KingakuKubun2), false)},
         {QStringLiteral("金額・ヶ月"), addEdit("EdtKingaku2", F(Field::Kingaku2), false)}});
    auto* parking = pairGroup(QStringLiteral("駐車"),
        {{cap(Field::TyusyaRyou), addEdit("EdtTyusyaRyou", F(Field::TyusyaRyou), false)}});
    return sheet({column({item, land, parking}), column({manage, rent})});
}

QWidget* TMainForm::buildTradeSheet()
{
    auto* handover = pairGroup(QStringLiteral("引渡項目"),
        {{cap(Field::HikiwatasiJiki), addEdit("EdtHikiwatasiJiki", F(Field::HikiwatasiJiki), false)},
         {cap(Field::HikiwatasiNengetu), addEdit("EdtHikiwatasiNengetu", F(Field::HikiwatasiNengetu), false)},
         {cap(Field::HikiwatasiJyun), addEdit("EdtHikiwatasiJyun", F(Field::HikiwatasiJyun), false)}});
    auto* condition = wrapGroup(cap(Field::KentikuJyoken),
                                {addEdit("EdtKentikuJyoken", F(Field::KentikuJyoken), false)});
    auto* trade = new QGroupBox(QStringLiteral("取引項目"));
    {
        auto* g = new QGridLayout(trade);
        g->setContentsMargins(4, 2, 4, 4);
        g->setSpacing(2);
        g->addWidget(new QLabel(cap(Field::TorihikiTaiyou)), 0, 0);
        g->addWidget(addEdit("EdtTorihikiTaiyou2", F(Field::TorihikiTaiyou), false), 0, 1);
        g->addWidget(new QLabel(cap(Field::Housyuu)), 1, 0);
        g->addWidget(addEdit("EdtHousyuu2", F(Field::Housyuu), false), 1, 1);
        g->addWidget(handover, 2, 0, 1, 2);
        g->addWidget(condition, 3, 0, 1, 2);
    }
    EdtEmail = addEdit("EdtEmail", F(Field::EMail), true);
    EdtEmail->setToolTip(QStringLiteral("メールアドレスがあれば、クリックするとメーラーが起動します"));
    EdtEmail->setCursor(Qt::PointingHandCursor);
    GroupKaiin2 = pairGroup(QStringLiteral("会員項目"),
        {{cap(Field::KaiinMei), addEdit("EdtKaiinmei2", F(Field::KaiinMei), false)},
         {cap(Field::KaiinNum), addEdit("EdtKaiinNum", F(Field::KaiinNum), false)},
         {cap(Field::Tel), addEdit("EdtTel2", F(Field::Tel), false)},
         {cap(Field::Tantou), addEdit("EdtTantou", F(Field::Tantou), false)},
         {cap(Field::ToiawaseTel), addEdit("EdtToiawaseTel", F(Field::ToiawaseTel), false)},
         {cap(Field::EMail), EdtEmail}});
    GroupKaiin2->setObjectName(QStringLiteral("GroupKaiin2"));
    return sheet({column({trade}), column({GroupKaiin2})});
}

QWidget* TMainForm::buildOtherSheet()
{
    auto* drawings = wrapGroup(cap(Field::Zumen), {addEdit("EdtZumen", F(Field::Zumen), false)});
    auto* memo = wrapGroup(cap(Field::Bikou), {addMemo("MemoBikou2", F(Field::Bikou), false)});
    auto* memo2 = wrapGroup(cap(Field::Bikou2), {addMemo("MemoBikou3", F(Field::Bikou2), false)});
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
