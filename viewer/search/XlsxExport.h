// The XLSX format of the export (ListingExport.h), written directly: its
// XML parts streamed into a ZIP (ZipWriter.h).  Built only where zlib is,
// which makes KOVRA_XLSX_EXPORT defined for whoever links it.
#pragma once

#include "ListingExport.h"

namespace kovra::search {

// One sheet, named by the rows ("物件一覧" for listings): a bold caption
// row frozen under an auto-filter, columns about as wide as their texts.
// A text that is a number and a short unit is a number cell shown exactly
// as the text (NumberCells.h); every other text is a text cell, and one
// longer than a cell holds is cut and counted in outcome.shortenedCells.
bool WriteXlsx(const SheetRows& rows, const std::string& path, ExportOutcome& outcome);

} // namespace kovra::search
