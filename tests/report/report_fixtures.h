#pragma once
// Small, realistic data and header record sets for each report kind, as the pages hand them
// over. Header-only so that the report benchmark builds its large remittance list the same way.
#include "db/record_set.h"
#include "report/bridge.h"
#include "text/big5.h"

#include <cstdio>
#include <string>
#include <vector>

namespace report_fixtures {

struct Field {
    std::string name;
    db::FieldType type = db::FieldType::String;
    std::uint32_t size = 20;
};

inline db::RecordSet emptySet(const std::vector<Field>& fields)
{
    std::vector<db::Column> columns;
    for (const Field& f : fields)
        columns.push_back({f.name, f.type, f.type == db::FieldType::String ? f.size : 8});
    return db::RecordSet(std::move(columns));
}

// Appends a row; values are UTF-8 for strings (stored as Big5) and decimal text for numbers.
inline void addRow(db::RecordSet& set, const std::vector<std::pair<std::string, std::string>>& values)
{
    set.appendRow();
    const std::size_t row = set.rowCount() - 1;
    for (const auto& [name, value] : values) {
        const std::size_t c = set.fieldIndex(name);
        if (set.column(c).type == db::FieldType::String)
            set.setText(row, c, text::big5(value));
        else
            set.setNumber(row, c, std::stod(value));
    }
}

inline std::string two(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// ---- remittance list: the columns of the per-provider, per-store table
inline db::RecordSet remittanceListSet(int stores)
{
    std::vector<Field> f = {{"CHKED", db::FieldType::String, 2},
                            {"BILL_DATE"},
                            {"BILL_YM"},
                            {"PAY_DATE"},
                            {"MASTERBILLID"},
                            {"PROVIDER_ID"},
                            {"PROVIDER_NAME", db::FieldType::String, 50},
                            {"ID"},
                            {"BANK_ID"},
                            {"BANK_NAME", db::FieldType::String, 50},
                            {"BANK_TITLE", db::FieldType::String, 50},
                            {"BANK_ACCID"},
                            {"BANK_DATE"}};
    for (int s = 1; s <= std::max(1, stores); ++s) {
        f.push_back({"AMT2" + two(s), db::FieldType::Float});
        f.push_back({"QTY2" + two(s), db::FieldType::Float});
        f.push_back({"ID_" + two(s)});
    }
    f.push_back({"AMT_T", db::FieldType::Float});
    f.push_back({"QTY_T", db::FieldType::Float});
    return emptySet(f);
}

inline const std::vector<std::string>& storeNames()
{
    static const std::vector<std::string> names = {"台北總店", "板橋店", "桃園店", "新竹店", "台中店", "彰化店",
                                                   "嘉義店",   "台南店", "高雄店", "屏東店", "宜蘭店", "花蓮店"};
    return names;
}

inline const std::vector<std::string>& providerNames()
{
    static const std::vector<std::string> names = {"大統食品股份有限公司", "永興紙業行", "順發五金",
                                                   "佳美日用品企業社",     "金豐米行",   "和成乳品有限公司",
                                                   "新東陽商行",           "福記醬園"};
    return names;
}

// A list of `rows` lines over `stores` stores, in BILL_YM, PROVIDER_ID, ID order.
inline db::RecordSet remittanceList(int stores, int rows)
{
    db::RecordSet set = remittanceListSet(stores);
    int row = 0;
    for (int month = 1; row < rows; ++month)
        for (int p = 0; p < 400 && row < rows; ++p) {
            const int lines = 1 + (p + month) % 3;
            for (int id = 1; id <= lines && row < rows; ++id, ++row) {
                std::vector<std::pair<std::string, std::string>> v = {
                    {"BILL_YM", "2016/" + two((month - 1) % 12 + 1)},
                    {"PROVIDER_ID", "P" + std::to_string(1000 + p)},
                    {"PROVIDER_NAME", providerNames()[p % providerNames().size()]},
                    {"ID", "00" + std::to_string(id)},
                    {"BANK_ID", p % 3 == 0 ? "0160012" : "0081234"},
                    {"BANK_NAME", p % 3 == 0 ? "國泰世華商業銀行" : "華南商業銀行"},
                    {"BANK_TITLE", providerNames()[p % providerNames().size()]},
                    {"BANK_ACCID", "1234" + std::to_string(567890 + p)},
                    {"BANK_DATE", "2016/03/10"}};
                double total = 0, count = 0;
                for (int s = 1; s <= stores; ++s) {
                    const bool has = (p + s + id) % (id + 1) == 0 || id == 1 || s == 1 + id % stores;
                    const double amount = has ? 1000.0 * ((p * 7 + s * 13 + id) % 40 + 1) + 250 : 0;
                    v.push_back({"AMT2" + two(s), std::to_string(amount)});
                    v.push_back({"QTY2" + two(s), has ? "1" : "0"});
                    total += amount;
                    count += has;
                }
                v.push_back({"AMT_T", std::to_string(total)});
                v.push_back({"QTY_T", std::to_string(count)});
                addRow(set, v);
            }
        }
    return set;
}

inline report::ReportRequest remittanceRequest(const db::RecordSet& data, int stores)
{
    report::ReportRequest r;
    r.templateFile = "P99_0005_02.rtm";
    r.data = &data;
    r.headerFieldCount = 13;
    for (int s = 0; s < stores; ++s)
        r.storeNames.push_back(text::big5(storeNames()[s % storeNames().size()]));
    r.header = {{"Field0", text::big5("廠商批次匯款明細表")},
                {"Field1", "2016/02/01"},
                {"Field2", "2016/02/29"},
                {"Field3", "3"},
                {"Field4", "45,750"},
                {"Field5", "5"},
                {"Field6", "88,250"},
                {"Field7", text::big5("康樂生活百貨股份有限公司")},
                {"Field9", text::big5("分店資料:全部")},
                {"Field10", text::big5("匯款日期:2016/03/10")},
                {"Field11", "9"},
                {"Field12", "136,500"}};
    return r;
}

// ---- cheques: the columns of the cheque work table
inline db::RecordSet cheques()
{
    db::RecordSet set = emptySet({{"CHKED", db::FieldType::String, 2},
                                  {"RCVDATE"},
                                  {"EXPDATE"},
                                  {"ADVDATE"},
                                  {"PROVIDER_ID"},
                                  {"PROVIDER_NAME", db::FieldType::String, 50},
                                  {"CHKTITLE", db::FieldType::String, 50},
                                  {"ID"},
                                  {"ACNT_ID"},
                                  {"ACNT_NO"},
                                  {"BANK_NAME", db::FieldType::String, 50},
                                  {"CURRAMT", db::FieldType::Float},
                                  {"MEMO", db::FieldType::String, 200},
                                  {"REMARK2", db::FieldType::String, 50},
                                  {"ACC_ID"},
                                  {"BANK_DATE"},
                                  {"YMD"},
                                  {"YYYY"},
                                  {"MM"},
                                  {"DD"},
                                  {"FLAG"}});
    auto cheque = [&](const char* id, const char* provider, const char* name, const char* title, const char* amount,
                      const char* exp, const char* ymd, const char* y, const char* m, const char* d) {
        addRow(set, {{"RCVDATE", "2016/02/15"},
                     {"EXPDATE", exp},
                     {"PROVIDER_ID", provider},
                     {"PROVIDER_NAME", name},
                     {"CHKTITLE", title},
                     {"ID", id},
                     {"ACNT_ID", "A01"},
                     {"ACNT_NO", "0123-456-78901"},
                     {"BANK_NAME", "臺灣銀行 中山分行"},
                     {"CURRAMT", amount},
                     {"YMD", ymd},
                     {"YYYY", y},
                     {"MM", m},
                     {"DD", d}});
    };
    cheque("AB1234567", "P1001", "大統食品股份有限公司", "大統食品股份有限公司", "100500", "2016/02/29", "105/02/29",
           "105", "02", "29");
    cheque("AB1234568", "P1002", "永興紙業行", "永興紙業行 陳永興", "1000005", "2016/03/31", "105/03/31", "105", "03",
           "31");
    cheque("AB1234569", "P1003", "順發五金", "順發五金行", "23456.5", "2016/04/10", "105/04/10", "105", "04", "10");
    cheque("AB1234570", "P1004", "佳美日用品企業社", "佳美日用品企業社", "120000000", "2016/04/30", "105/04/30", "105",
           "04", "30");
    return set;
}

inline report::ReportRequest chequeRequest(const db::RecordSet& data, const std::string& templateFile)
{
    report::ReportRequest r;
    r.templateFile = templateFile;
    r.data = &data;
    r.headerFieldCount = 18;
    const char* digits[] = {"壹", "貳", "參", "肆", "伍", "陸", "柒", "捌", "玖"};
    for (int i = 0; i < 9; ++i)
        r.header["Field" + std::to_string(i + 1)] = text::big5(digits[i]);
    r.header["Field10"] = text::big5("零");
    r.header["Field11"] = text::big5("元整");
    r.header["Field12"] = text::big5("康樂生活百貨股份有限公司");
    r.header["Field13"] = text::big5("拾");
    r.header["Field14"] = text::big5("佰");
    r.header["Field15"] = text::big5("仟");
    r.header["Field16"] = text::big5("萬");
    r.header["Field17"] = text::big5("負");
    return r;
}

// ---- inquiry: detail rows and provider statistics
inline db::RecordSet inquiryRows()
{
    db::RecordSet set = emptySet({{"CHKED", db::FieldType::String, 2},
                                  {"BILL_DATE"},
                                  {"PAY_DATE"},
                                  {"MASTERBILLID"},
                                  {"PROVIDER_ID"},
                                  {"PROVIDER_NAME", db::FieldType::String, 50},
                                  {"ACNT_ID"},
                                  {"BANK_DATE"},
                                  {"FLAG"},
                                  {"FLAG_ID"},
                                  {"FLAG_ID2"},
                                  {"AMT2", db::FieldType::Float},
                                  {"AMT", db::FieldType::Float},
                                  {"CASH_AMT", db::FieldType::Float},
                                  {"PAGE_AMT", db::FieldType::Float},
                                  {"EXPDATE"},
                                  {"STORE_ID"},
                                  {"STORE_NAME"}});
    auto row = [&](const char* kind, const char* bill, const char* date, const char* provider, const char* name,
                   const char* amt2, const char* cash, const char* page, const char* exp, const char* done) {
        const std::string k = kind;
        addRow(set, {{"BILL_DATE", date},
                     {"PAY_DATE", date},
                     {"MASTERBILLID", bill},
                     {"PROVIDER_ID", provider},
                     {"PROVIDER_NAME", name},
                     {"ACNT_ID", "A01"},
                     {"BANK_DATE", done},
                     {"FLAG", k == "0"   ? "現金"
                              : k == "1" ? "匯款"
                                         : "支票"},
                     {"FLAG_ID", k == "0"   ? "0.現金"
                                 : k == "1" ? "1.匯款"
                                            : "2.支票"},
                     {"FLAG_ID2", "貨款"},
                     {"AMT2", amt2},
                     {"AMT", amt2},
                     {"CASH_AMT", cash},
                     {"PAGE_AMT", page},
                     {"EXPDATE", exp}});
    };
    row("0", "PM20160201001", "2016/02/01", "P1001", "大統食品股份有限公司", "0", "3200", "0", "", "2016/02/01");
    row("0", "PM20160203004", "2016/02/03", "P1005", "金豐米行", "0", "1800", "0", "", "");
    row("1", "PM20160202002", "2016/02/02", "P1002", "永興紙業行", "45250", "0", "12000", "2016/03/31", "2016/02/05");
    row("1", "PM20160205007", "2016/02/05", "P1003", "順發五金", "8800", "0", "0", "", "");
    row("2", "PM20160202002", "2016/02/02", "P1002", "永興紙業行", "45250", "0", "12000", "2016/03/31", "2016/02/05");
    row("2", "PM20160206009", "2016/02/06", "P1004", "佳美日用品企業社", "0", "0", "67500", "2016/04/30", "");
    return set;
}

inline report::ReportRequest inquiryRequest(const db::RecordSet& data, const std::string& templateFile)
{
    report::ReportRequest r;
    r.templateFile = templateFile;
    r.data = &data;
    r.headerFieldCount = 20;
    const bool byBills = templateFile == "Tolvane_02.rtm";
    r.header = {{"Field0", text::big5(templateFile == "Tolvane_03.rtm" ? "廠商帳款查詢報表" : "帳款資料查詢報表")},
                {"Field1",
                 text::big5(byBills ? "單據區間: PM20160201001 ~ PM20160206009" : "日期區間: 2016/02/01 ~ 2016/02/29")},
                {"Field2", text::big5("日期條件: 付款日期")},
                {"Field3", text::big5("處理條件: 不分處理")},
                {"Field4", text::big5("條件選項: 全部")},
                {"Field5", text::big5(templateFile == "Tolvane_03.rtm" ? "報表格式: 廠商統計" : "報表格式: 明細報表")},
                {"Field6", text::big5("資料選擇: 聯合資料")},
                {"Field7", text::big5("分店資料: 全部")},
                {"Field9", text::big5("【P03C0107】")},
                {"Field16", text::big5("康樂生活百貨股份有限公司")}};
    return r;
}

inline db::RecordSet providerStatistics(int stores)
{
    std::vector<Field> f = {
        {"CHKED", db::FieldType::String, 2}, {"PROVIDER_ID"}, {"PROVIDER_NAME", db::FieldType::String, 50}};
    for (int s = 1; s <= stores; ++s) {
        f.push_back({"STORE_ID_" + two(s), db::FieldType::String, 10});
        f.push_back({"STORE_NAME_" + two(s)});
        f.push_back({"AMT2_" + two(s), db::FieldType::Float});
        f.push_back({"CASH_AMT_" + two(s), db::FieldType::Float});
        f.push_back({"PAGE_AMT_" + two(s), db::FieldType::Float});
    }
    f.push_back({"AMT2", db::FieldType::Float});
    f.push_back({"CASH_AMT", db::FieldType::Float});
    f.push_back({"PAGE_AMT", db::FieldType::Float});
    db::RecordSet set = emptySet(f);
    for (int p = 0; p < 6; ++p) {
        std::vector<std::pair<std::string, std::string>> v = {{"PROVIDER_ID", "P" + std::to_string(1001 + p)},
                                                              {"PROVIDER_NAME", providerNames()[p]}};
        for (int s = 1; s <= stores; ++s) {
            v.push_back({"STORE_ID_" + two(s), "S" + two(s)});
            v.push_back({"STORE_NAME_" + two(s), storeNames()[(s - 1) % storeNames().size()]});
            v.push_back({"AMT2_" + two(s), std::to_string((p + s) % 3 == 0 ? 0 : 1000 * (p + 2 * s) + 500)});
            v.push_back({"CASH_AMT_" + two(s), std::to_string((p * s) % 4 == 0 ? 800 * s : 0)});
            v.push_back({"PAGE_AMT_" + two(s), std::to_string(p % 2 ? 12000 + 100 * s : 0)});
        }
        addRow(set, v);
    }
    return set;
}

} // namespace report_fixtures
