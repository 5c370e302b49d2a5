// Cheque amounts in Chinese capital numerals, from the characters of the cheque header.
#include "vistrel/amount_in_words.h"
#include "text/big5.h"

#include <gtest/gtest.h>

namespace {

vistrel::Numerals chequeNumerals()
{
    vistrel::Numerals n;
    const char* digits[] = {"零", "壹", "貳", "參", "肆", "伍", "陸", "柒", "捌", "玖"};
    for (int d = 0; d < 10; ++d)
        n.digit[d] = text::big5(digits[d]);
    n.ten = text::big5("拾");
    n.hundred = text::big5("佰");
    n.thousand = text::big5("仟");
    n.tenThousand = text::big5("萬");
    n.closing = text::big5("元整");
    n.negative = text::big5("負");
    return n;
}

struct WordsCase {
    double amount;
    const char* words; // UTF-8
};

TEST(AmountInWords, FollowsTheChequeWritingRules)
{
    const WordsCase cases[] = {
        {0, "零元整"},
        {1, "壹元整"},
        {10, "壹拾元整"},
        {15, "壹拾伍元整"},
        {100, "壹佰元整"},
        {101, "壹佰零壹元整"},
        {110, "壹佰壹拾元整"},
        {1001, "壹仟零壹元整"}, // a run of zeros is one 零
        {1010, "壹仟零壹拾元整"},
        {2300, "貳仟參佰元整"}, // trailing zeros are dropped
        {10000, "壹萬元整"},
        {10005, "壹萬零伍元整"},
        {100500, "壹拾萬零伍佰元整"}, // the zero before the ten-thousand group keeps its 零
        {120000, "壹拾貳萬元整"},
        {1000005, "壹佰萬零伍元整"},
        {12345678, "壹仟貳佰參拾肆萬伍仟陸佰柒拾捌元整"},
        {20000800, "貳仟萬零捌佰元整"},
        {100000000, "壹萬萬元整"}, // no character for 100,000,000: 萬 twice
        {100000500, "壹萬萬零伍佰元整"},
        {100010000, "壹萬萬零壹萬元整"},
        {123456789, "壹萬萬貳仟參佰肆拾伍萬陸仟柒佰捌拾玖元整"},
        {1000000000000, "壹萬萬萬元整"},
        {-5, "負伍元整"},
        {-100500, "負壹拾萬零伍佰元整"},
        {0.5, "壹元整"}, // rounded half away from zero
        {-0.5, "負壹元整"},
        {2.4999, "貳元整"},
        {99999.5, "壹拾萬元整"},
        {-0.4, "零元整"},
    };
    const vistrel::Numerals n = chequeNumerals();
    for (const WordsCase& c : cases)
        EXPECT_EQ(text::big5ToUtf8(vistrel::amountInWords(c.amount, n)), c.words) << "amount " << c.amount;
}

TEST(AmountInWords, UsesOnlyTheCharactersTheHeaderHandsOver)
{
    // The cheque header: Field1-9 digits, Field10 zero, Field11 closing, Field12 the company
    // title (not a numeral), Field13-16 units, Field17 the negative sign.
    std::vector<db::Column> columns;
    for (int i = 0; i < 18; ++i)
        columns.push_back({"Field" + std::to_string(i), db::FieldType::String, 50});
    db::RecordSet header(columns);
    header.appendRow();
    const char* values[] = {"",   "一", "二",   "三",   "四", "五", "六", "七", "八",
                            "九", "○",  "圓正", "公司", "十", "百", "千", "Ｗ", "減"};
    for (int i = 0; i < 18; ++i)
        header.setText(0, i, text::big5(values[i]));
    const vistrel::Numerals n = vistrel::numeralsFromHeader(header);
    EXPECT_EQ(text::big5ToUtf8(vistrel::amountInWords(-100500, n)), "減一十Ｗ○五百圓正");
    EXPECT_EQ(text::big5ToUtf8(vistrel::amountInWords(100000000, n)), "一ＷＷ圓正");
}

} // namespace
