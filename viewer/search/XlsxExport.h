// The XLSX format of the export (ListingExport.h), through libxlsxwriter:
// built only where that library is, which makes KOVRA_XLSX_EXPORT defined
// for whoever links it.
#pragma once

#include "ListingExport.h"

namespace kovra::search {

// A bold caption row frozen under an auto-filter, columns about as wide as
// their texts; a text longer than a cell holds is cut and counted in
// outcome.shortenedCells.
bool WriteXlsx(const SheetRows& rows, const std::string& path, ExportOutcome& outcome);

} // namespace kovra::search
