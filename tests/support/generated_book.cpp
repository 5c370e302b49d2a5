#include "support/generated_book.h"

#include "db/sql.h"
#include "text/big5.h"

#include <cstdio>
#include <optional>
#include <random>

namespace testing_support {

namespace {

using Text = std::optional<std::string>;

std::string value(const Text& text)
{
    return text ? db::quote(*text) : "NULL";
}

std::string value(const std::optional<double>& number)
{
    if (!number)
        return "NULL";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.2f", *number);
    return buffer;
}

// Big5 characters whose trail byte is '\\' (許 A7 5C, 功 A5 5C), '|' (A1 7C), '_' (A5 5F 北),
// '@' (A1 40, the first Big5 character) and the last byte value (F9 FE).
const char* const kEdgeTexts[] = {
    "\xA7\x5C\xA5\x5C", // 許功
    "\xA5\x5F\xA1\x7C", // 北 and a character with trail byte '|'
    "O'Neil \xA1\x40",  // a quote and the first Big5 character
    "\xF9\xFE\xA4\x40", // the last Big5 code and 一
    "Plain name",
};

class Generator {
public:
    Generator(db::Executor& database, const BookOptions& options)
        : db_(database), random_(options.seed), options_(options)
    {
    }

    GeneratedBook run()
    {
        stores();
        accounts();
        providers();
        book_.firstDay = "2026/01/01";
        book_.lastDay = "2026/02/28";
        for (int i = 0; i < options_.billsPerBook; ++i) {
            bill(false, i);
            bill(true, i);
        }
        return book_;
    }

private:
    int pick(int count) { return static_cast<int>(random_() % static_cast<std::uint32_t>(count)); }
    bool chance(int percent) { return pick(100) < percent; }
    const char* edgeText() { return kEdgeTexts[pick(static_cast<int>(std::size(kEdgeTexts)))]; }

    void store(const std::string& id, const Text& name)
    {
        db_.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES (" + db::quote(id) + ", " + value(name) +
                    ")");
        book_.storeIds.push_back(id);
    }

    void stores()
    {
        switch (options_.stores) {
        case StoreList::Several:
            store("01", text::big5("台北店"));
            store("02", std::string("O'Hare ") + kEdgeTexts[0]);
            store("03", std::nullopt);
            store("05", kEdgeTexts[1]);
            break;
        case StoreList::None: break;
        case StoreList::One: store("02", text::big5("高雄店")); break;
        case StoreList::EmptyIdFirst:
            store("", text::big5("無代號店"));
            store("01", text::big5("台北店"));
            break;
        }
    }

    void accounts()
    {
        db_.execute(
            "INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, CON_PEOPLE) "
            "VALUES ('A1', " +
            db::quote(text::big5("總公司帳戶")) + ", '0160002', " + db::quote(kEdgeTexts[0]) +
            ", '998877', 'ABC-DEF', 'CONTACT')");
        db_.execute("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID) VALUES ('A2', 'O''Brien', " +
                    db::quote(std::string("\xA7\x5C") + "9") + ")");
        book_.accountIds = {"A1", "A2", "A9"};
    }

    void providers()
    {
        for (int i = 0; i < 12; ++i) {
            char id[8];
            std::snprintf(id, sizeof id, "P%02d", i);
            Text bankId;
            switch (i % 5) {
            case 0: bankId = "0160123"; break; // same bank as A1
            case 1: bankId = "0170456"; break;
            case 2: bankId = std::nullopt; break;
            case 3: bankId = std::string("\xA5\x5F") + "12"; break; // its first 3 bytes cut a character
            case 4: bankId = "01"; break;
            }
            const Text name = i == 7 ? Text{} : Text{std::string(edgeText()) + " " + id};
            db_.execute(
                "INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, PROVIDER_PHONE, BANK_ID, BANK_NAME, BANK_TITLE, "
                "BANK_ACCID, ACNT_AMT, FAX_YN) VALUES (" +
                db::quote(id) + ", " + value(name) + ", " + value(i % 4 == 1 ? Text{} : Text{"02-1234"}) + ", " +
                value(bankId) + ", " + value(Text{edgeText()}) + ", " + value(i % 6 == 5 ? Text{} : Text{edgeText()}) +
                ", " + value(i % 7 == 3 ? Text{} : Text{"00123456789"}) + ", " +
                value(i % 5 == 4 ? std::optional<double>{} : std::optional<double>{(i % 3) * 15.5}) + ", " +
                value(i % 3 == 0   ? Text{"Y"}
                      : i % 3 == 1 ? Text{"N"}
                                   : Text{}) +
                ")");
            book_.providerIds.push_back(id);
        }
    }

    Text date(int percentNull)
    {
        if (chance(percentNull))
            return std::nullopt;
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "2026/%02d/%02d", 1 + pick(2), 1 + pick(28));
        return std::string(buffer);
    }

    std::optional<double> amount()
    {
        switch (pick(8)) {
        case 0:
        case 1:
        case 2: return 0.0;
        case 3: return std::nullopt;
        case 4: return -(100 + pick(500));
        default: return pick(200000) / 4.0;
        }
    }

    void bill(bool joint, int n)
    {
        char key[24];
        std::snprintf(key, sizeof key, "%s%05d", joint ? "U" : "M", n);
        Text provider;
        const int p = pick(20);
        if (p < 14)
            provider = book_.providerIds[static_cast<std::size_t>(p % 12)];
        else if (p < 17)
            provider = "PX"; // not in PROVIDER
        else if (p < 18)
            provider = "P'1"; // a quote in the key
        else
            provider = std::nullopt;
        Text store;
        const int s = pick(10);
        if (s < 6 && !book_.storeIds.empty())
            store = book_.storeIds[static_cast<std::size_t>(s) % book_.storeIds.size()];
        else if (s < 8)
            store = "99"; // not in SLAVE_ITEM
        else if (s < 9)
            store = "";
        else
            store = std::nullopt;
        Text bankDate;
        switch (pick(6)) {
        case 0: bankDate = std::nullopt; break;
        case 1: bankDate = ""; break;
        case 2: bankDate = " "; break; // a blank is a stamp of length 1
        default: bankDate = date(0); break;
        }
        const std::string account = book_.accountIds[static_cast<std::size_t>(pick(10) < 7 ? 0 : pick(3))];
        const Text providerName = chance(10) ? Text{} : Text{std::string(edgeText())};
        const std::string columns = "BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, STORE_ID, ACNT_ID, BANK_DATE, "
                                    "CASH_AMT, BANK_IO, PAGE_AMT, PAGE_ID, EXPDATE, PRE_PAY, TAKE_PRE";
        const std::string values = value(date(5)) + ", " + value(date(5)) + ", " + value(provider) + ", " +
                                   value(providerName) + ", " + value(store) + ", " + db::quote(account) + ", " +
                                   value(bankDate) + ", " + value(amount()) + ", " + value(amount()) + ", " +
                                   value(amount()) + ", " + db::quote(std::string("C") + key) + ", " + value(date(30)) +
                                   ", " + value(amount()) + ", " + value(amount());
        if (joint) {
            // Store bill numbers repeat across stores in the joint book.
            char storeBill[24];
            std::snprintf(storeBill, sizeof storeBill, "M%05d", n / 2);
            db_.execute("INSERT INTO PAY_MASTERU (SECBILLID, MASTERBILLID, " + columns + ") VALUES (" + db::quote(key) +
                        ", " + db::quote(storeBill) + ", " + values + ")");
        } else {
            db_.execute("INSERT INTO PAY_MASTER (MASTERBILLID, " + columns + ") VALUES (" + db::quote(key) + ", " +
                        values + ")");
        }
    }

    db::Executor& db_;
    std::mt19937 random_;
    BookOptions options_;
    GeneratedBook book_;
};

} // namespace

GeneratedBook generateBook(db::Executor& database, const BookOptions& options)
{
    return Generator(database, options).run();
}

} // namespace testing_support
