// Realistic export files for the benchmarks: about 410 bytes a listing,
// 102 columns, Japanese addresses, names and remarks, many empty columns.
#pragma once

#include "Cp932Codec.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::bench {

inline std::string GenerateListingFile(int listings, unsigned seed = 7)
{
    static const char* towns[] = {"東京都架空区緑が丘", "東京都仮名市桜台二丁目", "神奈川県見本市港北区新横浜",
                                  "埼玉県試験市中央町", "千葉県空想市海浜幕張", "大阪府例示市北区北浜"};
    static const char* stations[] = {"架空線みどり台駅", "見本電鉄さくら通駅", "試験急行中央公園駅", "例示線北浜駅"};
    static const char* brokers[] = {"（株）みどり不動産", "さくら住宅販売（有）", "中央ホーム株式会社", "海浜エステート"};
    static const char* people[] = {"山田太郎", "佐藤花子", "鈴木一郎", "高橋良子"};
    static const char* remarks[] = {"南向き陽当り良好。駅まで平坦で買物便利な立地です。", "リフォーム済み、即入居可。",
                                    "角地につき開放感あり。閑静な住宅街。", "小学校まで徒歩５分、公園至近。"};
    std::mt19937 rng(seed);
    auto pick = [&](auto& arr) { return arr[rng() % (sizeof(arr) / sizeof(arr[0]))]; };
    auto num = [&](int lo, int hi) { return std::to_string(lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1))); };

    std::string utf8 = "3,KOVRA,EXPORT,01,ベンチ,261201\r\n";
    utf8.reserve(static_cast<std::size_t>(listings) * 470);
    std::string c[102];
    for (int n = 0; n < listings; ++n) {
        for (auto& s : c)
            s.clear();
        const int k = 1 + static_cast<int>(rng() % 5), t = 1 + static_cast<int>(rng() % 4);
        c[0] = "1";
        c[1] = std::to_string(21000000 + n);
        c[2] = num(10, 30) + "0" + num(1, 9) + num(10, 28);
        c[3] = std::to_string(k);
        c[4] = std::to_string(t);
        c[5] = num(1, 8);
        c[6] = num(500, 9800);
        c[7] = num(60, 300) + ".25";
        c[8] = num(50, 250);
        c[9] = num(25, 140) + ".50";
        c[15] = pick(towns);
        c[16] = "\"" + num(1, 9) + "丁目" + num(1, 30) + "番\"";
        c[17] = pick(stations);
        c[19] = num(2, 20);
        c[20] = num(100, 1500);
        c[21] = "60";
        c[22] = "200";
        c[23] = num(1, 8);
        c[24] = num(1, 4);
        c[25] = (n % 2 == 0) ? "バス停「中央」徒歩２分" : "";
        c[26] = num(1, 8);
        c[27] = "4.5";
        c[28] = num(1, 5);
        c[29] = num(1, 2);
        c[30] = num(1, 2);
        c[31] = "12.0";
        c[34] = num(10, 25) + "0" + num(1, 9);
        for (int i = 35; i <= 39; ++i)
            c[i] = num(1, 3);
        c[40] = (t == 3) ? "グリーンヒル緑が丘" : "";
        c[41] = (t == 3) ? num(8000, 25000) : "";
        c[42] = std::to_string(3000000000LL + n % 5000);
        c[43] = pick(brokers);
        c[44] = "0120-000-" + num(100, 999);
        c[45] = pick(remarks);
        c[46] = num(10, 150);
        for (int i = 47; i <= 56; ++i)
            c[i] = num(1, 3);
        c[57] = num(2, 12);
        c[59] = num(1, 2);
        c[61] = num(1, 8);
        c[62] = num(0, 7);
        c[63] = num(1, 3);
        for (int i = 66; i <= 73; ++i)
            c[i] = num(1, 6);
        c[82] = num(1, 6);
        c[84] = pick(people);
        c[85] = "0120-000-" + num(100, 999);
        c[86] = "info" + num(1, 99) + "@example.jp";
        c[91] = num(1, 5);
        c[92] = (n % 3 == 0) ? "現地案内は事前にご連絡ください。" : "";
        c[95] = (t == 3) ? "インターネット使用料" : "";
        c[96] = (t == 3) ? num(500, 3000) : "";
        c[99] = num(0, 2);
        c[100] = num(0, 3);
        c[101] = (t == 3) ? "架空管理サービス株式会社" : "";
        for (int i = 0; i < 102; ++i) {
            if (i)
                utf8.push_back(',');
            utf8 += c[i];
        }
        utf8 += "\r\n";
    }
    return cp932::fromUtf8(utf8);
}

// The next day's file of the same search, from a file made above: the
// header's date a day later; of the listings, 1% changed (the price, the
// data kind or the walking time), 0.5% gone, and 0.5% new ones at the end.
inline std::string GenerateNextDay(std::string_view previous, unsigned seed = 11)
{
    std::mt19937 rng(seed);
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < previous.size();) {
        std::size_t end = previous.find("\r\n", at);
        if (end == std::string_view::npos)
            end = previous.size();
        lines.push_back(previous.substr(at, end - at));
        at = end + 2;
    }
    auto columns = [](std::string_view line) {
        std::vector<std::string> c(1);
        for (const char ch : line) {
            if (ch == ',')
                c.emplace_back();
            else
                c.back().push_back(ch);
        }
        return c;
    };
    auto join = [](const std::vector<std::string>& c) {
        std::string line;
        for (std::size_t i = 0; i < c.size(); ++i)
            line += (i ? "," : "") + c[i];
        return line + "\r\n";
    };
    std::string out;
    out.reserve(previous.size() + previous.size() / 100);
    long long highest = 0;
    std::vector<std::string_view> listings;
    for (const std::string_view line : lines) {
        if (line.starts_with("3,")) {
            std::vector<std::string> c = columns(line);
            using namespace std::chrono;
            const int code = std::stoi(c[5]);
            const sys_days next = sys_days(year(2000 + code / 10000) / (code / 100 % 100) / (code % 100)) + days(1);
            const year_month_day d(next);
            char date[16];
            std::snprintf(date, sizeof date, "%02d%02u%02u", int(d.year()) % 100, unsigned(d.month()), unsigned(d.day()));
            c[5] = date;
            out += join(c);
        } else if (line.starts_with("1,")) {
            listings.push_back(line);
            highest = std::max(highest, std::stoll(columns(line)[1]));
        }
    }
    for (const std::string_view line : listings) {
        const unsigned roll = rng() % 1000;
        if (roll < 5)
            continue; // gone
        if (roll >= 15) {
            out += line;
            out += "\r\n";
            continue;
        }
        std::vector<std::string> c = columns(line);
        if (roll < 11)
            c[6] = std::to_string(std::stoi(c[6]) - 10 - static_cast<int>(rng() % 200));
        else if (roll < 13)
            c[3] = c[3] == "1" ? "2" : "1";
        else
            c[19] = std::to_string(1 + rng() % 20);
        out += join(c);
    }
    for (std::size_t n = 0; n < listings.size() / 200; ++n) {
        std::vector<std::string> c = columns(listings[rng() % listings.size()]);
        c[1] = std::to_string(++highest);
        out += join(c);
    }
    return out;
}

} // namespace kovra::bench
