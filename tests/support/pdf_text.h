#pragma once
// The text of a PDF as the tests read it back: pdftotext with its layout kept, pages parted by
// form feeds ("" when the file cannot be read).
#include <string>

namespace testing_support {

std::string pdfText(const std::string& pdf);

} // namespace testing_support
