#!/usr/bin/env python3
"""Writes data/samples/sample.txt: a small synthetic listing export file.

Every name, address, telephone number and e-mail address is made up (phone
numbers use the 0120-000 range style, mail addresses the example domains).
The file is CP932 with CR LF, like the files brokers receive.
"""
import random
import sys

rng = random.Random(20261207)

TOWNS = ["東京都架空区緑が丘", "東京都仮名市桜台", "神奈川県見本市港北", "埼玉県試験市中央", "千葉県空想市海浜",
         "大阪府例示市北浜", "東京都虚構区青葉台", "神奈川県模擬市みなと"]
LINES = ["架空線　みどり台駅", "見本電鉄　さくら通駅", "試験急行　中央公園駅", "例示線　北浜駅", "空想ライン　海浜駅"]
BROKERS = ["（株）みどり不動産", "さくら住宅販売（有）", "中央ホーム（株）", "海浜エステート", "北浜土地建物（株）"]
PEOPLE = ["山田　太郎", "佐藤　花子", "鈴木　一郎", "高橋　良子", "田中　誠"]
CONDOS = ["グリーンヒル緑が丘", "サクラパレス", "セントラルコート", "0ハーバービュー", "ベイサイド北浜"]
REMARKS = ["南向き陽当り良好。", "駅まで平坦、買物便利。", "リフォーム済み、即入居可。", "角地につき開放感あり。",
           "閑静な住宅街、\"ペット相談\"。", "小学校まで徒歩５分。"]

# (K, T, M, label) covering sale, sold, rental, rented and member kinds.
KINDS = [(1, 1, 1), (1, 2, 2), (1, 3, 2), (1, 4, 5), (2, 2, 1), (2, 3, 1), (3, 1, 1), (3, 1, 3), (3, 2, 3),
         (5, 1, 2), (4, 4, 0), (1, 1, 2), (1, 4, 7), (3, 2, 1), (1, 3, 9)]


def listing(n):
    k, t, m = KINDS[n % len(KINDS)]
    sale = k in (1, 2)
    c = [""] * 102
    c[0] = "1"
    c[1] = "21%06d" % (100 + n * 37)
    c[2] = "%02d%02d%02d" % (rng.randint(5, 30), rng.randint(1, 12), rng.randint(1, 28))
    c[3], c[4], c[5] = str(k), str(t), str(m)
    c[6] = str(rng.choice([1980, 2480, 3280, 3980, 4580, 5800, 7200])) if sale else str(rng.choice([6.5, 8.2, 12, 15.8, 24]))
    if t == 1 or (sale and t == 2):
        c[7] = "%.2f" % rng.uniform(80, 250)
        c[8] = str(rng.randint(80, 260))
    if t != 1:
        c[9] = "%.2f" % rng.uniform(25, 140)
    if n % 5 == 0:
        c[10] = "%.2f" % rng.uniform(5, 20)
    town = rng.choice(TOWNS)
    c[15] = town
    c[16] = "\"%d丁目%d番\"" % (rng.randint(1, 9), rng.randint(1, 30))
    c[17] = rng.choice(LINES)
    if n % 4 == 0:
        c[18] = str(rng.randint(5, 15))
    c[19] = str(rng.randint(2, 20))
    c[20] = str(int(c[19]) * 80) if n % 3 else ""
    c[21], c[22] = rng.choice([("60", "200"), ("50", "100"), ("80", "400"), ("40", "80")])
    if t != 1:
        c[23] = str(rng.randint(1, 8))
        c[24] = str(rng.randint(1, 4))
    c[25] = "バス停「中央」徒歩２分" if n % 6 == 0 else ""
    c[26] = str(rng.randint(1, 8))
    c[27] = "%.1f" % rng.uniform(4, 12)
    c[28] = str(rng.randint(1, 5))
    c[29] = str(rng.randint(1, 2))
    c[30] = str(rng.randint(1, 2))
    c[31] = "%.1f" % rng.uniform(6, 20)
    if n % 3 == 0:
        c[32] = str(rng.randint(1, 8))
        c[33] = "%.1f" % rng.uniform(4, 8)
    c[34] = "%02d%02d" % (rng.randint(1, 30), rng.randint(1, 12)) if t != 1 else ""
    c[35] = str(rng.randint(1, 5))
    c[36] = str(rng.randint(1, 4))
    c[37] = str(rng.randint(1, 5 if sale else 4))
    c[38] = str(rng.randint(1, 2))
    c[39] = str(rng.randint(1, 2))
    if t in (3,) or (not sale and m in (1, 8)):
        c[40] = rng.choice(CONDOS)
        c[41] = str(rng.choice([8000, 12000, 15500, 21000]))
    c[42] = "%010d" % (3000000 + n * 101)
    b = n % len(BROKERS)
    c[43] = BROKERS[b]
    c[44] = "0120-000-%03d" % (100 + b)
    c[45] = rng.choice(REMARKS)
    c[46] = str(rng.randint(0, 150)) if sale else ""
    c[47] = str(rng.randint(1, 2))
    c[48] = str(rng.randint(1, 4))
    c[49] = str(rng.randint(1, 3))
    c[50] = "%02d%02d" % (rng.randint(18, 20), rng.randint(1, 12)) if c[49] == "3" else ""
    c[51] = str(rng.randint(1, 3)) if c[49] == "3" else ""
    c[52] = str(rng.randint(1, 3)) if t == 1 else ""
    c[53] = str(rng.randint(1, 13))
    c[54] = str(rng.randint(1, 8))
    c[55] = str(rng.randint(1, 2)) if t == 1 else ("1" if (not sale and n % 4 == 0) else "")
    c[56] = str(rng.randint(1, 4))
    if t != 1:
        c[57] = str(rng.randint(2, 14))
        c[58] = "0" if n % 2 else ""
        c[59] = str(rng.randint(1, int(c[57])))
        c[60] = str(rng.randint(10, 120)) if t == 3 or not sale else ""
        c[61] = str(rng.randint(1, 8))
    if not sale:
        c[62], c[63] = rng.choice([("7", "2"), ("8", "2"), ("1", "20")])
        c[64], c[65] = rng.choice([("5", "1"), ("6", "1"), ("5", "150000")])
    for room in range(4 if t != 1 else 0):
        if room < 2 or n % 2 == 0:
            base = 66 + room * 4
            c[base] = str(1 + room // 2)
            c[base + 1] = str(rng.randint(1, 9))
            c[base + 2] = str(rng.choice([4.5, 6, 8, 10.5, 12]))
            c[base + 3] = "1"
    if t != 1:
        c[82] = str(rng.randint(1, 9))
    c[84] = PEOPLE[b]
    c[85] = "0120-000-%03d" % (200 + b)
    c[86] = "info%d@example.jp" % b
    if n % 7 == 0:
        c[87], c[88] = str(rng.randint(1, 8)), "%.1f" % rng.uniform(4, 6)
    c[91] = str(rng.randint(1, 5))
    c[92] = "現地案内は事前にご連絡ください。" if n % 3 == 0 else ""
    if sale and m == 2 and t == 1:
        c[93], c[94] = "360", "25000"
    if t == 3:
        c[95], c[96] = "インターネット使用料", "1500"
        c[97], c[98] = str(rng.choice([12000, 15000, 0])), str(rng.choice([9800, 14200]))
        c[99], c[100] = "1", str(rng.randint(1, 3))
        c[101] = "架空管理サービス（株）"
    return ",".join(c)


def main(out):
    lines = ["3,KOVRA,EXPORT,01,見本データ,261201,,"]
    for n in range(30):
        lines.append(listing(n))
    lines.append("")  # an empty line, which the viewer skips
    lines.append("9,END")
    data = "\r\n".join(lines) + "\r\n"
    with open(out, "wb") as f:
        f.write(data.encode("cp932"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data/samples/sample.txt")
