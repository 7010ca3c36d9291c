// Decoding one listing line into its display texts, table by table.
#include "ListingDecoder.h"
#include "ListingLine.h"

#include <gtest/gtest.h>

namespace {

using kovra::Field;
using kovra::TKovraDataClass;
using kovra::test::ListingLine;

TKovraDataClass Decode(const ListingLine& line)
{
    TKovraDataClass r;
    EXPECT_TRUE(kovra::DecodeListingLine(r, line.str())) << line.str();
    return r;
}

struct KindCase {
    int k, t, m;
    const char* kind;
    const char* type;
    const char* item;
};

// Guards the classification tables, their ends and the "no row" answers.
TEST(Decoder, Classification)
{
    const KindCase cases[] = {
        {1, 1, 1, "売物件", "土地", "売地"},
        {1, 1, 0, "売物件", "土地", "Error"},
        {1, 1, 7, "売物件", "土地", "底地権"},
        {1, 2, 0, "売物件", "戸建", "底地権"},
        {2, 2, 9, "成約売物件", "戸建", "中古テラス"},
        {1, 3, 0, "売物件", "マンション", "中古テラス"},
        {1, 3, 8, "売物件", "マンション", "中古タウン"},
        {1, 3, 9, "売物件", "マンション", "リゾートマンション"},
        {1, 4, 0, "売物件", "他全", "リゾートマンション"},
        {1, 4, 2, "売物件", "他全", "店舗"},
        {1, 4, 15, "売物件", "他全", "別荘"},
        {1, 4, 16, "売物件", "他全", "リゾートマンション"},
        {1, 5, 1, "売物件", "外一", "その他"},
        {1, 5, 4, "売物件", "外一", "店舗"},
        {1, 5, 6, "売物件", "外一", "店舗事務"},
        {1, 6, 1, "売物件", "外一", "Error"},
        {1, 0, 1, "売物件", "Error", "Error"},
        {3, 0, 5, "賃貸物件", "外一", "その他"},
        {3, 1, 0, "賃貸物件", "居住用", "その他"},
        {3, 1, 5, "賃貸物件", "居住用", "タウン"},
        {3, 1, 6, "賃貸物件", "居住用", "Error"},
        {5, 2, 0, "成約賃貸", "事業用", "間借り"},
        {5, 9, 14, "成約賃貸", "事業用", "住店舗戸建"},
        {3, 2, 15, "賃貸物件", "事業用", "住店舗一部"},
        {4, 4, 0, "会員", "-", "-"},
        {4, 1, 1, "会員", "Error", "-"},
        {0, 4, 1, "Error", "-", "Error"},
        {6, 1, 1, "Error", "Error", "Error"},
    };
    for (const KindCase& c : cases) {
        const auto r = Decode(ListingLine().kind(c.k, c.t, c.m));
        EXPECT_EQ(r.DataSyubetu(), c.kind) << c.k << "/" << c.t << "/" << c.m;
        EXPECT_EQ(r.BukkennSyubetu(), c.type) << c.k << "/" << c.t << "/" << c.m;
        EXPECT_EQ(r.BukkennSyumoku(), c.item) << c.k << "/" << c.t << "/" << c.m;
    }
}

struct FieldCase {
    const char* what;
    ListingLine line;
    Field field;
    const char* expected;
};

ListingLine Sale(int t = 1) { return ListingLine().kind(1, t, 1); }
ListingLine Rental(int t = 1) { return ListingLine().kind(3, t, 1); }

// Guards every other table and unit rule, including the odd markers.
TEST(Decoder, FieldRules)
{
    const FieldCase cases[] = {
        {"quotes off the number", Sale().set(1, "\"A12\""), Field::BukkennNum, "A12"},
        {"empty price", Sale(), Field::Kakaku, "-----万円"},
        {"price", Sale().set(6, "03980"), Field::Kakaku, "3980万円"},
        {"empty area", Sale(), Field::TotiMenseki, "-----㎡"},
        {"address keeps first quotes", Sale().set(15, "\"東京都").set(16, "\"緑\""), Field::Syozaitimei, "\"東京都緑"},
        {"spaces removed", Sale().set(17, "架空線　みどり 駅"), Field::Koutuu, "架空線みどり駅"},
        {"empty station", Sale(), Field::Koutuu, "-----"},
        {"empty walk stays empty", Sale(), Field::Toho0, ""},
        {"empty walk metres stays empty", Sale(), Field::Toho1, ""},
        {"walk", Sale().set(19, "7"), Field::Toho0, "7分"},
        {"layout empty", Sale(2), Field::HeyaKazu, "-----"},
        {"layout 3 without count", Sale(2).set(23, "3"), Field::HeyaKazu, "-----DK"},
        {"layout 0", Sale(2).set(23, "0"), Field::HeyaKazu, ""},
        {"layout 9", Sale(2).set(23, "9").set(24, "4"), Field::HeyaKazu, "4SLDK"},
        {"layout 1", Sale(2).set(23, "1").set(24, "1"), Field::HeyaKazu, "1ワンルーム"},
        {"direction 9", Sale().set(26, "9"), Field::SetudouHoukou0, "error"},
        {"direction 01", Sale().set(32, "01"), Field::SetudouHoukou1, "error"},
        {"direction 8", Sale().set(87, "8"), Field::SetudouHoukou2, "北西"},
        {"direction empty", Sale(), Field::SetudouHoukou3, "-----"},
        {"frontage", Sale().set(28, "5"), Field::SetudouJyoukyou, "二方"},
        {"frontage other", Sale().set(28, "6"), Field::SetudouJyoukyou, "error"},
        {"road kind", Sale().set(29, "2"), Field::SetudouSyubetu, "私道"},
        {"position", Sale().set(30, "1"), Field::SetudouItisitei, "有り"},
        {"built", Sale().set(34, "0903"), Field::TikuNengetu, "9年3月"},
        {"land category other", Sale().set(35, "6"), Field::Timoku, "-----"},
        {"city planning", Sale().set(36, "4"), Field::TosiKeikaku, "都市計画区域外"},
        {"sale mode", Sale().set(37, "3"), Field::TorihikiTaiyou, "専属"},
        {"rental mode -1", Rental().set(37, "-1"), Field::TorihikiTaiyou, "他"},
        {"rental mode 5 empty", Rental().set(37, "5"), Field::TorihikiTaiyou, ""},
        {"member mode empty", ListingLine().kind(4, 4, 0).set(37, "1"), Field::TorihikiTaiyou, ""},
        {"fee", Sale().set(38, "1"), Field::Housyuu, "分かれ"},
        {"drawings empty", Sale(), Field::Zumen, "Error"},
        {"building name zeros", Sale().set(40, "00ハイツ"), Field::MansyonMei, "ハイツ"},
        {"building name empty", Sale(), Field::MansyonMei, "-----"},
        {"fee grouped", Sale().set(41, "12000"), Field::Kanrihi, "12,000円"},
        {"fee decimal grouped", Sale().set(41, "1234.5"), Field::Kanrihi, "123,4.5円"},
        {"fee empty", Sale(), Field::Kanrihi, "--,---円"},
        {"member number", Sale().set(42, "1234567890"), Field::KaiinNum, "123456-7890"},
        {"member number empty", Sale(), Field::KaiinNum, "-"},
        {"remarks quotes", Sale().set(45, "\"静か\""), Field::Bikou, "静か"},
        {"measure land", Sale(1).set(47, "2"), Field::MensekiKeisoku, "実測"},
        {"measure condo", Sale(3).set(47, "1"), Field::MensekiKeisoku, "壁芯"},
        {"measure other", Sale(3).set(47, "3"), Field::MensekiKeisoku, "-----"},
        {"state lot", Sale(1).set(48, "2"), Field::Genkyou, "上物有"},
        {"state lot 3", Sale(1).set(48, "3"), Field::Genkyou, "-----"},
        {"state house", Sale(2).set(48, "4"), Field::Genkyou, "未完成"},
        {"state rental T=2", Rental(2).set(48, "2"), Field::Genkyou, "空家"},
        {"state rental T=3", Rental(3).set(48, "2"), Field::Genkyou, ""},
        {"state member", ListingLine().kind(4, 4, 0).set(48, "1"), Field::Genkyou, ""},
        {"handover", Sale().set(49, "3"), Field::HikiwatasiJiki, "期日指定"},
        {"part of month", Sale().set(51, "2"), Field::HikiwatasiJyun, "中旬"},
        {"notification", Sale().set(52, "2"), Field::KokudoHou, "届出中"},
        {"zoning 9", Sale().set(53, "9"), Field::YoutoTiiki, "工業専用"},
        {"zoning 13", Sale().set(53, "20"), Field::YoutoTiiki, "準住居"},
        {"zoning 0", Sale().set(53, "0"), Field::YoutoTiiki, "Error"},
        {"land right 8", Sale().set(54, "8"), Field::TotiKenri, "一時使用"},
        {"condition land", Sale(1).set(55, "2"), Field::KentikuJyoken, "建築条件なし"},
        {"condition land other", Sale(1).set(55, "0"), Field::KentikuJyoken, "-----"},
        {"fixed-term lease on 0", Rental().set(55, "0"), Field::KentikuJyoken, "定期借家"},
        {"no lease", Rental(), Field::KentikuJyoken, "-----"},
        {"parking 4", Sale().set(56, "7"), Field::TyuusyaJyou, "無し"},
        {"parking -1", Sale().set(56, "-1"), Field::TyuusyaJyou, "Error"},
        {"storeys", Sale().set(57, "12"), Field::TijyouKai, "12階"},
        {"units", Sale().set(60, "40"), Field::SouKosuu, "40戸"},
        {"balcony 9", Sale().set(61, "9"), Field::Balcony, "北西"},
        {"balcony 0", Sale().set(61, "0"), Field::Balcony, "Error"},
        {"money kind 2", Rental().set(62, "2").set(63, "2"), Field::KingakuKubun1, "保証金"},
        {"money months", Rental().set(62, "2").set(63, "2"), Field::Kingaku1, "2ヶ月"},
        {"money 万円", Rental().set(62, "1").set(63, "20"), Field::Kingaku1, "20万円"},
        {"money 円", Rental().set(64, "1").set(65, "20"), Field::Kingaku2, "20円"},
        {"money kind 0", Rental().set(62, "0").set(63, "5"), Field::Kingaku1, "-----"},
        {"money kind empty", Rental().set(63, "5"), Field::Kingaku1, "-----"},
        {"money kind 7", Rental().set(64, "7").set(65, "1"), Field::KingakuKubun2, "敷金"},
        {"money 9 months", Rental().set(64, "9").set(65, "1"), Field::Kingaku2, "1ヶ月"},
        {"money negative", Rental().set(62, "-1").set(63, "5"), Field::KingakuKubun1, ""},
        {"money negative amount", Rental().set(62, "-1").set(63, "5"), Field::Kingaku1, ""},
        {"room floor", Sale().set(78, "2"), Field::HeyaSyozaikai4, "2F"},
        {"room type 8", Sale().set(71, "8"), Field::HeyaTaipu2, "K"},
        {"room type 12", Sale().set(75, "12"), Field::HeyaTaipu3, "他"},
        {"room type -2", Sale().set(79, "-2"), Field::HeyaTaipu4, "Error"},
        {"room size", Sale().set(68, "06.5"), Field::HeyaHirosa1, "6.5"},
        {"structure 7", Sale().set(82, "7"), Field::Kouzou, "HPC"},
        {"structure 0", Sale().set(82, "0"), Field::Kouzou, "-----"},
        {"person empty", Sale(), Field::Tantou, "-----"},
        {"terrain 6", Sale().set(91, "6"), Field::Tisei, "Error"},
        {"terrain 4", Sale().set(91, "4"), Field::Tisei, "ひな段"},
        {"lease term zeros kept", Sale().set(93, "030"), Field::SyakutiKikan, "030ケ月"},
        {"lease term empty", Sale(), Field::SyakutiKikan, "-----"},
        {"land rent", Sale().set(94, "25000"), Field::SyakutiRyou, "25,000円"},
        {"facility name empty", Sale(), Field::SisetuHiyouKoumoku, "-----"},
        {"repair fund", Sale().set(98, "9800"), Field::SyuzenTumitate, "9,800円"},
        {"management 0", Sale().set(99, "0"), Field::KanriUmu, "-----"},
        {"management 3", Sale().set(99, "3"), Field::KanriUmu, "Error"},
        {"management form", Sale().set(100, "3"), Field::KanriKeitai, "全部委託"},
        {"management company empty", Sale(), Field::KanriKaisya, "-----"},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(Decode(c.line).field(c.field), c.expected) << c.what;
}

// Guards the conversion errors that stop a load.
TEST(Decoder, NonIntegerCodeColumnsFail)
{
    struct {
        const char* what;
        ListingLine line;
    } cases[] = {
        {"empty kind", ListingLine().set(3, "")},
        {"empty type", ListingLine().set(4, "")},
        {"letter item", ListingLine().set(5, "x")},
        {"layout text", ListingLine().set(23, "a")},
        {"zoning decimal", ListingLine().set(53, "1.0")},
        {"money kind too big", ListingLine().set(62, "99999999999")},
        {"room type", ListingLine().set(79, "?")},
        {"terrain", ListingLine().set(91, "+")},
    };
    for (const auto& c : cases) {
        TKovraDataClass r;
        EXPECT_FALSE(kovra::DecodeListingLine(r, c.line.str())) << c.what;
    }
    TKovraDataClass r;
    EXPECT_FALSE(kovra::DecodeListingLine(r, "1")) << "a line without commas has no codes";
}

// Guards the missing-column shift: a comma inside quotes moves every later column.
TEST(Decoder, CommaInQuotesShiftsColumns)
{
    const std::string line = ListingLine().set(1, "\"A,B\"").set(2, "1").set(3, "1").set(4, "1").set(5, "7").str();
    TKovraDataClass r;
    ASSERT_TRUE(kovra::DecodeListingLine(r, line));
    EXPECT_EQ(r.BukkennNum(), "A");
    EXPECT_EQ(r.TourokuNenGappi(), "平成B\"年月日");
    EXPECT_EQ(r.Kakaku(), "7万円"); // column 5 read as the price
}

// Guards the record storage: long inline texts and every field readable.
TEST(Decoder, LongTextsSurvive)
{
    const std::string remarks(5000, 'x');
    const auto r = Decode(Sale().set(45, remarks).set(92, "備考２"));
    EXPECT_EQ(r.Bikou(), remarks);
    EXPECT_EQ(r.Bikou2(), "備考２");
    EXPECT_EQ(r.field(94), "");
    EXPECT_EQ(r.field(-1), "");
}

} // namespace
