#pragma once
// The text of a PDF as the tests read it back: pdftotext with its layout kept, pages parted by
// form feeds ("" when the file cannot be read).
#include <string>

namespace testing_support {

std::string pdfText(const std::string& pdf);

// Runs of blanks as one, since the layout decides how many pdftotext writes.
std::string squeezedBlanks(const std::string& text);

} // namespace testing_support
