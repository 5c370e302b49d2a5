#include "work/payee_completion.h"

#include "db/sql.h"

namespace work {
namespace {

// Target column, source column, source table (true: PROVIDER, false: BANK_ACCOUNT).
struct PayeeColumn {
    const char* target;
    const char* source;
    bool fromProvider;
};

constexpr PayeeColumn kColumns[] = {
    {"PROVIDER_PHONE", "PROVIDER_PHONE", true},
    {"BANK_ID", "BANK_ID", true},
    {"BANK_NAME", "BANK_NAME", true},
    {"BANK_TITLE", "BANK_TITLE", true},
    {"BANK_ACCID", "BANK_ACCID", true},
    {"ACNT_AMT", "ACNT_AMT", true},
    {"P_BANK_ID", "BANK_ID", false},
    {"P_BANK_NAME", "BANK_NAME", false},
    {"P_ACNT_NO", "ACNT_NO", false},
    {"P_ACNT_NAME", "ACNT_NAME", false},
    {"EXPORT_FILE", "EXPORT_FILE", false},
    {"CON_PEOPLE", "CON_PEOPLE", false},
};

} // namespace

std::string payeeColumns()
{
    std::string columns;
    for (const PayeeColumn& column : kColumns)
        columns += std::string(column.target) + ",";
    return columns + "BANK_ID2,P_BANK_ID2";
}

std::string payeeValues(const PayeeSources& sources)
{
    std::string values;
    for (const PayeeColumn& column : kColumns)
        values += (column.fromProvider ? sources.provider : sources.account) + "." + column.source + ",";
    // The bank's three-byte code: the same bank for payer and payee when the two are equal.
    return values + db::leadingBytes(sources.provider + ".BANK_ID", 3) + "," +
           db::leadingBytes(sources.account + ".BANK_ID", 3);
}

std::string providerJoin(const PayeeSources& sources)
{
    return " LEFT OUTER JOIN PROVIDER " + sources.provider + " ON " + sources.provider +
           ".PROVIDER_ID = " + sources.book + ".PROVIDER_ID ";
}

std::string accountJoin(const PayeeSources& sources, const std::string& accountKey)
{
    return " LEFT OUTER JOIN BANK_ACCOUNT " + sources.account + " ON " + sources.account + ".ACNT_ID = " + accountKey +
           " ";
}

} // namespace work
