// Every fixed display text the decoder can produce.
//
// A decoded listing stores such a text as a one-byte index into this list
// instead of the text itself: most of a listing's 94 fields are words from
// the code tables, so this keeps a million listings in a few hundred MB.
// word("...") is checked at compile time: a typo in a decoder table does
// not build.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kovra {

inline constexpr std::array kVocabulary = {
    std::string_view(""),
    // Absent and out-of-table markers, alone and with their units.
    std::string_view("-----"), std::string_view("Error"), std::string_view("error"), std::string_view("-"),
    std::string_view("-----万円"), std::string_view("-----㎡"), std::string_view("-----分"),
    std::string_view("-----m"), std::string_view("-----%"), std::string_view("-----階"),
    std::string_view("-----戸"), std::string_view("-----F"), std::string_view("-----円"),
    std::string_view("--,---円"), std::string_view("-----ヶ月"), std::string_view("-----年-----月"),
    std::string_view("-----ワンルーム"), std::string_view("-----K"), std::string_view("-----DK"),
    std::string_view("-----LK"), std::string_view("-----LDK"), std::string_view("-----SK"),
    std::string_view("-----SDK"), std::string_view("-----SLDK"), std::string_view("-----ケ月"),
    // Data kind, property type.
    std::string_view("売物件"), std::string_view("成約売物件"), std::string_view("賃貸物件"),
    std::string_view("会員"), std::string_view("成約賃貸"),
    std::string_view("土地"), std::string_view("戸建"), std::string_view("マンション"),
    std::string_view("他全"), std::string_view("外一"), std::string_view("居住用"), std::string_view("事業用"),
    // Property items.
    std::string_view("売地"), std::string_view("借地権"), std::string_view("底地権"),
    std::string_view("新築戸建"), std::string_view("中古戸建"), std::string_view("新築テラス"),
    std::string_view("中古テラス"), std::string_view("新築マンション"), std::string_view("中古マンション"),
    std::string_view("新築公団"), std::string_view("中古公団"), std::string_view("新築公社"),
    std::string_view("中古公社"), std::string_view("新築タウン"), std::string_view("中古タウン"),
    std::string_view("リゾートマンション"), std::string_view("店舗"), std::string_view("店舗付住宅"),
    std::string_view("住宅付店舗"), std::string_view("事務所"), std::string_view("店舗事務"),
    std::string_view("ビル"), std::string_view("工場"), std::string_view("倉庫"), std::string_view("アパート"),
    std::string_view("寮"), std::string_view("旅館"), std::string_view("ホテル"), std::string_view("別荘"),
    std::string_view("その他"), std::string_view("貸家"), std::string_view("テラス"), std::string_view("タウン"),
    std::string_view("間借り"), std::string_view("店舗戸建"), std::string_view("店舗一部"),
    std::string_view("住店舗戸建"), std::string_view("住店舗一部"),
    // Transaction mode, measuring, present state, building condition.
    std::string_view("売主"), std::string_view("代理"), std::string_view("専属"), std::string_view("専任"),
    std::string_view("一般"), std::string_view("他"), std::string_view("貸主"),
    std::string_view("公簿"), std::string_view("実測"), std::string_view("壁芯"), std::string_view("内法"),
    std::string_view("更地"), std::string_view("上物有"), std::string_view("居住中"), std::string_view("空家"),
    std::string_view("賃貸中"), std::string_view("未完成"),
    std::string_view("建築条件あり"), std::string_view("建築条件なし"), std::string_view("定期借家"),
    // Directions and roads.
    std::string_view("北"), std::string_view("北東"), std::string_view("東"), std::string_view("南東"),
    std::string_view("南"), std::string_view("南西"), std::string_view("西"), std::string_view("北西"),
    std::string_view("一方"), std::string_view("角地"), std::string_view("三方"), std::string_view("四方"),
    std::string_view("二方"), std::string_view("公道"), std::string_view("私道"),
    std::string_view("有り"), std::string_view("無し"),
    // Land, planning, fee, drawings, handover, notification.
    std::string_view("宅地"), std::string_view("田"), std::string_view("畑"), std::string_view("山林"),
    std::string_view("雑種地"), std::string_view("市街化区域"), std::string_view("調整区域"),
    std::string_view("未線引き"), std::string_view("都市計画区域外"),
    std::string_view("分かれ"), std::string_view("当方不払"), std::string_view("有"), std::string_view("無"),
    std::string_view("即時"), std::string_view("相談"), std::string_view("期日指定"),
    std::string_view("上旬"), std::string_view("中旬"), std::string_view("下旬"),
    std::string_view("要"), std::string_view("届出中"), std::string_view("否"),
    // Zoning, land right, parking.
    std::string_view("一種低層"), std::string_view("二種中高層"), std::string_view("二種住居"),
    std::string_view("近隣商業"), std::string_view("商業"), std::string_view("準工業"), std::string_view("工業"),
    std::string_view("工業専用"), std::string_view("二種低層"), std::string_view("一種中高層"),
    std::string_view("一種住居"), std::string_view("準住居"),
    std::string_view("所有権"), std::string_view("旧法地上権"), std::string_view("旧法賃借権"),
    std::string_view("普通地上権"), std::string_view("定期地上権"), std::string_view("普通賃借権"),
    std::string_view("定期賃借権"), std::string_view("一時使用"),
    std::string_view("空有り"), std::string_view("空無し"), std::string_view("近隣"),
    // Money kinds, room types, structures, terrain, management.
    std::string_view("保証金"), std::string_view("権利金"), std::string_view("礼金"), std::string_view("敷金"),
    std::string_view("和"), std::string_view("洋"), std::string_view("DK"), std::string_view("LDK"),
    std::string_view("L"), std::string_view("D"), std::string_view("K"),
    std::string_view("木造"), std::string_view("ブロック"), std::string_view("鉄骨造り"), std::string_view("RC"),
    std::string_view("SRC"), std::string_view("PC"), std::string_view("HPC"),
    std::string_view("平坦"), std::string_view("高台"), std::string_view("低地"), std::string_view("ひな段"),
    std::string_view("傾斜地"),
    std::string_view("自主管理"), std::string_view("一部委託"), std::string_view("全部委託"),
    // Common numbers with units, so that the usual short values cost one byte too.
    std::string_view("0"), std::string_view("1"), std::string_view("2"), std::string_view("3"),
    std::string_view("4"), std::string_view("5"), std::string_view("6"), std::string_view("7"),
    std::string_view("8"), std::string_view("9"), std::string_view("10"),
};

// Tag byte of a text stored inline rather than as a vocabulary index.
inline constexpr std::uint8_t kInlineTag = 0xFF;
static_assert(kVocabulary.size() < kInlineTag, "vocabulary indices fit one byte");

using Word = std::uint8_t;

// Index of a fixed text; a text missing from the list fails to compile.
consteval Word word(std::string_view text)
{
    for (std::size_t i = 0; i < kVocabulary.size(); ++i)
        if (kVocabulary[i] == text)
            return static_cast<Word>(i);
    throw "text missing from kVocabulary";
}

// Index of a text at run time, or kInlineTag when it is not in the list.
Word findWord(std::string_view text);

} // namespace kovra
