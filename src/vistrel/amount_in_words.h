#pragma once
// Amounts in Chinese capital numerals as written on Taiwanese cheques, composed only from the
// characters the cheque header hands over (Big5), so that the printed words use exactly the
// characters the program chose.
#include "db/record_set.h"

#include <string>

namespace vistrel {

struct Numerals {
    std::string digit[10]; // digit[0] is zero (零), digit[1..9] 壹..玖
    std::string ten, hundred, thousand, tenThousand;
    std::string closing;  // 元整
    std::string negative; // 負
};

// From the cheque header: Field1-Field9 digits, Field10 zero, Field11 closing, Field13 ten,
// Field14 hundred, Field15 thousand, Field16 ten thousand, Field17 negative sign.
Numerals numeralsFromHeader(const db::RecordSet& header);

// Rounds half away from zero to whole dollars, then writes the words: a run of zeros inside the
// number is one zero, trailing zeros are dropped, a zero group keeps the zero that separates its
// neighbours, and from 100,000,000 on the ten-thousand unit is applied once more per group of
// four digits (壹萬萬元整).
std::string amountInWords(double amount, const Numerals& numerals);

} // namespace vistrel
