#pragma once
// The two transfer-file base names derived from a paying account's export-file name
// "interbank-samebank" (e.g. "ABC-DEF").
#include <string>

namespace remittance {

struct ExportFileNames {
    std::string exportFile; // the name as stored
    std::string interBank;
    std::string sameBank;
};

// Inter-bank: the text before the first "-", or the whole name when that text is empty.
// Same-bank: the text after the last "-" (empty when the name ends in "-"); a name without
// any "-" names only the inter-bank file, so the same-bank name stays empty and no
// same-bank file is written under the inter-bank file's name.
ExportFileNames splitExportFileName(const std::string& exportFile);

} // namespace remittance
