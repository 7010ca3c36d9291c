// The comparison sheet onto a PDF: only a build with the print engine can;
// elsewhere it says so and fails.
#pragma once

#include "CompareSheet.h"

#include <string>

namespace kovra::cli {

bool WriteComparePdf(const search::CompareSheet& sheet, const std::string& pdf);

} // namespace kovra::cli
