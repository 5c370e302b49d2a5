#include "cheque/cheque_header.h"

#include "text/big5.h"

namespace cheque {

std::map<std::string, std::string> chequeHeader(const std::string& reportTitle)
{
    std::map<std::string, std::string> header;
    header["Field0"] = std::string();
    static constexpr const char* digits[] = {"壹", "貳", "參", "肆", "伍", "陸", "柒", "捌", "玖"};
    for (int d = 1; d <= 9; ++d)
        header["Field" + std::to_string(d)] = text::big5(digits[d - 1]);
    header["Field10"] = text::big5("零");
    header["Field11"] = text::big5("元整");
    header["Field12"] = reportTitle;
    header["Field13"] = text::big5("拾");
    header["Field14"] = text::big5("佰");
    header["Field15"] = text::big5("仟");
    header["Field16"] = text::big5("萬");
    header["Field17"] = text::big5("負");
    return header;
}

} // namespace cheque
