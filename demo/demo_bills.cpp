// A year of payment bills, ending today, in the own store's book and the joint book of all
// stores, and the cheques that pay their cheque amounts.
#include "demo/demo_names.h"
#include "demo/demo_parts.h"
#include "demo/insert_batch.h"

#include "text/big5.h"
#include "text/fixed_width.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace demo {
namespace {

using namespace std::chrono;
using text::big5;

constexpr int daysInYear = 366; // today and the 365 days before it

struct Cheque {
    std::string id;
    std::string issued, due, advance; // RCVDATE, EXPDATE, ADVDATE
    std::size_t provider = 0;
    std::size_t account = 0;
    std::string month; // "yyyy/mm" of the bills it pays
    double amount = 0;
};

// How many bills each day gets: a share of the bills falls on today, so that the desk's
// date edits, which start at today, find work; the rest spreads over the year, with
// fewer bills at weekends.
std::vector<long long> billsPerDay(long long total, sys_days firstDay)
{
    std::vector<long long> counts(daysInYear, 0);
    if (total <= 0)
        return counts;
    const long long today = std::max<long long>(1, total / 100);
    counts[daysInYear - 1] = today;
    const long long rest = total - today;

    std::vector<long long> weights(daysInYear - 1);
    long long weightSum = 0;
    for (int d = 0; d < daysInYear - 1; ++d) {
        const unsigned weekday = std::chrono::weekday(firstDay + days(d)).c_encoding();
        weights[static_cast<std::size_t>(d)] = weekday == 0 ? 3 : weekday == 6 ? 6 : 10;
        weightSum += weights[static_cast<std::size_t>(d)];
    }
    long long cumulative = 0, assigned = 0;
    for (int d = 0; d < daysInYear - 1; ++d) {
        cumulative += weights[static_cast<std::size_t>(d)];
        const long long upTo = rest * cumulative / weightSum;
        counts[static_cast<std::size_t>(d)] = upTo - assigned;
        assigned = upTo;
    }
    return counts;
}

class BillWriter {
public:
    BillWriter(db::Connection& connection, RandomSource& random, const std::vector<DemoStore>& stores,
               const std::vector<DemoAccount>& accounts, const std::vector<DemoProvider>& providers)
        : connection_(connection), random_(random), stores_(stores), accounts_(accounts), providers_(providers),
          today_(todayDay())
    {
        for (const auto& p : providers_)
            providerWeights_.push_back(p.weight);
        for (const auto& s : stores_)
            storeWeights_.push_back(s.weight);
        for (std::size_t a = 0; a < accounts_.size(); ++a)
            nextChequeNumber_.push_back(random_.between(1000000, 3000000));
    }

    void writeBook(bool joint, long long bills);
    void writeCheques();

private:
    struct Amounts {
        double cash = 0, bank = 0, cheque = 0;
        double prePay = 0, takePre = 0, discount = 0, patch = 0, overPay = 0, totalPlus = 0;
    };

    Amounts drawAmounts();
    double grossAmount();
    Cheque& chequeFor(bool joint, std::size_t provider, std::size_t account, sys_days payDay);
    Cheque& newCheque(std::size_t provider, std::size_t account, sys_days issued);
    std::string stampFor(sys_days payDay, const Cheque* cheque);

    db::Connection& connection_;
    RandomSource& random_;
    const std::vector<DemoStore>& stores_;
    const std::vector<DemoAccount>& accounts_;
    const std::vector<DemoProvider>& providers_;
    const sys_days today_;
    std::vector<int> providerWeights_;
    std::vector<int> storeWeights_;
    std::vector<long long> nextChequeNumber_;
    std::vector<Cheque> cheques_;
    std::map<std::tuple<bool, std::size_t, std::size_t, std::string>, std::size_t> chequeByKey_;
};

double BillWriter::grossAmount()
{
    const int band = static_cast<int>(random_.between(0, 99));
    double amount = band < 60   ? static_cast<double>(random_.between(1000, 50000))
                    : band < 90 ? static_cast<double>(random_.between(50000, 300000))
                                : static_cast<double>(random_.between(300000, 2000000));
    if (random_.percent(2))
        amount += 0.5; // a few halves, for the rounding of the bank files
    return amount;
}

// The payment mix of a bill: cash, bank transfer (BANK_IO), cheque (PAGE_AMT), their
// combinations, bills settled to nothing, and credit notes with a negative transfer.
BillWriter::Amounts BillWriter::drawAmounts()
{
    Amounts a;
    const double gross = grossAmount();
    const auto smallCash = [&] { return static_cast<double>(random_.between(100, 20000)); };
    const int kind = static_cast<int>(random_.between(0, 99));
    if (kind < 32) {
        a.bank = gross;
    } else if (kind < 49) {
        a.cheque = gross;
    } else if (kind < 61) {
        a.cash = smallCash();
    } else if (kind < 71) {
        a.bank = gross;
        a.cash = smallCash();
    } else if (kind < 80) {
        a.cheque = gross;
        a.cash = smallCash();
    } else if (kind < 87) {
        a.bank = static_cast<double>(static_cast<long long>(gross / 2));
        a.cheque = gross - a.bank;
    } else if (kind < 90) {
        a.bank = static_cast<double>(static_cast<long long>(gross / 2));
        a.cheque = gross - a.bank;
        a.cash = smallCash();
    } else if (kind < 95) {
        // returned goods offset the whole bill
        a.totalPlus = static_cast<double>(random_.between(500, 30000));
        a.discount = a.totalPlus;
        return a;
    } else {
        a.bank = -static_cast<double>(random_.between(500, 20000)); // credit note
        a.totalPlus = a.bank;
        return a;
    }
    if (random_.percent(20))
        a.discount =
            static_cast<double>(static_cast<long long>(gross * static_cast<double>(random_.between(1, 3)) / 100));
    if (random_.percent(5))
        a.patch = static_cast<double>(random_.between(50, 2000));
    if (random_.percent(3)) {
        a.prePay = static_cast<double>(random_.between(1000, 20000));
        if (random_.percent(50))
            a.takePre = a.prePay;
    }
    if (random_.percent(1))
        a.overPay = static_cast<double>(random_.between(10, 500));
    a.totalPlus = a.cash + a.bank + a.cheque + a.discount + a.takePre - a.patch;
    return a;
}

// Each provider gets one cheque per paying account and month of payment in each book; it
// is issued on the payment day of its first bill and falls due after the provider's term.
Cheque& BillWriter::chequeFor(bool joint, std::size_t provider, std::size_t account, sys_days payDay)
{
    const std::string month = dateText(payDay).substr(0, 7);
    const auto key = std::make_tuple(joint, provider, account, month);
    if (const auto found = chequeByKey_.find(key); found != chequeByKey_.end())
        return cheques_[found->second];
    chequeByKey_.emplace(key, cheques_.size());
    Cheque& cheque = newCheque(provider, account, payDay);
    cheque.month = month;
    return cheque;
}

Cheque& BillWriter::newCheque(std::size_t provider, std::size_t account, sys_days issued)
{
    Cheque cheque;
    cheque.id = accounts_[account].chequePrefix + text::zeroFilled(nextChequeNumber_[account]++, 7);
    cheque.issued = dateText(issued);
    const sys_days due = issued + days(providers_[provider].chequeTermDays);
    cheque.due = dateText(due);
    if (random_.percent(30))
        cheque.advance = dateText(due - days(7));
    cheque.provider = provider;
    cheque.account = account;
    cheques_.push_back(cheque);
    return cheques_.back();
}

// BANK_DATE: bills paid by cheque carry the cheque's issue date once it is a week old;
// other bills are stamped on their payment day when it lies two weeks back, and some of
// the last two weeks' bills are done already. Unprocessed bills hold '' or NULL alike.
std::string BillWriter::stampFor(sys_days payDay, const Cheque* cheque)
{
    if (cheque) {
        if (cheque->issued <= dateText(today_ - days(7)))
            return sqlText(cheque->issued);
    } else if (payDay <= today_ - days(14)) {
        if (random_.percent(98))
            return sqlText(dateText(payDay));
    } else if (payDay <= today_) {
        if (random_.percent(40))
            return sqlText(dateText(payDay));
    }
    return random_.percent(50) ? "''" : "NULL";
}

void BillWriter::writeBook(bool joint, long long bills)
{
    static const std::string ownColumns = "MASTERBILLID,BILL_DATE,PAY_DATE,PROVIDER_ID,PROVIDER_NAME,STORE_ID,ACNT_ID,"
                                          "BANK_DATE,CASH_AMT,BANK_IO,PAGE_AMT,"
                                          "PAGE_ID,EXPDATE,PRE_PAY,TAKE_PRE,TOT_DISCOUNT,TOT_PATCH,OVER_PAY,TOTAL_PLUS";
    InsertBatch rows(connection_, joint ? "PAY_MASTERU" : "PAY_MASTER", joint ? "SECBILLID," + ownColumns : ownColumns);

    const sys_days firstDay = today_ - days(daysInYear - 1);
    const auto counts = billsPerDay(bills, firstDay);
    std::vector<long long> storeSequence(stores_.size());
    std::string values;
    for (int d = 0; d < daysInYear; ++d) {
        const sys_days billDay = firstDay + days(d);
        const std::string billDate = dateText(billDay);
        const std::string dateDigits = billDate.substr(0, 4) + billDate.substr(5, 2) + billDate.substr(8, 2);
        std::fill(storeSequence.begin(), storeSequence.end(), 0);
        for (long long n = 0; n < counts[static_cast<std::size_t>(d)]; ++n) {
            const std::size_t p = random_.weighted(providerWeights_);
            const DemoProvider& provider = providers_[p];
            const std::size_t s = joint ? random_.weighted(storeWeights_) : 0;
            const std::size_t account =
                random_.percent(90)
                    ? provider.account
                    : static_cast<std::size_t>(random_.between(0, static_cast<long long>(accounts_.size()) - 1));
            const sys_days payDay = billDay + days(provider.paymentTermDays);
            const Amounts a = drawAmounts();

            // Bill numbers run per store and day: "P" + date + sequence. The joint book's key
            // puts the store in front of the store's own number.
            const std::string billId = "P" + dateDigits + text::zeroFilled(++storeSequence[s], 6);

            Cheque* cheque = nullptr;
            if (a.cheque != 0) {
                cheque = &chequeFor(joint, p, account, payDay);
                cheque->amount += a.cheque;
            }

            values.clear();
            if (joint)
                values += sqlText(stores_[s].id + billId) + ",";
            values += sqlText(billId) + "," + sqlText(billDate) + "," + sqlText(dateText(payDay)) + "," +
                      sqlText(provider.id) + "," + sqlText(provider.name) + "," + sqlText(stores_[s].id) + "," +
                      sqlText(accounts_[account].id) + "," + stampFor(payDay, cheque) + "," + sqlAmount(a.cash) + "," +
                      sqlAmount(a.bank) + "," + sqlAmount(a.cheque) + "," +
                      (cheque ? sqlText(cheque->id) + "," + sqlText(cheque->due) : std::string("NULL,NULL")) + "," +
                      sqlAmount(a.prePay) + "," + sqlAmount(a.takePre) + "," + sqlAmount(a.discount) + "," +
                      sqlAmount(a.patch) + "," + sqlAmount(a.overPay) + "," + sqlAmount(a.totalPlus);
            rows.add(values);
        }
    }
    rows.finish();
}

void BillWriter::writeCheques()
{
    static const std::vector<std::string> remarks = [] {
        std::vector<std::string> out;
        for (const auto& r : demoNames().chequeRemarks)
            out.push_back(big5(r));
        return out;
    }();

    // A few advance payments: cheques that no bill refers to.
    for (int k = 0; k < 3 && !providers_.empty(); ++k) {
        const std::size_t p =
            static_cast<std::size_t>(random_.between(0, static_cast<long long>(providers_.size()) - 1));
        Cheque& cheque = newCheque(p, providers_[p].account, today_ - days(random_.between(0, 60)));
        cheque.amount = static_cast<double>(random_.between(10, 100) * 1000);
    }

    InsertBatch rows(
        connection_, "CHKPAY",
        "ID,RCVDATE,EXPDATE,ADVDATE,PROVIDER_ID,PROVIDER_NAME,CHKTITLE,ACNT_ID,ACNT_NO,BANK_NAME,CURRAMT,MEMO,REMARK2");
    for (const Cheque& c : cheques_) {
        const DemoProvider& provider = providers_[c.provider];
        const DemoAccount& account = accounts_[c.account];
        const std::string memo = c.month.empty() ? big5("預付貨款") : c.month + big5(" 貨款");
        rows.add(sqlText(c.id) + "," + sqlText(c.issued) + "," + sqlText(c.due) + "," + sqlTextOrNull(c.advance) + "," +
                 sqlText(provider.id) + "," + sqlText(provider.name) + "," + sqlText(provider.name) + "," +
                 sqlText(account.id) + "," + sqlText(account.accountNo) + "," + sqlText(account.bankName) + "," +
                 sqlAmount(c.amount) + "," + sqlText(memo) + "," + sqlText(random_.pick(remarks)));
    }
    rows.finish();
}

} // namespace

void writeBillsAndCheques(db::Connection& connection, RandomSource& random, long long billsPerBook,
                          const std::vector<DemoStore>& stores, const std::vector<DemoAccount>& accounts,
                          const std::vector<DemoProvider>& providers)
{
    BillWriter writer(connection, random, stores, accounts, providers);
    writer.writeBook(false, billsPerBook);
    writer.writeBook(true, billsPerBook);
    writer.writeCheques();
}

} // namespace demo
