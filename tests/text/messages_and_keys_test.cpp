#include "text/big5.h"
#include "text/combo_key.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace {

TEST(Messages, FirstPlaceholderTakesTheValue)
{
    EXPECT_EQ(text::formatMessage("Unable to write to %s", "/tmp/Bill.ini"), "Unable to write to /tmp/Bill.ini");
    EXPECT_EQ(text::formatMessage("'%s' is not a valid date", ""), "'' is not a valid date");
    EXPECT_EQ(text::formatMessage("%s and %s", "a"), "a and %s");
    EXPECT_EQ(text::formatMessage("%s", "100%s"), "100%s"); // the value is not searched again
    EXPECT_EQ(text::formatMessage("no placeholder", "x"), "no placeholder");
}

TEST(ComboKeys, TextBeforeTheFirstComma)
{
    struct Case {
        std::string item, key;
    };
    const Case cases[] = {
        {"001,總店", "001"}, {"A01,台北店,備註", "A01"}, {",empty", ""}, {"no comma", ""}, {"", ""}, {"12,", "12"},
    };
    for (const auto& c : cases) {
        const auto item = text::big5(c.item);
        EXPECT_EQ(text::comboKey(item), text::big5(c.key)) << c.item;
    }
}

} // namespace
