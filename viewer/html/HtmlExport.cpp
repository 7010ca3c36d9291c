#include "HtmlExport.h"

#include "Cp932Codec.h"
#include "FileIO.h"
#include "ListingDocument.h"
#include "MessageTexts.h"

#include <algorithm>

#include <filesystem>
#include <optional>
#include <system_error>
#include <unordered_map>

namespace kovra::html {

namespace fs = std::filesystem;

namespace {

fs::path toPath(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string toUtf8(const fs::path& p)
{
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

// Listing numbers borne by more than one listing that gets a page.
std::vector<DuplicateNumber> DuplicateNumbers(const ExportJob& job, const std::vector<int>& order,
                                              const std::vector<char>& safe)
{
    std::unordered_map<std::string_view, int> seen; // number -> index into `found`, or -1 while single
    std::vector<DuplicateNumber> found;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (!safe[k])
            continue;
        const std::string_view number = job.listings[order[k]].BukkennNum();
        auto [it, first] = seen.emplace(number, -1);
        if (first)
            continue;
        if (it->second < 0) {
            it->second = static_cast<int>(found.size());
            found.push_back({std::string(number), 1});
        }
        ++found[static_cast<std::size_t>(it->second)].listings;
    }
    return found;
}

// The duplicate numbers as the end message lists them, at most a screenful.
std::string DescribeDuplicates(const std::vector<DuplicateNumber>& duplicates)
{
    constexpr std::size_t kShown = 20;
    std::string text = "\n" + std::string(msg::kDuplicateNumbersHeading);
    for (std::size_t i = 0; i < duplicates.size() && i < kShown; ++i)
        text += "\n" + msg::DuplicateNumber(PrintableNumber(duplicates[i].number), duplicates[i].listings);
    if (duplicates.size() > kShown)
        text += "\n" + msg::MoreDuplicates(duplicates.size() - kShown);
    return text;
}

fileio::JobInputs InputsOf(const ExportJob& job)
{
    return fileio::JobInputs{job.templatePath, job.fieldListPath, job.exportFile};
}

// The first page in `order` that would replace one of `inputs`.
std::optional<std::string> FirstPageOver(const fileio::JobInputs& inputs, const ExportJob& job,
                                         const std::vector<int>& order)
{
    // Usually no input is in the folder at all: then no page can be one.
    if (!job.listings || !inputs.anyInFolder(job.outDir))
        return std::nullopt;
    for (const int i : order) {
        const std::string_view number = job.listings[i].BukkennNum();
        if (UnsafePageNameReason(number))
            continue; // never written
        std::string path = PagePath(job.outDir, number);
        if (inputs.inputAt(path))
            return path;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> PageOverInput(const ExportJob& job)
{
    return FirstPageOver(InputsOf(job), job, ChosenListings(job.only, job.count));
}

std::string PrintableNumber(std::string_view number)
{
    std::string out;
    std::size_t i = 0;
    for (int chars = 0; i < number.size() && chars < 40; ++chars) {
        const std::size_t len = std::min<std::size_t>(cp932::utf8SequenceLength(static_cast<unsigned char>(number[i])),
                                                      number.size() - i);
        const unsigned char c = static_cast<unsigned char>(number[i]);
        if (c < 0x20 || c == 0x7F)
            out += '?';
        else
            out.append(number.substr(i, len));
        i += len;
    }
    if (i < number.size())
        out += "…";
    return out;
}

std::string PagePath(const std::string& outDir, std::string_view number)
{
    std::string name(number);
    name += ".html";
    return toUtf8((toPath(outDir) / toPath(name)).make_preferred());
}

ExportResult ExportPages(const ExportJob& job, const ExportHooks& hooks)
{
    ExportResult result;
    using Status = ExportResult::Status;

    std::string templateBytes, fieldListBytes;
    result.readFailure = fileio::ReadWholeFile(job.templatePath, templateBytes, kTemplateSizeLimit);
    if (!result.readFailure.ok()) {
        result.status = Status::TemplateUnreadable;
        result.failedPath = job.templatePath;
        return result;
    }
    result.readFailure = fileio::ReadWholeFile(job.fieldListPath, fieldListBytes, kFieldListSizeLimit);
    if (!result.readFailure.ok()) {
        result.status = Status::FieldListUnreadable;
        result.failedPath = job.fieldListPath;
        return result;
    }
    if (job.count < 1 || !job.listings || (job.only && job.only->empty())) {
        result.status = Status::NoListings;
        return result;
    }

    // The FieldList is the same for every listing, so a bad line is found
    // before the first page exactly as it would be while making it.
    FieldList fieldList = ReadFieldList(fieldListBytes);
    if (!fieldList.ok()) {
        result.status = Status::FieldListError;
        result.fieldListErrorLine = fieldList.errorLine;
        result.fieldListErrorText = fieldList.errorText;
        if (hooks.fieldListError)
            hooks.fieldListError(fieldList.errorLine, fieldList.errorText);
        return result;
    }
    if (!fieldList.namesPages) {
        result.status = Status::NoPageNameLine;
        return result;
    }
    std::error_code ec;
    if (job.outDir.empty() || !fs::is_directory(toPath(job.outDir), ec)) {
        result.status = Status::FolderMissing;
        result.failedPath = job.outDir;
        return result;
    }

    // The listings of the run in the order of their pages.
    const std::vector<int> order = ChosenListings(job.only, job.count);
    const int pages = static_cast<int>(order.size());
    // Checked whole before the first page, so the run never ends half-done
    // for this reason.
    const fileio::JobInputs inputs = InputsOf(job);
    if (std::optional<std::string> clash = FirstPageOver(inputs, job, order)) {
        result.status = Status::OutputIsInput;
        result.failedPath = std::move(*clash);
        return result;
    }

    // Which listings can have a page at all.  The links skip the others, so
    // the chain of pages stays unbroken and never points out of the folder.
    std::vector<char> safe(order.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        safe[k] = !UnsafePageNameReason(job.listings[order[k]].BukkennNum()).has_value();
    result.duplicates = DuplicateNumbers(job, order, safe);
    auto neighbour = [&](int k, int step) -> std::optional<std::string_view> {
        for (int j = k + step; j >= 0 && j < pages; j += step)
            if (safe[static_cast<std::size_t>(j)])
                return job.listings[order[static_cast<std::size_t>(j)]].BukkennNum();
        return std::nullopt;
    };

    PageMaker maker(std::move(templateBytes), std::move(fieldList.tokens), job.kensakuNengappi, job.user);
    bool overwriteAll = false;
    std::string page;
    for (int k = 0; k < pages; ++k) {
        if (hooks.stopRequested && hooks.stopRequested()) {
            result.status = Status::Cancelled;
            return result;
        }
        const int i = order[static_cast<std::size_t>(k)];
        const TKovraDataClass& record = job.listings[i];
        const std::string_view number = record.BukkennNum();
        if (!safe[static_cast<std::size_t>(k)]) {
            SkippedPage skip{i, std::string(number), *UnsafePageNameReason(number)};
            if (hooks.pageSkipped)
                hooks.pageSkipped(skip);
            result.skipped.push_back(std::move(skip));
            continue;
        }
        maker.Make(record, neighbour(k, +1), neighbour(k, -1), page);
        const std::string path = PagePath(job.outDir, number);

        // A link under the page's name counts as an existing page too.
        if (!overwriteAll && fs::exists(fs::symlink_status(toPath(path), ec))) {
            const OverwriteAnswer answer =
                hooks.confirmOverwrite ? hooks.confirmOverwrite(path) : OverwriteAnswer::Overwrite;
            if (answer == OverwriteAnswer::Cancel) {
                result.status = Status::Cancelled;
                return result;
            }
            if (answer == OverwriteAnswer::Keep) {
                ++result.kept;
                continue;
            }
            if (answer == OverwriteAnswer::OverwriteAll)
                overwriteAll = true;
        }
        // Through a temporary file: a failed write never leaves half a page.
        // The pages are made again at will, so no disk flush per page.
        fileio::SafeSaveFile file(path, fileio::Durability::LeftToTheSystem, &inputs, fileio::LinkAtTarget::Replace);
        if (!file.open() || !file.write(page) || !file.commit()) {
            result.status = file.refusedAsInput() ? Status::OutputIsInput : Status::WriteFailed;
            result.failedPath = path;
            return result;
        }
        ++result.written;
        if (hooks.pageWritten)
            hooks.pageWritten(k, path);
    }
    return result;
}

std::string DescribeResult(const ExportResult& r)
{
    using Status = ExportResult::Status;
    std::string text;
    switch (r.status) {
    case Status::Done: break;
    case Status::NoListings: text = msg::kNoListingsToExport; break;
    case Status::TemplateUnreadable: text = msg::TemplateUnreadable(r.failedPath, r.readFailure, kTemplateSizeLimit); break;
    case Status::FieldListUnreadable:
        text = msg::FieldListUnreadable(r.failedPath, r.readFailure, kFieldListSizeLimit);
        break;
    case Status::FieldListError:
        text = msg::FieldListLineNotPlaceholder(r.fieldListErrorLine, PrintableNumber(r.fieldListErrorText));
        break;
    case Status::NoPageNameLine: text = msg::kNoPageNameLine; break;
    case Status::FolderMissing: text = msg::SaveFolderMissing(r.failedPath); break;
    case Status::OutputIsInput: text = msg::OutputIsInput(r.failedPath); break;
    case Status::WriteFailed: text = msg::PageCannotCreate(r.failedPath); break;
    case Status::Cancelled: text = msg::kExportCancelled; break;
    }
    if (r.status == Status::WriteFailed || r.status == Status::Cancelled || r.status == Status::Done) {
        if (r.status != Status::Done || !r.skipped.empty() || r.kept > 0 || !r.duplicates.empty())
            text += (text.empty() ? "" : "\n") + msg::PagesWritten(r.written);
    }
    if (!r.duplicates.empty() && r.written > 0)
        text += DescribeDuplicates(r.duplicates);
    if (r.kept > 0)
        text += "\n" + msg::PagesKept(r.kept);
    if (!r.skipped.empty()) {
        text += "\n" + std::string(msg::kSkippedPagesHeading);
        for (const SkippedPage& s : r.skipped)
            text += "\n" + msg::SkippedPage(s.index + 1, PrintableNumber(s.number), s.reason);
    }
    return text;
}

} // namespace kovra::html
