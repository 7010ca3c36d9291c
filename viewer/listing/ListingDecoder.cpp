#include "ListingDecoder.h"

#include "TextHelpers.h"

#include <span>

namespace kovra {

namespace {

constexpr int kListingHighestIndex = 199;

// Words of a table indexed by code 1..N; callers handle the ends.
template <std::size_t N>
constexpr Word pick(const Word (&table)[N], int code) { return table[code - 1]; }

constexpr Word kDataKind[] = {word("売物件"), word("成約売物件"), word("賃貸物件"), word("会員"), word("成約賃貸")};

constexpr Word kSaleLand[] = {word("売地"), word("借地権")};                       // T=1, M=1..2; 3+ 底地権
constexpr Word kSaleHouse[] = {word("新築戸建"), word("中古戸建"), word("新築テラス")}; // T=2, M=1..3; 4+ 中古テラス
constexpr Word kSaleCondo[] = {word("新築マンション"), word("中古マンション"), word("新築公団"), word("中古公団"),
                               word("新築公社"), word("中古公社"), word("新築タウン"), word("中古タウン")}; // T=3, M=1..8
constexpr Word kSaleWhole[] = {word("店舗"), word("店舗"), word("店舗付住宅"), word("住宅付店舗"), word("事務所"),
                               word("店舗事務"), word("ビル"), word("工場"), word("マンション"), word("倉庫"),
                               word("アパート"), word("寮"), word("旅館"), word("ホテル"), word("別荘")}; // T=4, M=1..15
constexpr Word kRentHome[] = {word("マンション"), word("アパート"), word("貸家"), word("テラス"), word("タウン")}; // T=1, M=1..5
constexpr Word kRentBusiness[] = {word("店舗戸建"), word("店舗一部"), word("事務所"), word("店舗事務"), word("工場"),
                                  word("倉庫"), word("貸家"), word("マンション"), word("旅館"), word("寮"),
                                  word("別荘"), word("土地"), word("ビル"), word("住店舗戸建")}; // T>=2, M=1..14

constexpr Word kDirection[] = {word("北"), word("北東"), word("東"), word("南東"),
                               word("南"), word("南西"), word("西"), word("北西")};
constexpr Word kZoning[] = {word("一種低層"), word("二種中高層"), word("二種住居"), word("近隣商業"), word("商業"),
                            word("準工業"), word("工業"), word("工業専用"), word("工業専用"), word("二種低層"),
                            word("一種中高層"), word("一種住居")}; // 1..12; 13+ 準住居
constexpr Word kLandRight[] = {word("所有権"), word("旧法地上権"), word("旧法賃借権"), word("普通地上権"),
                               word("定期地上権"), word("普通賃借権"), word("定期賃借権")}; // 1..7; 8+ 一時使用
constexpr Word kParking[] = {word("空有り"), word("空無し"), word("近隣")};             // 1..3; 4+ 無し
constexpr Word kRoomType[] = {word("和"), word("洋"), word("DK"), word("LDK"),
                              word("L"), word("D"), word("K"), word("K")};              // 1..8; 9+ 他
constexpr Word kStructure[] = {word("木造"), word("ブロック"), word("鉄骨造り"), word("RC"),
                               word("SRC"), word("PC"), word("HPC"), word("HPC")};     // 1..8; 9+ その他
constexpr Word kTerrain[] = {word("平坦"), word("高台"), word("低地"), word("ひな段"), word("傾斜地")};
constexpr Word kPresentState[] = {word("居住中"), word("空家"), word("賃貸中"), word("未完成")};

// Layout suffixes for codes 1..8 (8 and more: "SLDK"), with their marker forms.
constexpr std::string_view kLayout[] = {"ワンルーム", "K", "DK", "LK", "LDK", "SK", "SDK", "SLDK"};
constexpr Word kLayoutAbsent[] = {word("-----ワンルーム"), word("-----K"), word("-----DK"), word("-----LK"),
                                  word("-----LDK"), word("-----SK"), word("-----SDK"), word("-----SLDK")};

// A text code "1".."N" compared exactly ("01" is not "1"); 0 when it is none.
template <std::size_t N>
int textCode(std::string_view col)
{
    if (col.size() == 1 && col[0] >= '1' && col[0] <= '9') {
        const int code = col[0] - '0';
        return code <= static_cast<int>(N) ? code : 0;
    }
    return 0;
}

// Text-coded table: "1".."N" pick a word; empty gives `empty`, other text `other`.
template <std::size_t N>
Word textTable(std::string_view col, const Word (&table)[N], Word empty, Word other)
{
    if (col.empty())
        return empty;
    const int code = textCode<N>(col);
    return code ? table[code - 1] : other;
}

} // namespace

ListingDecoder::ListingDecoder() { cols_.resize(kListingHighestIndex + 1); }

bool DecodeListingLine(TKovraDataClass& record, std::string_view line)
{
    ListingDecoder decoder;
    return decoder.decode(line, record);
}

bool ListingDecoder::decode(std::string_view line, TKovraDataClass& record, RecordArena* arena)
{
    // Spaces go first, even those inside names and remarks.
    prepared_.clear();
    AppendWithoutSpaces(prepared_, line);
    for (auto& c : cols_)
        c = {};
    SplitFields(prepared_, cols_, kListingHighestIndex);
    const auto col = [this](int n) { return cols_[static_cast<std::size_t>(n)]; };

    int K = 0, T = 0, M = 0;
    if (!ParseInt32(col(3), K) || !ParseInt32(col(4), T) || !ParseInt32(col(5), M))
        return false;
    const bool sale = K == 1 || K == 2;
    const bool rental = K == 3 || K == 5;

    // Integer columns that are converted only when not empty.
    int code = 0;
    bool failed = false;
    const auto optInt = [&](int n, bool& present) {
        present = !col(n).empty();
        if (present && !ParseInt32(col(n), code))
            failed = true;
        return present;
    };

    RecordBuilder& b = builder_;
    b.clear();
    const Word absent = word("-----");
    const auto number = [&](int n) { return NumberText(col(n)); };
    const auto numberUnit = [&](int n, Word marker, std::string_view unit) { b.addWithUnit(number(n), marker, unit); };
    const auto grouped = [&](int n) {
        const std::string_view nt = number(n);
        if (nt == kAbsent) {
            b.add(word("--,---円"));
        } else {
            scratch_ = GroupThousands(nt);
            b.add(scratch_, "円");
        }
    };
    const auto copyOrAbsent = [&](int n) {
        if (col(n).empty())
            b.add(absent);
        else
            b.add(col(n));
    };

    // 1 BukkennNum, 2 TourokuNenGappi
    scratch_.clear();
    AppendWithoutChar(scratch_, col(1), '"');
    b.add(scratch_);
    scratch_.clear();
    AppendEraDateText(scratch_, col(2));
    b.add(scratch_);

    // 3 DataSyubetu
    b.add(K >= 1 && K <= 5 ? pick(kDataKind, K) : word("Error"));

    // 4 BukkennSyubetu
    Word type = word("Error");
    if (sale) {
        if (T == 1) type = word("土地");
        else if (T == 2) type = word("戸建");
        else if (T == 3) type = word("マンション");
        else if (T == 4) type = word("他全");
        else if (T >= 5) type = word("外一");
    } else if (rental) {
        type = T <= 0 ? word("外一") : T == 1 ? word("居住用") : word("事業用");
    } else if (T == 4) {
        type = word("-");
    }
    b.add(type);
    const bool land = type == word("土地");

    // 5 BukkennSyumoku
    Word item = K == 4 ? word("-") : word("Error");
    if (sale) {
        switch (T) {
        case 1:
            if (M >= 3) item = word("底地権");
            else if (M >= 1) item = pick(kSaleLand, M);
            break;
        case 2:
            item = M <= 0 ? word("底地権") : M >= 4 ? word("中古テラス") : pick(kSaleHouse, M);
            break;
        case 3:
            item = M <= 0 ? word("中古テラス") : M >= 9 ? word("リゾートマンション") : pick(kSaleCondo, M);
            break;
        case 4:
            item = (M <= 0 || M >= 16) ? word("リゾートマンション") : pick(kSaleWhole, M);
            break;
        case 5:
            item = M <= 1 ? word("その他") : M <= 4 ? word("店舗") : M == 5 ? word("事務所") : word("店舗事務");
            break;
        default:
            break;
        }
    } else if (rental) {
        if (T <= 0)
            item = word("その他");
        else if (T == 1) {
            if (M <= 0) item = word("その他");
            else if (M <= 5) item = pick(kRentHome, M);
        } else {
            item = M <= 0 ? word("間借り") : M >= 15 ? word("住店舗一部") : pick(kRentBusiness, M);
        }
    }
    b.add(item);

    // 6 .. 10
    numberUnit(6, word("-----万円"), "万円");
    numberUnit(7, word("-----㎡"), "㎡");
    numberUnit(8, word("-----万円"), "万円");
    numberUnit(9, word("-----㎡"), "㎡");
    numberUnit(10, word("-----㎡"), "㎡");
    // 11 Syozaitimei: the second address column loses its quotes, the first keeps them.
    scratch_.assign(col(15));
    AppendWithoutChar(scratch_, col(16), '"');
    b.add(scratch_);
    copyOrAbsent(17);                                  // 12 Koutuu
    numberUnit(18, word("-----分"), "分");              // 13 Bus
    if (col(19).empty()) b.add(word(""));               // 14 Toho0
    else numberUnit(19, word("-----分"), "分");
    if (col(20).empty()) b.add(word(""));               // 15 Toho1
    else numberUnit(20, word("-----m"), "m");
    numberUnit(21, word("-----%"), "%");                // 16 KenpeiRitu
    numberUnit(22, word("-----%"), "%");                // 17 YousekiRitu

    // 18 HeyaKazu: layout code (integer) with the room count.
    bool present = false;
    if (optInt(23, present), failed)
        return false;
    if (!present) {
        b.add(absent);
    } else if (code <= 0) {
        b.add(word(""));
    } else {
        const int k = code >= 8 ? 8 : code;
        const std::string_view count = number(24);
        if (count == kAbsent)
            b.add(kLayoutAbsent[k - 1]);
        else
            b.add(count, kLayout[k - 1]);
    }
    b.add(col(25)); // 19 SonotaKoutuu

    // 20..23 road directions, 24..27 road widths
    for (int n : {26, 32, 87, 89})
        b.add(textTable(col(n), kDirection, absent, word("error")));
    for (int n : {27, 33, 88, 90})
        numberUnit(n, word("-----m"), "m");

    // 28 .. 31
    constexpr Word kFrontage[] = {word("一方"), word("角地"), word("三方"), word("四方"), word("二方")};
    constexpr Word kRoadKind[] = {word("公道"), word("私道")};
    constexpr Word kPosition[] = {word("有り"), word("無し")};
    b.add(textTable(col(28), kFrontage, absent, word("error")));
    b.add(textTable(col(29), kRoadKind, absent, word("error")));
    b.add(textTable(col(30), kPosition, absent, word("error")));
    numberUnit(31, word("-----m"), "m");

    scratch_.clear(); // 32 TikuNengetu
    AppendYearMonthText(scratch_, col(34));
    b.add(scratch_);

    constexpr Word kLandCategory[] = {word("宅地"), word("田"), word("畑"), word("山林"), word("雑種地")};
    constexpr Word kCityPlanning[] = {word("市街化区域"), word("調整区域"), word("未線引き"), word("都市計画区域外")};
    b.add(textTable(col(35), kLandCategory, absent, absent)); // 33 Timoku
    b.add(textTable(col(36), kCityPlanning, absent, absent)); // 34 TosiKeikaku

    // 35 TorihikiTaiyou: empty (not the marker) for anything unlisted.
    {
        const std::string_view c37 = col(37);
        Word mode = word("");
        if (sale) {
            constexpr Word kSaleMode[] = {word("売主"), word("代理"), word("専属"), word("専任"), word("一般")};
            if (const int m = textCode<5>(c37)) mode = kSaleMode[m - 1];
        } else if (rental) {
            constexpr Word kRentMode[] = {word("貸主"), word("代理"), word("専任"), word("一般")};
            if (c37 == "-1") mode = word("他");
            else if (const int m = textCode<4>(c37)) mode = kRentMode[m - 1];
        }
        b.add(mode);
    }

    constexpr Word kFee[] = {word("分かれ"), word("当方不払")};
    constexpr Word kDrawings[] = {word("有"), word("無")};
    b.add(textTable(col(38), kFee, absent, absent));                   // 36 Housyuu
    b.add(textTable(col(39), kDrawings, word("Error"), word("Error"))); // 37 Zumen
    b.add(number(40));                                                  // 38 MansyonMei
    grouped(41);                                                        // 39 Kanrihi
    scratch_.clear(); // 40 KaiinNum
    AppendMemberNumberText(scratch_, col(42));
    b.add(scratch_);
    b.add(col(43));                                                     // 41 KaiinMei
    b.add(col(44));                                                     // 42 Tel
    scratch_.clear(); // 43 Bikou
    AppendWithoutChar(scratch_, col(45), '"');
    b.add(scratch_);
    numberUnit(46, word("-----万円"), "万円");                           // 44 SyouhiZei

    // 45 MensekiKeisoku follows the decoded property type.
    {
        constexpr Word kLandMeasure[] = {word("公簿"), word("実測")};
        constexpr Word kUnitMeasure[] = {word("壁芯"), word("内法")};
        b.add(textTable(col(47), land ? kLandMeasure : kUnitMeasure, absent, absent));
    }
    // 46 Genkyou
    {
        const std::string_view c48 = col(48);
        if (sale && T == 1) {
            constexpr Word kLot[] = {word("更地"), word("上物有")};
            b.add(textTable(c48, kLot, absent, absent));
        } else if ((sale && T >= 2 && T <= 5) || (rental && T >= 0 && T <= 2)) {
            b.add(textTable(c48, kPresentState, absent, absent));
        } else {
            b.add(word(""));
        }
    }

    constexpr Word kHandover[] = {word("即時"), word("相談"), word("期日指定")};
    constexpr Word kPartOfMonth[] = {word("上旬"), word("中旬"), word("下旬")};
    constexpr Word kNotification[] = {word("要"), word("届出中"), word("否")};
    b.add(textTable(col(49), kHandover, absent, absent));     // 47 HikiwatasiJiki
    scratch_.clear(); // 48 HikiwatasiNengetu
    AppendYearMonthText(scratch_, col(50));
    b.add(scratch_);
    b.add(textTable(col(51), kPartOfMonth, absent, absent));  // 49 HikiwatasiJyun
    b.add(textTable(col(52), kNotification, absent, absent)); // 50 KokudoHou

    // Integer tables: marker when empty, "Error" for 0 or less, the last word for the top codes.
    const auto intTable = [&](int n, std::span<const Word> table, Word top, int topCode) -> bool {
        if (optInt(n, present), failed)
            return false;
        if (!present) b.add(absent);
        else if (code <= 0) b.add(word("Error"));
        else if (code >= topCode) b.add(top);
        else b.add(table[static_cast<std::size_t>(code - 1)]);
        return true;
    };
    if (!intTable(53, kZoning, word("準住居"), 13)) return false;   // 51 YoutoTiiki
    if (!intTable(54, kLandRight, word("一時使用"), 8)) return false; // 52 TotiKenri

    // 53 KentikuJyoken
    if (land) {
        constexpr Word kCondition[] = {word("建築条件あり"), word("建築条件なし")};
        b.add(textTable(col(55), kCondition, absent, absent));
    } else {
        b.add(col(55).empty() ? absent : word("定期借家"));
    }

    if (!intTable(56, kParking, word("無し"), 4)) return false; // 54 TyuusyaJyou
    numberUnit(57, word("-----階"), "階");                      // 55 TijyouKai
    numberUnit(58, word("-----階"), "階");                      // 56 TikaKai
    numberUnit(59, word("-----階"), "階");                      // 57 SyozaiKai
    numberUnit(60, word("-----戸"), "戸");                      // 58 SouKosuu
    if (!intTable(61, kDirection, word("北西"), 8)) return false; // 59 Balcony

    // 60..63 two money items: kind and amount.
    const auto money = [&](int kindCol, int amountCol, Word markerUnit, std::string_view unit) -> bool {
        if (optInt(kindCol, present), failed)
            return false;
        const int kind = present ? code : 0;
        constexpr Word kMoneyKind[] = {word("保証金"), word("保証金"), word("権利金"), word("権利金"),
                                       word("礼金"), word("礼金")};
        if (!present || kind == 0) b.add(absent);
        else if (kind < 0) b.add(word(""));
        else b.add(kind >= 7 ? word("敷金") : kMoneyKind[kind - 1]);

        if (kind == 0) b.add(absent);
        else if (kind < 0) b.add(word(""));
        else if (kind <= 7 && kind % 2 == 1) numberUnit(amountCol, markerUnit, unit);
        else numberUnit(amountCol, word("-----ヶ月"), "ヶ月");
        return true;
    };
    if (!money(62, 63, word("-----万円"), "万円")) return false;
    if (!money(64, 65, word("-----円"), "円")) return false;

    // 64..79 four rooms: floor, type, size, count.
    for (int room = 0; room < 4; ++room) {
        const int base = 66 + room * 4;
        numberUnit(base, word("-----F"), "F");
        if (optInt(base + 1, present), failed)
            return false;
        if (!present || code == 0) b.add(absent);
        else if (code < 0) b.add(word("Error"));
        else b.add(code >= 9 ? word("他") : kRoomType[code - 1]);
        b.add(number(base + 2));
        b.add(number(base + 3));
    }

    // 80 Kouzou
    if (optInt(82, present), failed)
        return false;
    if (!present || code == 0) b.add(absent);
    else if (code < 0) b.add(word("Error"));
    else b.add(code >= 9 ? word("その他") : kStructure[code - 1]);

    copyOrAbsent(84); // 81 Tantou
    copyOrAbsent(85); // 82 ToiawaseTel
    copyOrAbsent(86); // 83 EMail

    // 84 Tisei
    if (optInt(91, present), failed)
        return false;
    if (!present || code == 0) b.add(absent);
    else if (code >= 1 && code <= 5) b.add(kTerrain[code - 1]);
    else b.add(word("Error"));

    b.add(col(92)); // 85 Bikou2
    // 86 SyakutiKikan: the column as it stands (leading zeros kept) + "ケ月".
    if (col(93).empty()) b.add(absent);
    else b.add(col(93), "ケ月");
    grouped(94);      // 87 SyakutiRyou
    copyOrAbsent(95); // 88 SisetuHiyouKoumoku
    grouped(96);      // 89 SisetuHiyou
    grouped(97);      // 90 TyusyaRyou
    grouped(98);      // 91 SyuzenTumitate

    // 92, 93: "0" counts as absent.
    const auto management = [&](std::string_view c, const auto& table) {
        if (c.empty() || c == "0") b.add(absent);
        else b.add(textTable(c, table, absent, word("Error")));
    };
    constexpr Word kManaged[] = {word("有"), word("無")};
    constexpr Word kManagementForm[] = {word("自主管理"), word("一部委託"), word("全部委託")};
    management(col(99), kManaged);
    management(col(100), kManagementForm);
    copyOrAbsent(101); // 94 KanriKaisya

    record = b.finish(arena);
    return true;
}

} // namespace kovra
