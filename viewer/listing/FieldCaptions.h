// The Japanese caption of each of the 94 fields: what the main window
// labels the field's box, so a spreadsheet's caption row reads like the
// window.  Fields the window shows under one repeated label (the four
// roads, the two money items, the four rooms) get the number of their
// group appended ("接道方向１", "室広さ３"), so no two captions are alike.
#pragma once

#include "FieldNames.h"

#include <array>
#include <string_view>

namespace kovra {

struct FieldCaption {
    Field field;
    std::string_view caption;
};

inline constexpr std::array<FieldCaption, 94> kFieldCaptionTable = {{
    {Field::BukkennNum, "物件番号"},
    {Field::TourokuNenGappi, "登録（成約）年月日"},
    {Field::DataSyubetu, "データー種別"},
    {Field::BukkennSyubetu, "物件種別"},
    {Field::BukkennSyumoku, "物件種目"},
    {Field::Kakaku, "価格（成約価格）"},
    {Field::TotiMenseki, "土地面積"},
    {Field::TuboTanka, "坪単価"},
    {Field::TatemonoMenseki, "建物面積"},
    {Field::SidouMenseki, "私道(バルコニー)面積"},
    {Field::Syozaitimei, "所在地名"},
    {Field::Koutuu, "交通の状況"},
    {Field::Bus, "バスアクセス"},
    {Field::Toho0, "徒歩1"},
    {Field::Toho1, "徒歩2"},
    {Field::KenpeiRitu, "建ぺい率"},
    {Field::YousekiRitu, "容積率"},
    {Field::HeyaKazu, "部屋数"},
    {Field::SonotaKoutuu, "その他交通手段"},
    {Field::SetudouHoukou0, "接道方向１"},
    {Field::SetudouHoukou1, "接道方向２"},
    {Field::SetudouHoukou2, "接道方向３"},
    {Field::SetudouHoukou3, "接道方向４"},
    {Field::SetudouFukuin0, "接道幅員１"},
    {Field::SetudouFukuin1, "接道幅員２"},
    {Field::SetudouFukuin2, "接道幅員３"},
    {Field::SetudouFukuin3, "接道幅員４"},
    {Field::SetudouJyoukyou, "接道状況"},
    {Field::SetudouSyubetu, "接道種別"},
    {Field::SetudouItisitei, "接道位置指定"},
    {Field::SetudouSetumen, "接道接面"},
    {Field::TikuNengetu, "築年月"},
    {Field::Timoku, "地目"},
    {Field::TosiKeikaku, "都市計画"},
    {Field::TorihikiTaiyou, "取引態様"},
    {Field::Housyuu, "報酬形態"},
    {Field::Zumen, "図面有無"},
    {Field::MansyonMei, "マンション名"},
    {Field::Kanrihi, "管理費"},
    {Field::KaiinNum, "会員番号"},
    {Field::KaiinMei, "会員名"},
    {Field::Tel, "電話番号"},
    {Field::Bikou, "備考"},
    {Field::SyouhiZei, "消費税"},
    {Field::MensekiKeisoku, "面積計測方法"},
    {Field::Genkyou, "現況"},
    {Field::HikiwatasiJiki, "引渡時期"},
    {Field::HikiwatasiNengetu, "引渡年月"},
    {Field::HikiwatasiJyun, "引渡旬"},
    {Field::KokudoHou, "国土法届出要否"},
    {Field::YoutoTiiki, "用途地域"},
    {Field::TotiKenri, "土地権利"},
    {Field::KentikuJyoken, "建築条件・建物賃貸借区分"},
    {Field::TyuusyaJyou, "駐車場在否"},
    {Field::TijyouKai, "地上階層"},
    {Field::TikaKai, "地下階層"},
    {Field::SyozaiKai, "所在階"},
    {Field::SouKosuu, "棟総戸数"},
    {Field::Balcony, "バルコニー方向"},
    {Field::KingakuKubun1, "金額等区分１"},
    {Field::Kingaku1, "金額・ヶ月１"},
    {Field::KingakuKubun2, "金額等区分２"},
    {Field::Kingaku2, "金額・ヶ月２"},
    {Field::HeyaSyozaikai1, "室所在階１"},
    {Field::HeyaTaipu1, "室タイプ１"},
    {Field::HeyaHirosa1, "室広さ１"},
    {Field::HeyaKazu1, "室数１"},
    {Field::HeyaSyozaikai2, "室所在階２"},
    {Field::HeyaTaipu2, "室タイプ２"},
    {Field::HeyaHirosa2, "室広さ２"},
    {Field::HeyaKazu2, "室数２"},
    {Field::HeyaSyozaikai3, "室所在階３"},
    {Field::HeyaTaipu3, "室タイプ３"},
    {Field::HeyaHirosa3, "室広さ３"},
    {Field::HeyaKazu3, "室数３"},
    {Field::HeyaSyozaikai4, "室所在階４"},
    {Field::HeyaTaipu4, "室タイプ４"},
    {Field::HeyaHirosa4, "室広さ４"},
    {Field::HeyaKazu4, "室数４"},
    {Field::Kouzou, "構造"},
    {Field::Tantou, "問合せ担当者"},
    {Field::ToiawaseTel, "問合せ電話番号"},
    {Field::EMail, "Eメールアドレス"},
    {Field::Tisei, "地勢"},
    {Field::Bikou2, "備考２"},
    {Field::SyakutiKikan, "借地期間"},
    {Field::SyakutiRyou, "借地料"},
    {Field::SisetuHiyouKoumoku, "施設費用項目"},
    {Field::SisetuHiyou, "施設費用/償却費"},
    {Field::TyusyaRyou, "駐車料月額"},
    {Field::SyuzenTumitate, "修繕積立金"},
    {Field::KanriUmu, "管理組合有無"},
    {Field::KanriKeitai, "管理形態"},
    {Field::KanriKaisya, "管理会社"},
}};

namespace detail {
constexpr bool captionsAreWellFormed()
{
    for (std::size_t i = 0; i < kFieldCaptionTable.size(); ++i) {
        if (static_cast<std::size_t>(kFieldCaptionTable[i].field) != i || kFieldCaptionTable[i].caption.empty())
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (kFieldCaptionTable[j].caption == kFieldCaptionTable[i].caption)
                return false;
    }
    return true;
}
} // namespace detail
static_assert(kFieldCaptionTable.size() == static_cast<std::size_t>(kFieldCount), "one caption per field");
static_assert(detail::captionsAreWellFormed(), "captions in field order, none empty, no two alike");

// Caption of field `index` (0..93).
constexpr std::string_view fieldCaption(int index)
{
    return kFieldCaptionTable[static_cast<std::size_t>(index)].caption;
}

} // namespace kovra
