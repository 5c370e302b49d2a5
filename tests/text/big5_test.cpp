#include "text/big5.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace {

using text::big5ToUtf8;
using text::utf8ToBig5;

TEST(Big5Codec, KnownCharactersHaveTheirCodePage950Bytes)
{
    struct Case {
        const char* utf8;
        const char* big5;
    };
    const Case cases[] = {
        {"現金", "\xB2\x7B\xAA\xF7"},         {"匯款", "\xB6\xD7\xB4\xDA"},
        {"廠商", "\xBC\x74\xB0\xD3"},         {"們", "\xAD\xCC"},
        {"許功", "\xB3\x5C\xA5\x5C"}, // trail bytes that read as '\' in ASCII
        {"A1 現金,", "A1 \xB2\x7B\xAA\xF7,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(utf8ToBig5(c.utf8), c.big5);
        EXPECT_EQ(big5ToUtf8(c.big5), c.utf8);
    }
}

TEST(Big5Codec, TypicalBackOfficeTextRoundTrips)
{
    const std::string texts[] = {
        "現金",
        "匯款",
        "廠商",
        "壹貳參肆伍陸柒捌玖拾佰仟萬元整零負",
        "支票到期日 格式有誤......",
        "未 匯 款",
        "【2014/03/18】",
        "路徑檔名",
        "全形　空白",
        "ASCII only: 0123 ~!@#$%^&*()_+",
        "",
    };
    for (const auto& utf8 : texts) {
        SCOPED_TRACE(utf8);
        const auto bytes = utf8ToBig5(utf8);
        EXPECT_EQ(big5ToUtf8(bytes), utf8);
    }
    // Every Chinese character takes two bytes: the widths of files and reports depend on it.
    EXPECT_EQ(utf8ToBig5("壹貳參肆伍陸柒捌玖拾佰仟萬元整零負").size(), 17u * 2);
    EXPECT_EQ(utf8ToBig5("AB現金").size(), 6u);
}

TEST(Big5Codec, CharacterWithoutBig5FormIsRefusedByName)
{
    struct Case {
        const char* utf8;
        const char* message;
    };
    const Case cases[] = {
        {"们", "無法以 Big5 表示的字元: '们' (U+4EEC)"},    // simplified only
        {"現金😀", "無法以 Big5 表示的字元: '😀' (U+1F600)"}, // emoji after valid text
        {"abc\xF0\x9F\x98\x80xyz", "無法以 Big5 表示的字元: '😀' (U+1F600)"},
        {"ok\xFF", "無效的 UTF-8 位元組: 0xFF"},     // not UTF-8 at all
        {"ok\xE7\x8F", "無效的 UTF-8 位元組: 0xE7"}, // cut-off sequence
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        try {
            const auto converted = utf8ToBig5(c.utf8);
            ADD_FAILURE() << "converted to " << converted.size() << " bytes";
        } catch (const text::UserError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(Big5Codec, ARefusalLeavesTheNextConversionClean)
{
    EXPECT_THROW(utf8ToBig5("現们"), text::UserError);
    EXPECT_EQ(utf8ToBig5("現金"), "\xB2\x7B\xAA\xF7");
}

TEST(Big5Codec, InvalidBytesBecomeReplacementCharacters)
{
    struct Case {
        std::string big5;
        std::string utf8;
    };
    const Case cases[] = {
        {"\xFF", "\xEF\xBF\xBD"},
        {"A\xFF\xB2\x7B", "A\xEF\xBF\xBD現"},
        {"\xFE\xFE"
         "A",
         "\xEF\xBF\xBD"
         "A"},                                             // a well-formed pair with no character
        {"\xB2\x20\xB2\x7B", "\xEF\xBF\xBD \xE7\x8F\xBE"}, // lead byte before a blank
        {"\xAA\xF7\xB2", "金\xEF\xBF\xBD"},                // lead byte cut off at the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.big5);
        EXPECT_EQ(big5ToUtf8(c.big5), c.utf8);
    }
}

TEST(Big5Codec, UserDefinedAreasHoldNoCharacters)
{
    // Windows maps these areas onto the Private Use Area; the system's data never holds them.
    for (const char* bytes : {"\x81\x40", "\xA0\xFE", "\xFA\x40", "\xFE\xFE"}) {
        SCOPED_TRACE(testing::Message() << std::hex << static_cast<unsigned>(static_cast<unsigned char>(bytes[0])));
        EXPECT_FALSE(text::isBig5Text(bytes));
        EXPECT_EQ(big5ToUtf8(bytes), "\xEF\xBF\xBD");
    }
    EXPECT_THROW(utf8ToBig5("\xEE\x80\x80"), text::UserError); // U+E000, the first of them
    EXPECT_THROW(utf8ToBig5("\xEF\xA3\xB8"), text::UserError); // U+F8F8, which Windows writes as 0xFF
    EXPECT_EQ(utf8ToBig5("\xEF\x9A\xB1"), "\xC6\xA1");         // U+F6B1 is a character of the table
}

TEST(Big5Codec, BoxDrawingCharactersTakeTheirFirstForm)
{
    // Four characters stand twice in the code page; both forms read, the first is written.
    struct Case {
        const char* utf8;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"═", "\xA2\xA4", "\xF9\xF9"},
        {"╞", "\xA2\xA5", "\xF9\xE9"},
        {"╡", "\xA2\xA7", "\xF9\xEB"},
        {"╪", "\xA2\xA6", "\xF9\xEA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(utf8ToBig5(c.utf8), c.first);
        EXPECT_EQ(big5ToUtf8(c.first), c.utf8);
        EXPECT_EQ(big5ToUtf8(c.second), c.utf8);
    }
    EXPECT_EQ(utf8ToBig5("A═B"), "A\xA2\xA4"
                                 "B");
}

// FNV-1a over a table's entries, so two systems' tables compare by one number.
struct TableDigest {
    std::uint64_t hash = 1469598103934665603ULL;
    std::size_t entries = 0;
    void add(std::string_view bytes)
    {
        for (const char c : bytes)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        hash = (hash ^ 0xFF) * 1099511628211ULL;
    }
};

TEST(Big5Codec, TheWholeCodePageReadsTheSameOnEverySystem)
{
    // Every byte and byte pair that Big5 can form, with what it reads as: the figures are those
    // of the table the system's data was written with.
    TableDigest digest;
    const auto visit = [&](const std::string& bytes) {
        if (!text::isBig5Text(bytes))
            return;
        ++digest.entries;
        digest.add(bytes);
        digest.add(big5ToUtf8(bytes));
    };
    for (int single = 0x80; single <= 0xFF; ++single)
        visit(std::string(1, static_cast<char>(single)));
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            if (text::isBig5TrailByte(static_cast<unsigned char>(trail)))
                visit({static_cast<char>(lead), static_cast<char>(trail)});
    EXPECT_EQ(digest.entries, 13912u);
    EXPECT_EQ(digest.hash, 5892192129270270365ULL);
}

TEST(Big5Codec, TheWholeBasicPlaneWritesTheSameOnEverySystem)
{
    TableDigest digest;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::string utf8;
        if (c < 0x800)
            utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        else
            utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        try {
            const auto bytes = utf8ToBig5(utf8);
            ++digest.entries;
            digest.add(utf8);
            digest.add(bytes);
        } catch (const text::UserError&) {
        }
    }
    EXPECT_EQ(digest.entries, 13902u);
    EXPECT_EQ(digest.hash, 8467904606249171543ULL);
}

TEST(Big5Codec, ThreadsConvertIndependently)
{
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 2000; ++i) {
                const std::string utf8 = "廠商" + std::to_string(t * 10000 + i) + "匯款";
                if (big5ToUtf8(utf8ToBig5(utf8)) != utf8)
                    ++failures[static_cast<std::size_t>(t)];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

TEST(Big5Bytes, LeadBytesAreFoundWalkingFromTheStart)
{
    // "金金" is AA F7 AA F7: F7 lies in the lead range but is a trail byte here.
    const std::string twoGold = "\xAA\xF7\xAA\xF7";
    struct Case {
        std::string text;
        std::size_t at;
        bool lead;
    };
    const Case cases[] = {
        {twoGold, 0, true},
        {twoGold, 1, false},
        {twoGold, 2, true},
        {twoGold, 3, false},
        {"A" + twoGold, 0, false},
        {"A" + twoGold, 1, true},
        {"A" + twoGold, 2, false},
        {"\xB2", 0, false},  // a lead byte with nothing after it is no character
        {"\xB2 ", 0, false}, // nor one before a byte that cannot trail
        {"\xB3\x5C\xA5\x5C", 1, false},
        {"\xB3\x5C\xA5\x5C", 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.at);
        EXPECT_EQ(text::isLeadByteAt(c.text, c.at), c.lead);
    }
}

} // namespace
