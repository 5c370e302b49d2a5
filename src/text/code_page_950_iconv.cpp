#include "text/code_page_950.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace text::cp950 {
namespace {

// One open conversion per direction and thread: record sets and grids convert many small
// strings, and opening a descriptor costs far more than converting a field.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in` as far as it can into `out`; returns the bytes of `in` it converted.
    std::size_t run(std::string_view in, std::string& out, std::size_t growth)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        const std::size_t start = out.size();
        out.resize(start + in.size() * growth);
        // iconv takes char** for historical reasons; it never writes through the input.
        auto* input = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* output = out.data() + start;
        std::size_t outLeft = in.size() * growth;
        if (iconv(cd_, &input, &inLeft, &output, &outLeft) == static_cast<std::size_t>(-1) && errno != EILSEQ &&
            errno != EINVAL)
            throw std::runtime_error("Big5 conversion failed");
        out.resize(out.size() - outLeft);
        return in.size() - inLeft;
    }

private:
    iconv_t cd_;
};

} // namespace

std::size_t decode(std::string_view big5, std::string& utf8)
{
    thread_local Converter converter("UTF-8", "CP950");
    return converter.run(big5, utf8, 3); // a character of one or two bytes takes at most three
}

std::size_t encode(std::string_view utf8, std::string& big5)
{
    thread_local Converter converter("CP950", "UTF-8");
    return converter.run(utf8, big5, 1); // Big5 never takes more bytes than UTF-8
}

} // namespace text::cp950
