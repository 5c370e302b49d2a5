#include "cheque/cents_notice.h"

#include "text/big5.h"
#include "text/numbers.h"

namespace cheque {

namespace {
constexpr std::size_t kNamedAtMost = 15; // a message box the clerk can still read
}

std::string centsNotice(const db::RecordSet& listed)
{
    if (!listed.isOpen() || listed.columnIndex("CURRAMT") < 0 || listed.columnIndex("ID") < 0)
        return {};
    std::string lines;
    std::size_t count = 0;
    for (std::size_t row = 0; row < listed.rowCount(); ++row) {
        const double amount = listed.number(row, "CURRAMT");
        if (!text::hasCents(amount))
            continue;
        if (++count <= kNamedAtMost)
            lines += "\n" + text::big5ToUtf8(listed.text(row, "ID")) + "  " + text::formatGroupedCents(amount) +
                     " → NT$ " + text::formatGrouped(amount);
    }
    if (count == 0)
        return {};
    if (count > kNamedAtMost)
        lines += "\n…(共 " + std::to_string(count) + " 張)";
    return "下列支票金額含角分,支票上以四捨五入後的整數金額列印:" + lines;
}

} // namespace cheque
