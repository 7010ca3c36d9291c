// The 94 fields of a listing, in their fixed order.
//
// This one list makes the record's accessors, the HTML placeholders
// ("/*BukkennNum*/" ...) and the JSON keys of `kovra dump`.  Never reorder:
// the order is the order of decoding, of the placeholders and of the dump.
#pragma once

#include <array>
#include <bitset>
#include <string_view>

#define KOVRA_LISTING_FIELDS(X) \
    X(BukkennNum) X(TourokuNenGappi) X(DataSyubetu) X(BukkennSyubetu) X(BukkennSyumoku) \
    X(Kakaku) X(TotiMenseki) X(TuboTanka) X(TatemonoMenseki) X(SidouMenseki) \
    X(Syozaitimei) X(Koutuu) X(Bus) X(Toho0) X(Toho1) \
    X(KenpeiRitu) X(YousekiRitu) X(HeyaKazu) X(SonotaKoutuu) \
    X(SetudouHoukou0) X(SetudouHoukou1) X(SetudouHoukou2) X(SetudouHoukou3) \
    X(SetudouFukuin0) X(SetudouFukuin1) X(SetudouFukuin2) X(SetudouFukuin3) \
    X(SetudouJyoukyou) X(SetudouSyubetu) X(SetudouItisitei) X(SetudouSetumen) \
    X(TikuNengetu) X(Timoku) X(TosiKeikaku) X(TorihikiTaiyou) X(Housyuu) X(Zumen) \
    X(MansyonMei) X(Kanrihi) X(KaiinNum) X(KaiinMei) X(Tel) X(Bikou) X(SyouhiZei) \
    X(MensekiKeisoku) X(Genkyou) X(HikiwatasiJiki) X(HikiwatasiNengetu) X(HikiwatasiJyun) \
    X(KokudoHou) X(YoutoTiiki) X(TotiKenri) X(KentikuJyoken) X(TyuusyaJyou) \
    X(TijyouKai) X(TikaKai) X(SyozaiKai) X(SouKosuu) X(Balcony) \
    X(KingakuKubun1) X(Kingaku1) X(KingakuKubun2) X(Kingaku2) \
    X(HeyaSyozaikai1) X(HeyaTaipu1) X(HeyaHirosa1) X(HeyaKazu1) \
    X(HeyaSyozaikai2) X(HeyaTaipu2) X(HeyaHirosa2) X(HeyaKazu2) \
    X(HeyaSyozaikai3) X(HeyaTaipu3) X(HeyaHirosa3) X(HeyaKazu3) \
    X(HeyaSyozaikai4) X(HeyaTaipu4) X(HeyaHirosa4) X(HeyaKazu4) \
    X(Kouzou) X(Tantou) X(ToiawaseTel) X(EMail) X(Tisei) X(Bikou2) \
    X(SyakutiKikan) X(SyakutiRyou) X(SisetuHiyouKoumoku) X(SisetuHiyou) \
    X(TyusyaRyou) X(SyuzenTumitate) X(KanriUmu) X(KanriKeitai) X(KanriKaisya)

namespace kovra {

// Field index (0-based) by name: Field::BukkennNum == 0 ... Field::KanriKaisya == 93.
enum class Field : int {
#define KOVRA_FIELD_ENUM(name) name,
    KOVRA_LISTING_FIELDS(KOVRA_FIELD_ENUM)
#undef KOVRA_FIELD_ENUM
};

inline constexpr std::array kFieldNames = {
#define KOVRA_FIELD_NAME(name) std::string_view(#name),
    KOVRA_LISTING_FIELDS(KOVRA_FIELD_NAME)
#undef KOVRA_FIELD_NAME
};

inline constexpr int kFieldCount = static_cast<int>(kFieldNames.size());
static_assert(kFieldCount == 94, "a listing has 94 fields");

// A set of fields (bit i: field i), such as the fields a search or an
// export treats as empty.
using FieldSet = std::bitset<kFieldCount>;

// Index of a field name (exact spelling), or -1.
constexpr int fieldIndex(std::string_view name)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (kFieldNames[static_cast<std::size_t>(i)] == name)
            return i;
    return -1;
}

} // namespace kovra
