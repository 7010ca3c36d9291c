// The program's fixed texts: every message, question and status caption
// that the viewer's windows, the print engine and `kovra` show or print.
// UTF-8; the viewer shows them in its boxes, `kovra` prints them to stderr.
#pragma once

#include "FileIO.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kovra::msg {

// ---- files (every reader and writer) ----

// "ファイル %s は開けません"
std::string FileCannotOpen(std::string_view path);
// "ファイル %s を作成できません"
std::string FileCannotCreate(std::string_view path);
// A file above a reader's size limit, with its size and the limit.
std::string FileTooLarge(std::string_view path, std::uint64_t size, std::uint64_t limit);
// The system reported an error while the file was read.
std::string FileReadFailed(std::string_view path);
// The file ended before the size it had when it was opened.
std::string FileShrank(std::string_view path);
// The file, or one of its lines, needs more memory than there is.
std::string FileOutOfMemory(std::string_view path);
// The message for a read that failed as `result` says; a FIFO or a device
// gets the open failure's message.  The print engine says a file that
// shrank while read failed to read (`shrankIsReadError`).
std::string FileReadFailure(std::string_view path, const fileio::ReadResult& result, std::uint64_t limit,
                            bool shrankIsReadError = false);
// "\"%s\"が見つかりません!": a file the print engine was given that is not there.
std::string NotFound(std::string_view path);
// An image file that exists but holds no picture that can be read.
std::string NotAnImage(std::string_view path);
// "出力ファイル %s は入力ファイルと同じファイルです": an output of a job that
// is one of the job's inputs, refused by every writer.
std::string OutputIsInput(std::string_view path);
inline constexpr std::string_view kCannotWriteStdout = "標準出力に書き込めません";

// ---- the listing file ----

inline constexpr std::string_view kCannotOpenKovraFile = "コヴラデーターファイルを開くことができません";
inline constexpr std::string_view kLoadErrorCaption = "ファイル読込エラー";
inline constexpr std::string_view kTotalCaptionPrefix = "/ 全物件数 ";
inline constexpr std::string_view kTitlePrefix = "Kovra Viewer  ";
inline constexpr std::string_view kPleaseLoadData = "データーを読み込んで下さい";
// "エラー   3行目で読込を中止しました"
std::string LoadAbortedAtLine(std::int64_t line);

// ---- the viewer's windows ----

// The application title: the main window before a load, and the caption of
// every message box that names no title of its own.
inline constexpr std::string_view kApplicationTitle = "Kovra Viewer";

inline constexpr std::string_view kNoDisplay = "ディスプレイがありません (DISPLAY / WAYLAND_DISPLAY が未設定)";
inline constexpr std::string_view kCannotLoadDuringHtmlExport =
    "HTML出力中はファイルを読み込めません。出力が終わってから開いて下さい";
// The caption file lacks the line of a dropped box (`line` is 1-based).
std::string CaptionLineMissing(std::string_view path, int line);

// ---- the listing browser ----

inline constexpr std::string_view kBrowserTitle = "物件一覧";
// "12 件 / 全 1,001 件": the listings found and all listings.
std::string FoundCount(int found, int total);
inline constexpr std::string_view kBuildingIndex = "検索の準備中…";
inline constexpr std::string_view kSearching = "検索中…";
inline constexpr std::string_view kAllChoices = "すべて";
// The report dialog's third choice, alone and with the number found.
inline constexpr std::string_view kPrintFoundListings = "物件一覧で見つかった物件を印刷する";
std::string PrintFoundListingsCount(int found);
// The report as the print queue shows it: one listing by its number, or
// how many listings it holds.
std::string ReportJobName(std::string_view listingNumber);
std::string ReportJobName(int listings);
// After an export of the listings found.
std::string ListingsExported(int rows, std::string_view path);
// Texts longer than a spreadsheet cell holds, cut to fit.
std::string CellsShortened(int cells);
// A term "FIELD=TEXT" of the search box whose FIELD names no field.
std::string UnknownSearchField(std::string_view name);

// After a print onto a PDF file: "PDF ファイル … を作成しました".
std::string PdfWritten(std::string_view path);

// ---- market figures and the comparison sheet ----

// The group of all listings found (`kovra stats`, the market panel).
inline constexpr std::string_view kWholeGroup = "全体";
// "物件番号 NUM はありません": a listing number the file does not hold.
std::string NoSuchListingNumber(std::string_view number);
// The sheet's head: how many listings its markets are taken from.
std::string CompareMarketCount(int listings);
// A comparison sheet of fewer than 2 or more than 8 listings.
std::string CompareListingCount(int count);

// ---- what changed between two files, and the archive ----

// The kinds of a change, as the change sheet's 変更 column names them.
inline constexpr std::string_view kChangeNew = "新規";
inline constexpr std::string_view kChangeGone = "消滅";
inline constexpr std::string_view kChangeStatus = "状態変更";
inline constexpr std::string_view kChangePrice = "価格変更";
inline constexpr std::string_view kChangeFields = "項目変更";
// The quick filters of the change view.
inline constexpr std::string_view kFilterNew = "新規";
inline constexpr std::string_view kFilterPriceDown = "値下げ";
inline constexpr std::string_view kFilterPriceUp = "値上げ";
inline constexpr std::string_view kFilterContracted = "成約";
inline constexpr std::string_view kFilterGone = "消滅";
inline constexpr std::string_view kFilterChanged = "変更あり";
// The change sheet's own columns, before the 94 fields.
inline constexpr std::string_view kChangeColumnKinds = "変更";
inline constexpr std::string_view kChangeColumnOldPrice = "前回価格";
inline constexpr std::string_view kChangeColumnNewPrice = "今回価格";
inline constexpr std::string_view kChangeColumnPriceDifference = "価格差";
inline constexpr std::string_view kChangeColumnFields = "変更項目";
// The listing browser's columns from the archive (前回価格 as above).
inline constexpr std::string_view kArchiveColumnFirstSeen = "初回掲載日";
inline constexpr std::string_view kArchiveColumnDaysOnMarket = "掲載日数";
inline constexpr std::string_view kArchiveColumnNotes = "メモ";
// The change view in the viewer.
inline constexpr std::string_view kCompareWithEarlier = "前回のファイルと比較…";
inline constexpr std::string_view kEndComparison = "比較を終了";
inline constexpr std::string_view kAllChanges = "すべて";
inline constexpr std::string_view kNoChangeSinceEarlier = "前回から変更なし";
inline constexpr std::string_view kNewSinceEarlier = "新規 (前回のファイルにはありません)";
inline constexpr std::string_view kNoChangesFound = "前回からの変更はありません";
// "前回 2680万円 → 2480万円 (−200万円, −7.5%)": the price of the listing on
// show in the older file and now; DIFFERENCE and PERCENT come signed, and
// the parentheses only when both prices have a number.
std::string PriceSinceEarlier(std::string_view before, std::string_view after, std::string_view difference,
                              std::string_view percent);
// "前回と同じ価格 2480万円"
std::string PriceAsEarlier(std::string_view price);
// The older text of a field shown changed: "前回: TEXT"
std::string EarlierText(std::string_view text);
// The archive in the viewer.
inline constexpr std::string_view kArchiveImportCommand = "アーカイブに取り込む";
inline constexpr std::string_view kAutoImportSetting = "開いたファイルを自動でアーカイブに取り込む";
inline constexpr std::string_view kCompareWithImport = "アーカイブの取り込みと比較…";
inline constexpr std::string_view kChooseImport = "比較する取り込み";
inline constexpr std::string_view kHistoryTab = "履歴";
inline constexpr std::string_view kLifeColumnDate = "日付";
inline constexpr std::string_view kLifeColumnEvent = "内容";
inline constexpr std::string_view kLifeFirstSeen = "初回掲載";
inline constexpr std::string_view kLifeLastSeen = "最終掲載";
inline constexpr std::string_view kNotInArchiveYet = "この物件はまだアーカイブにありません";
inline constexpr std::string_view kAddNote = "メモを追加";
inline constexpr std::string_view kNotePlaceholder = "メモを書いて Enter";
// "状態 売物件 → 成約売物件"
std::string LifeStatus(std::string_view before, std::string_view after);
// "価格 2680万円 → 2480万円"
std::string LifePrice(std::string_view before, std::string_view after);
// "項目変更 備考、交通"
std::string LifeFields(std::string_view captions);
// "初回掲載 2024-12-01・掲載 30 日・取り込み 5 回"
std::string LifeSummary(std::string_view firstSeen, int days, int appearances);
// "2024-12-01 10:00:00 山田: 内見済み"
std::string NoteLine(std::string_view writtenAt, std::string_view author, std::string_view text);
// The browser's メモ column with several notes: "内見済み (全 3 件)"
std::string NotesCell(std::string_view newest, int count);
// The choice of an import to compare with: "2024-12-01 青葉区マンション 1200 件 (取り込み 7: FILE)"
std::string ImportChoice(long long id, std::string_view date, std::string_view series, int listings,
                         std::string_view file);
// "アーカイブに取り込みました (取り込み 7、2024-12-01、青葉区マンション)\n新規 3・消滅 1・変更 5"
std::string ImportDone(long long id, std::string_view date, std::string_view series, int added, int gone,
                       int changed);
// "このファイルは取り込み 7 として取り込み済みです"
std::string ImportedBefore(long long id);
// The series of a file whose name is only a date.
inline constexpr std::string_view kDefaultSeries = "既定";
// "アーカイブ PATH を開けません (REASON)"
std::string ArchiveCannotOpen(std::string_view location, std::string_view reason);
// "アーカイブ PATH に書き込めません (REASON)"
std::string ArchiveCannotWrite(std::string_view location, std::string_view reason);
// Reasons, in the parentheses of the two above.
inline constexpr std::string_view kArchiveNewerSchema = "新しい版のプログラムで作られたアーカイブです";
inline constexpr std::string_view kArchiveCorrupt = "ファイルが壊れているか、アーカイブではありません";
inline constexpr std::string_view kArchiveBusy = "ほかのプログラムが使用中です";
inline constexpr std::string_view kArchiveReadOnly = "書き込みが許可されていません";
inline constexpr std::string_view kArchiveCannotCreate = "ファイルを開くことも作ることもできません";
inline constexpr std::string_view kArchiveDiskFull = "ディスクがいっぱいです";
// "サーバー HOST に接続できません (REASON)": the archive's server, REASON
// in its client's own words.
std::string ServerUnreachable(std::string_view host, std::string_view reason);
// "コピー先のアーカイブ LOCATION の取り込み ID は、コピー元の取り込みではありません"
std::string CopyTargetDiffers(std::string_view location, long long id);
// "物件番号 NUM はアーカイブにありません"
std::string ListingNotInArchive(std::string_view number);
// "取り込み ID はアーカイブにありません"
std::string ImportNotInArchive(long long id);
inline constexpr std::string_view kArchiveEmpty = "アーカイブにはまだ何も取り込まれていません";
// The newest import is the first of its series: nothing to compare it with.
std::string NoEarlierImport(long long id);

// ---- the report ----

// Characters of a report (UTF-8, each once) that its Shift-JIS files cannot
// carry, said once per report.
std::string CharactersNotPrinted(std::string_view characters);
// The settings dialog's word on profile texts holding such characters,
// then one ProfileItemCharacters line per box.
inline constexpr std::string_view kProfileCharactersNotPrinted =
    "次の文字はレポートに印刷できません（「?」で印刷されます。HTMLには正しく出力されます）:";
std::string ProfileItemCharacters(std::string_view item, std::string_view characters);
// The settings dialog's アーカイブ page: its connection test and the
// locations it does not keep.
inline constexpr std::string_view kArchiveTestRunning = "接続しています…";
inline constexpr std::string_view kArchiveTestConnected = "接続できました";
inline constexpr std::string_view kArchiveServerMissing =
    "事務所のサーバーの URI（postgresql://ユーザー@サーバー/データベース）を入力してください";
inline constexpr std::string_view kArchiveServerNotUri = "サーバーの URI は postgresql:// で始まります";
inline constexpr std::string_view kArchivePasswordInUri =
    "パスワードは URI に書かず、パスワードファイル（~/.pgpass、Windows では %APPDATA%\\postgresql\\pgpass.conf）に書いてください";

// ---- the HTML export ----

inline constexpr std::string_view kParameterError = "パラメーターにエラーがあります";
inline constexpr std::string_view kFieldListError = "FieldListにエラーがあります";
inline constexpr std::string_view kAskCreateFolder = "指定されたディレクトリが存在しません。作成しますか？";
// "ディレクトリ %s を作成できません"
std::string FolderCannotCreate(std::string_view path);
inline constexpr std::string_view kOverwriteTitle = "警告";
// The page file's path, then the question.
std::string AskOverwrite(std::string_view pageFile);
inline constexpr std::string_view kWritingPagePrefix = "作成中: "; // the progress window, before the page file
inline constexpr std::string_view kExportFinished = "処理が終了しました";
// The progress window once 中止 (its close box, Esc) was chosen.
inline constexpr std::string_view kStoppingExport = "中止しています。作成中のページを書き終えると終わります。";
// A click on the main window's close box while pages are written.
inline constexpr std::string_view kCannotCloseWhileExporting =
    "HTMLを出力中のため終了できません。進行状況の［中止］で出力を止めてから終了してください。";
// What went wrong or was left out, added to the end message.
inline constexpr std::string_view kNoListingsToExport = "出力する物件がありません。";
std::string TemplateUnreadable(std::string_view path, const fileio::ReadResult& failure, std::uint64_t limit);
std::string FieldListUnreadable(std::string_view path, const fileio::ReadResult& failure, std::uint64_t limit);
// `text` is the line as it can be shown.
std::string FieldListLineNotPlaceholder(int line, std::string_view text);
inline constexpr std::string_view kNoPageNameLine =
    "FieldListに /*BukkennNum*/ の行がないため、ページのファイル名が決まりません。ページは作成されていません。";
std::string SaveFolderMissing(std::string_view path);
std::string PageCannotCreate(std::string_view path);
inline constexpr std::string_view kExportCancelled = "キャンセルされました。";
std::string PagesWritten(int count);
std::string PagesKept(int count);
inline constexpr std::string_view kDuplicateNumbersHeading =
    "次の物件番号は複数の物件にあるため、最後の物件のページだけが残っています:";
std::string DuplicateNumber(std::string_view number, int listings);
std::string MoreDuplicates(std::size_t count);
inline constexpr std::string_view kSkippedPagesHeading = "次の物件はページを作成できませんでした:";
std::string SkippedPage(int ordinal, std::string_view number, std::string_view reason);
// Why a listing number cannot name a page file.
inline constexpr std::string_view kNumberEmpty = "物件番号が空です";
inline constexpr std::string_view kNumberHasSeparator = "物件番号にパスの区切り文字（/ または \\）が含まれています";
inline constexpr std::string_view kNumberHasDrive = "物件番号にドライブ指定の文字（:）が含まれています";
inline constexpr std::string_view kNumberIsDots = "物件番号が「.」だけでできています";
inline constexpr std::string_view kNumberHasBadCharacter = "物件番号にファイル名に使えない文字が含まれています";
inline constexpr std::string_view kNumberIsReservedName = "物件番号がファイル名に使えない予約名です";
inline constexpr std::string_view kNumberTooLong = "物件番号が長すぎてファイル名にできません";

// ---- the print engine ----

inline constexpr std::string_view kNoDataFile = "印刷ﾃﾞｰﾀﾌｧｲﾙの指定がありません!";
inline constexpr std::string_view kFieldReadFailed = "NG";
inline constexpr std::string_view kOutOfMemoryDetail = "メモリが不足しています";
// Something the engine did not expect stopped the command (an exception);
// `detail`, when given, is what the failure said about itself.
std::string UnexpectedError(const char* detail);
// A preview page whose image would not fit in memory, with its size.
std::string PageImageTooLarge(int width, int height);
// A path handed to an export whose bytes are not Shift-JIS text.
std::string NotShiftJisPath(std::string_view utf8Path);
inline constexpr std::string_view kCannotStartPrinting = "印刷を開始できません";
// The printing dialog while sheet `sheet` goes to the printer.
std::string PrintingSheet(int sheet);
inline constexpr std::string_view kPrintingFromPreview = "只今印刷中...";
inline constexpr std::string_view kAskCancelPrinting = "印刷を中止してよろしいですか?";
inline constexpr std::string_view kPageJumpCaption = "指定ﾍﾟｰｼﾞにｼﾞｬﾝﾌﾟ";
inline constexpr std::string_view kPageJumpPrompt = "表示したいﾍﾟｰｼﾞ番号を入力してください";
// The format editor's question before its text is dropped.
std::string AskSaveChanges(std::string_view fileName);
// Characters the code page lacks, saved as "?".
std::string UnmappableSaved(std::size_t count);

} // namespace kovra::msg
