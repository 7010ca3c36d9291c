#include "PrintTool.h"

#include "Cp932Codec.h"

#include <array>

namespace kovra {

PrintToolSettings& TPrintTool::Settings()
{
    static PrintToolSettings settings;
    return settings;
}

void TPrintTool::ResetSettings() { Settings() = PrintToolSettings(); }

int TPrintTool::ColourCodeFromName(std::string_view name)
{
    // Only these spellings count: "RB+" (magenta) and "GR*", "RG*" (yellow) are not among them.
    static const std::array<std::pair<std::string_view, int>, 30> kNames = {{
        {"N", 0}, {"R", 1}, {"G", 2}, {"GR", 3}, {"RG", 3}, {"B", 4}, {"BR", 5}, {"RB", 5},
        {"BG", 6}, {"GB", 6}, {"N+", 7}, {"N*", 7}, {"W", 8}, {"R+", 9}, {"R*", 9}, {"G+", 10},
        {"G*", 10}, {"B+", 11}, {"B*", 11}, {"BR+", 12}, {"BR*", 12}, {"RB*", 12}, {"BG+", 13}, {"GB+", 13},
        {"BG*", 13}, {"GB*", 13}, {"W+", 14}, {"W*", 14}, {"GR+", 15}, {"RG+", 15},
    }};
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const auto& [spelling, code] : kNames)
        if (spelling == upper)
            return code;
    return 0;
}

std::string ItemText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == ';')
            out += "；";
        else
            out.push_back(c);
    }
    return out;
}

namespace {
constexpr std::size_t kFlushBytes = 256 * 1024;
}

bool TPrintTool::OpenDataFile(const fileio::JobInputs* inputs)
{
    pending_.clear();
    unmappable_ = 0;
    lacking_.clear();
    failed_ = false;
    // The temporary file is made now, so a folder that cannot take the file
    // is found before any item is written.
    file_ = std::make_unique<fileio::SafeSaveFile>(Settings().dataFileName, fileio::Durability::SyncedToDisk, inputs);
    dataFileIsInput_ = false;
    if (!file_->open()) {
        dataFileIsInput_ = file_->refusedAsInput();
        file_.reset();
        return false;
    }
    return true;
}

void TPrintTool::flush()
{
    if (file_ && !failed_ && !file_->write(pending_))
        failed_ = true;
    pending_.clear();
}

void TPrintTool::WriteItem(std::int32_t x, std::int32_t y, std::string_view text, std::string_view fontName,
                           std::int32_t size, std::string_view style, std::string_view colourName,
                           std::string_view background)
{
    std::string line = "T" + std::to_string(x) + ";" + std::to_string(y) + ";";
    line += text;
    line += ";";
    line += fontName;
    line += ";" + std::to_string(size) + ";";
    line += style;
    line += ";" + std::to_string(ColourCodeFromName(colourName)) + ";";
    line += background;
    line += ";\r\n\r\n";
    const std::size_t before = unmappable_;
    cp932::appendCp932(pending_, line, &unmappable_);
    if (unmappable_ != before) // rare: only then look for which characters
        cp932::addLackingCharacters(lacking_, line);
    if (pending_.size() >= kFlushBytes)
        flush();
}

void TPrintTool::EndPage() { pending_ += "E\r\n"; }

bool TPrintTool::CloseDataFile()
{
    if (!file_)
        return false;
    flush();
    const bool ok = !failed_ && file_->commit();
    file_.reset(); // an uncommitted temporary file goes with it
    return ok;
}

} // namespace kovra
