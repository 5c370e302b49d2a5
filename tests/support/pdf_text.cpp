#include "support/pdf_text.h"

#include <array>
#include <cstdio>
#include <memory>

namespace testing_support {

std::string pdfText(const std::string& pdf)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("pdftotext -layout '" + pdf + "' -").c_str(), "r"), pclose);
    std::array<char, 4096> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe.get()))
        out += buffer.data();
    return out;
}

std::string squeezedBlanks(const std::string& text)
{
    std::string out;
    for (const char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out += c;
    return out;
}

} // namespace testing_support
