#include "MessageTexts.h"

namespace kovra::msg {

namespace {

std::string S(std::string_view text) { return std::string(text); }

// "😀𠮷" as "😀 𠮷", so each character stands apart in a message.
std::string Spaced(std::string_view utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (i > 0 && (b & 0xC0) != 0x80)
            out.push_back(' ');
        out.push_back(utf8[i]);
    }
    return out;
}

// The reason a template or FieldList could not be read, after its path.
std::string ExportReadFailure(const fileio::ReadResult& failure, std::uint64_t limit)
{
    if (failure.status == fileio::ReadStatus::TooLarge)
        return " は大きすぎるため読み込めません (" + std::to_string(failure.size) + " バイト、上限 " +
               std::to_string(limit) + " バイト)。";
    return " を読み込めません。";
}

// 1234567 -> "1,234,567"
std::string Grouped(int n)
{
    std::string digits = std::to_string(n < 0 ? -static_cast<long long>(n) : n);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return n < 0 ? "-" + digits : digits;
}

} // namespace

std::string FoundCount(int found, int total) { return Grouped(found) + " 件 / 全 " + Grouped(total) + " 件"; }

std::string PrintFoundListingsCount(int found) { return S(kPrintFoundListings) + "（" + Grouped(found) + " 件）"; }

std::string ReportJobName(std::string_view listingNumber) { return "物件概要書 " + S(listingNumber); }

std::string ReportJobName(int listings) { return "物件概要書 (" + Grouped(listings) + " 件)"; }

std::string ListingsExported(int rows, std::string_view path)
{
    return Grouped(rows) + " 件の物件を " + S(path) + " に書き出しました";
}

std::string PdfWritten(std::string_view path) { return "PDF ファイル " + S(path) + " を作成しました"; }

std::string CellsShortened(int cells)
{
    return Grouped(cells) + " 個の項目は長すぎるため、セルに入る 32767 文字までで切りました";
}

std::string UnknownSearchField(std::string_view name) { return "「" + S(name) + "」という項目はありません"; }

std::string NoSuchListingNumber(std::string_view number) { return "物件番号 " + S(number) + " はありません"; }

std::string CompareMarketCount(int listings) { return "相場の対象　" + Grouped(listings) + " 件"; }

std::string CompareListingCount(int count)
{
    return "比較表には 2 件から 8 件の物件を選んでください（選ばれているのは " + Grouped(count) + " 件）";
}

std::string FileCannotOpen(std::string_view path) { return "ファイル " + S(path) + " は開けません"; }

std::string FileCannotCreate(std::string_view path) { return "ファイル " + S(path) + " を作成できません"; }

std::string FileTooLarge(std::string_view path, std::uint64_t size, std::uint64_t limit)
{
    return "ファイル " + S(path) + " は大きすぎるため開けません (" + std::to_string(size) + " バイト、上限 " +
           std::to_string(limit) + " バイト)";
}

std::string FileReadFailed(std::string_view path) { return "ファイル " + S(path) + " の読込中にエラーが発生しました"; }

std::string FileShrank(std::string_view path) { return "ファイル " + S(path) + " は読込中に短くなりました"; }

std::string FileOutOfMemory(std::string_view path)
{
    return "ファイル " + S(path) + " を読み込むためのメモリが足りません";
}

std::string FileReadFailure(std::string_view path, const fileio::ReadResult& result, std::uint64_t limit,
                            bool shrankIsReadError)
{
    using fileio::ReadStatus;
    switch (result.status) {
    case ReadStatus::TooLarge: return FileTooLarge(path, result.size, limit);
    case ReadStatus::ReadFailed: return FileReadFailed(path);
    case ReadStatus::Shrank: return shrankIsReadError ? FileReadFailed(path) : FileShrank(path);
    case ReadStatus::Ok:
    case ReadStatus::CannotOpen:
    case ReadStatus::NotRegular: break;
    }
    return FileCannotOpen(path);
}

std::string NotFound(std::string_view path) { return "\"" + S(path) + "\"が見つかりません!"; }

std::string NotAnImage(std::string_view path) { return "\"" + S(path) + "\"は画像として読めません!"; }

std::string OutputIsInput(std::string_view path)
{
    return "出力ファイル " + S(path) + " は入力ファイルと同じファイルです";
}

std::string LoadAbortedAtLine(std::int64_t line)
{
    return "エラー   " + std::to_string(line) + "行目で読込を中止しました";
}

std::string PriceSinceEarlier(std::string_view before, std::string_view after, std::string_view difference,
                              std::string_view percent)
{
    std::string text = "前回 " + S(before) + " → " + S(after);
    if (!difference.empty())
        text += " (" + S(difference) + ", " + S(percent) + ")";
    return text;
}

std::string PriceAsEarlier(std::string_view price) { return "前回と同じ価格 " + S(price); }

std::string EarlierText(std::string_view text) { return "前回: " + S(text); }

std::string LifeStatus(std::string_view before, std::string_view after)
{
    return "状態 " + S(before) + " → " + S(after);
}

std::string LifePrice(std::string_view before, std::string_view after)
{
    return "価格 " + S(before) + " → " + S(after);
}

std::string LifeFields(std::string_view captions) { return "項目変更 " + S(captions); }

std::string LifeSummary(std::string_view firstSeen, int days, int appearances)
{
    return "初回掲載 " + S(firstSeen) + "・掲載 " + std::to_string(days) + " 日・取り込み " + std::to_string(appearances)
           + " 回";
}

std::string NoteLine(std::string_view writtenAt, std::string_view author, std::string_view text)
{
    return S(writtenAt) + " " + S(author) + ": " + S(text);
}

std::string NotesCell(std::string_view newest, int count)
{
    return S(newest) + " (全 " + std::to_string(count) + " 件)";
}

std::string ImportChoice(long long id, std::string_view date, std::string_view series, int listings,
                         std::string_view file)
{
    return S(date) + " " + S(series) + " " + std::to_string(listings) + " 件 (取り込み " + std::to_string(id) + ": "
           + S(file) + ")";
}

std::string ImportDone(long long id, std::string_view date, std::string_view series, int added, int gone,
                       int changed)
{
    return "アーカイブに取り込みました (取り込み " + std::to_string(id) + "、" + S(date) + "、" + S(series) + ")\n新規 "
           + std::to_string(added) + "・消滅 " + std::to_string(gone) + "・変更 " + std::to_string(changed);
}

std::string ImportedBefore(long long id)
{
    return "このファイルは取り込み " + std::to_string(id) + " として取り込み済みです";
}

std::string ArchiveCannotOpen(std::string_view location, std::string_view reason)
{
    return "アーカイブ " + S(location) + " を開けません (" + S(reason) + ")";
}

std::string ArchiveCannotWrite(std::string_view location, std::string_view reason)
{
    return "アーカイブ " + S(location) + " に書き込めません (" + S(reason) + ")";
}

std::string ServerUnreachable(std::string_view host, std::string_view reason)
{
    return "サーバー " + S(host) + " に接続できません (" + S(reason) + ")";
}

std::string CopyTargetDiffers(std::string_view location, long long id)
{
    return "コピー先のアーカイブ " + S(location) + " の取り込み " + std::to_string(id) + " は、コピー元の取り込みではありません";
}

std::string ListingNotInArchive(std::string_view number) { return "物件番号 " + S(number) + " はアーカイブにありません"; }

std::string ImportNotInArchive(long long id) { return "取り込み " + std::to_string(id) + " はアーカイブにありません"; }

std::string NoEarlierImport(long long id)
{
    return "取り込み " + std::to_string(id) + " より前の取り込みが同じシリーズにないため、比べられません";
}

std::string CaptionLineMissing(std::string_view path, int line)
{
    return "ファイル " + S(path) + " に " + std::to_string(line) + " 行目の項目名がありません";
}

std::string FolderCannotCreate(std::string_view path) { return "ディレクトリ " + S(path) + " を作成できません"; }

std::string AskOverwrite(std::string_view pageFile)
{
    return S(pageFile) + "\n\r\n\r" + "同じ名前のファイルがあります。上書きしますか？";
}

std::string TemplateUnreadable(std::string_view path, const fileio::ReadResult& failure, std::uint64_t limit)
{
    return "テンプレートファイル " + S(path) + ExportReadFailure(failure, limit);
}

std::string FieldListUnreadable(std::string_view path, const fileio::ReadResult& failure, std::uint64_t limit)
{
    return "FieldList " + S(path) + ExportReadFailure(failure, limit);
}

std::string FieldListLineNotPlaceholder(int line, std::string_view text)
{
    return "FieldListの" + std::to_string(line) + "行目「" + S(text) +
           "」はプレースホルダーではありません。ページは作成されていません。";
}

std::string SaveFolderMissing(std::string_view path) { return "保存するフォルダー " + S(path) + " がありません。"; }

std::string PageCannotCreate(std::string_view path) { return "ファイル " + S(path) + " を作成できません。"; }

std::string PagesWritten(int count) { return std::to_string(count) + "ページを作成しました。"; }

std::string PagesKept(int count) { return "既にあった" + std::to_string(count) + "ページはそのまま残しました。"; }

std::string DuplicateNumber(std::string_view number, int listings)
{
    return "  物件番号「" + S(number) + "」 " + std::to_string(listings) + "件";
}

std::string MoreDuplicates(std::size_t count) { return "  ほか" + std::to_string(count) + "件"; }

std::string SkippedPage(int ordinal, std::string_view number, std::string_view reason)
{
    return "  " + std::to_string(ordinal) + "件目 物件番号「" + S(number) + "」: " + S(reason);
}

std::string UnexpectedError(const char* detail)
{
    std::string text = "予期しないエラーのため処理を中止しました";
    if (detail && *detail)
        text += std::string(" (") + detail + ")";
    return text;
}

std::string PageImageTooLarge(int width, int height)
{
    return "ページの画像 (" + std::to_string(width) + " × " + std::to_string(height) +
           " ピクセル) は大きすぎるため作成できません";
}

std::string NotShiftJisPath(std::string_view utf8Path)
{
    return "\"" + S(utf8Path) + "\"はShift-JISで書かれたパスではありません!";
}

std::string PrintingSheet(int sheet) { return "(" + std::to_string(sheet) + "ﾍﾟｰｼﾞ印刷中)"; }

std::string AskSaveChanges(std::string_view fileName) { return S(fileName) + "は変更されています. 保存しますか?"; }

std::string CharactersNotPrinted(std::string_view characters)
{
    return "次の文字はレポートに印刷できないため「?」で印刷されます: " + Spaced(characters);
}

std::string ProfileItemCharacters(std::string_view item, std::string_view characters)
{
    return S(item) + ": " + Spaced(characters);
}

std::string UnmappableSaved(std::size_t count) { return std::to_string(count) + " 文字を \"?\" で保存しました"; }

} // namespace kovra::msg
