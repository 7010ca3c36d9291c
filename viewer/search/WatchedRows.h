// Rows handed to a writer under a progress window: every row the writer
// reads is a step, and once the work is stopped the next row read throws
// WorkStopped, which ends the export as a failure (the temporary file
// abandoned, an earlier file left whole).
#pragma once

#include "ExportRows.h"
#include "WorkProgress.h"

namespace kovra::search {

class WatchedRows : public SheetRows {
public:
    // `passes`: how often the writer reads every row.
    WatchedRows(const SheetRows& rows, WorkProgress& progress, int passes = 1) : rows_(rows), progress_(progress)
    {
        progress_.SetTotal(static_cast<std::int64_t>(rows.rowCount()) * passes);
    }
    std::size_t columnCount() const override { return rows_.columnCount(); }
    std::size_t rowCount() const override { return rows_.rowCount(); }
    void captions(ExportRow& row) const override { rows_.captions(row); }
    void fill(std::size_t n, ExportRow& row) const override
    {
        step();
        rows_.fill(n, row);
    }
    std::string_view sheetName() const override { return rows_.sheetName(); }
    const TKovraDataClass* listingAt(std::size_t n) const override
    {
        const TKovraDataClass* listing = rows_.listingAt(n);
        if (listing) // otherwise the writer asks fill() for the row
            step();
        return listing;
    }
    FieldSet blankFields() const override { return rows_.blankFields(); }

private:
    void step() const
    {
        if (progress_.Stopped())
            throw WorkStopped();
        progress_.Advance();
    }

    const SheetRows& rows_;
    WorkProgress& progress_;
};

} // namespace kovra::search
