// Company, stores, paying accounts and providers of the demo chain.
#include "demo/demo_names.h"
#include "demo/demo_parts.h"
#include "demo/insert_batch.h"

#include "text/big5.h"

#include <algorithm>
#include <iterator>
#include <set>

namespace demo {
namespace {

using text::big5;

std::string join(const std::vector<std::string>& values)
{
    std::string out;
    for (const auto& v : values) {
        if (!out.empty())
            out += ',';
        out += v;
    }
    return out;
}

std::string phoneNumber(RandomSource& random)
{
    static const std::vector<std::string> areas{"02", "03", "04", "05", "06", "07", "08"};
    const std::string& area = random.pick(areas);
    const std::string first = std::to_string(random.between(2, 9));
    if (area == "02")
        return "(02)" + first + random.digits(3) + "-" + random.digits(4);
    return "(" + area + ")" + first + random.digits(2) + "-" + random.digits(4);
}

// An account number of 10 to 14 digits; a quarter of them start with zeros, which the bank
// files must keep as digits of the number.
std::string accountNumber(RandomSource& random)
{
    const int length = static_cast<int>(random.between(10, 14));
    if (random.percent(25)) {
        const int zeros = static_cast<int>(random.between(1, 2));
        return std::string(static_cast<std::size_t>(zeros), '0') + random.digits(length - zeros);
    }
    return std::to_string(random.between(1, 9)) + random.digits(length - 1);
}

} // namespace

void writeCompany(db::Connection& connection)
{
    InsertBatch rows(connection, "PUB_PARAM", "REP_TITLE,COMP_ID,COMP_TEL,COMP_ADDR");
    rows.add(join({sqlText(big5("大統百貨股份有限公司")), sqlText("22099131"), sqlText("(02)2501-8888"),
                   sqlText(big5("台北市中山區南京東路二段100號"))}));
    rows.finish();
}

std::vector<DemoStore> writeStores(db::Connection& connection, int count)
{
    const auto& names = demoNames().storeNames;
    std::vector<DemoStore> stores;
    InsertBatch rows(connection, "SLAVE_ITEM", "STORE_ID,STORE_NAME,STORE_TEL");
    for (int k = 0; k < count; ++k) {
        DemoStore store;
        store.id = (k + 1 < 10 ? "0" : "") + std::to_string(k + 1);
        store.name = big5(names[static_cast<std::size_t>(k) % names.size()]);
        store.weight = k == 0 ? 3 : (k % 3 == 1 ? 2 : 1); // the flagship and the city stores buy more
        rows.add(join(
            {sqlText(store.id), sqlText(store.name), sqlText("(02)2" + std::to_string(5000000 + 1111 * (k + 1)))}));
        stores.push_back(store);
    }
    rows.finish();
    return stores;
}

std::vector<DemoAccount> writeAccounts(db::Connection& connection)
{
    struct Row {
        const char* id;
        const char* name;
        const char* bankId;
        const char* bankName;
        const char* accountNo;
        const char* exportFile; // "interbank-samebank" base names of the transfer files
        const char* conPeople;  // the company's customer code at that bank
        const char* chequePrefix;
    };
    static const Row rowsData[] = {
        {"101", "大統百貨高銀三民戶", "0160022", "高雄銀行三民分行", "022102001234", "ABC-DEF", "2209913101", "KA"},
        {"102", "大統百貨兆豐城中戶", "0170012", "兆豐銀行城中分行", "00110023456", "MEGA1-MEGA2", "2209913102", "MB"},
        {"103", "大統百貨台銀營業戶", "0040037", "臺灣銀行營業部", "003001098765", "BOT01-BOT02", "2209913103", "TC"},
    };
    std::vector<DemoAccount> accounts;
    InsertBatch rows(connection, "BANK_ACCOUNT", "ACNT_ID,ACNT_NAME,BANK_ID,BANK_NAME,ACNT_NO,EXPORT_FILE,CON_PEOPLE");
    for (const Row& r : rowsData) {
        DemoAccount account{r.id, big5(r.name), big5(r.bankName), r.accountNo, r.chequePrefix};
        rows.add(join({sqlText(account.id), sqlText(account.name), sqlText(r.bankId), sqlText(account.bankName),
                       sqlText(account.accountNo), sqlText(r.exportFile), sqlText(r.conPeople)}));
        accounts.push_back(account);
    }
    rows.finish();
    return accounts;
}

std::vector<DemoProvider> writeProviders(db::Connection& connection, RandomSource& random, int count,
                                         const std::vector<DemoAccount>& accounts)
{
    const DemoNames& names = demoNames();
    static const std::vector<std::string> suffixes{"股份有限公司", "有限公司", "企業社", "商行"};
    static const std::vector<int> suffixWeights{50, 30, 12, 8};
    static const std::vector<int> paymentTerms{0, 0, 7, 15, 30};
    static const std::vector<int> chequeTerms{30, 60, 90};
    static const std::vector<double> fees{30, 30, 15, 10, 0};

    // The special cases the desk must cope with: exactly one name holding a single quote,
    // and a few providers whose bank data is missing or incomplete.
    const int quoteIndex = static_cast<int>(random.between(0, count - 1));
    std::set<int> missingBank;
    const int missingCount = std::max(3, count / 50);
    while (static_cast<int>(missingBank.size()) < missingCount) {
        const int k = static_cast<int>(random.between(0, count - 1));
        if (k != quoteIndex)
            missingBank.insert(k);
    }

    std::set<std::string> usedNames;
    std::vector<DemoProvider> providers;
    InsertBatch rows(connection, "PROVIDER",
                     "PROVIDER_ID,PROVIDER_NAME,PROVIDER_PHONE,PROVIDER_FAX,PROVIDER_ADDR,BANK_ID,BANK_NAME,"
                     "BANK_TITLE,BANK_ACCID,ACNT_ID,ACNT_AMT,FAX_YN");
    for (int k = 0; k < count; ++k) {
        DemoProvider provider;
        provider.id = "F" + std::to_string(1001 + k);

        std::string nameUtf8;
        bool soleTrader = false;
        if (k == quoteIndex) {
            nameUtf8 = "O'Neil 進口食品有限公司";
        } else {
            do {
                const std::size_t suffix = random.weighted(suffixWeights);
                soleTrader = suffix >= 2;
                nameUtf8 = random.pick(names.companyStems) + random.pick(names.trades) + suffixes[suffix];
            } while (!usedNames.insert(nameUtf8).second);
        }
        provider.name = big5(nameUtf8);
        provider.account = random.weighted({50, 30, 20}) % accounts.size();
        provider.paymentTermDays = random.pick(paymentTerms);
        provider.chequeTermDays = random.pick(chequeTerms);
        provider.weight = random.percent(10) ? 30 : static_cast<int>(random.between(1, 10));

        // A third of the providers bank where the company does: the same-bank transfer file.
        const BankBranch& branch =
            k % 3 == 0 ? random.pick(names.sameBankBranches) : random.pick(names.otherBankBranches);
        std::string bankId = sqlText(branch.code);
        std::string bankName = sqlText(big5(branch.name));
        std::string bankTitle =
            sqlText(soleTrader && random.percent(50) ? big5(random.pick(names.personNames)) : provider.name);
        std::string bankAccId = sqlText(accountNumber(random));
        if (missingBank.count(k)) {
            switch (std::distance(missingBank.begin(), missingBank.find(k)) % 3) {
            case 0: bankId = bankName = bankTitle = bankAccId = "NULL"; break; // never given
            case 1: bankAccId = "''"; break;                                   // account number lost
            default: bankTitle = "''"; break;                                  // holder not entered
            }
        }

        // Fees of 10, 15 or 30; every seventh provider has none recorded yet, which the
        // desk's start-up sets to 0.
        const std::string fee = k % 7 == 3 ? std::string("NULL") : sqlAmount(random.pick(fees));

        const std::string address = big5(random.pick(names.cities) + random.pick(names.streets) +
                                         std::to_string(random.between(1, 300)) + "號");
        rows.add(join({sqlText(provider.id), sqlText(provider.name), sqlText(phoneNumber(random)),
                       sqlText(phoneNumber(random)), sqlText(address), bankId, bankName, bankTitle, bankAccId,
                       sqlText(accounts[provider.account].id), fee, sqlText(random.percent(35) ? "Y" : "N")}));
        providers.push_back(provider);
    }
    rows.finish();
    return providers;
}

} // namespace demo
