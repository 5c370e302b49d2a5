#include "inquiry/inquiry_reports.h"

#include "db/sql.h"
#include "inquiry/inquiry_tables.h"
#include "text/big5.h"
#include "text/blank.h"
#include "text/combo_key.h"
#include "text/dates.h"

namespace inquiry {

namespace {

constexpr int kHeaderFields = 20;

struct ReportKind {
    const char* templateFile;
    const char* order;
    const char* title; // UTF-8
    bool statistics;   // reads WorkTableB instead of WorkTableA
};

const ReportKind kByDate{"Tolvane_01.rtm", "ORDER BY FLAG_ID,PAY_DATE,ACNT_ID,PROVIDER_ID", "帳款資料查詢報表", false};
const ReportKind kByBillRange{"Tolvane_02.rtm", "ORDER BY MASTERBILLID", "帳款資料查詢報表", false};
const ReportKind kStatistics{"Tolvane_03.rtm", "ORDER BY PROVIDER_ID", "廠商帳款查詢報表", true};

std::string labelled(const char* label, std::string_view item)
{
    return text::big5(label) + text::big5(item);
}

void printReport(const ReportKind& kind, const InquiryConditions& c, InquiryDesk& s, ReportServices& r)
{
    // The header's dates are checked before anything else happens.
    const auto header = reportHeader(c, kind.title, r.reportTitle);

    const work::WorkNames& names = s.workTables.names();
    const db::SqlLines sql{"SELECT *  FROM " + (kind.statistics ? names.tableB : names.tableA), kind.order};
    progressLine(s.progress, s.progress.gaugeValue(), "3");

    openGrid(s.database, sql, s.grid);
    if (s.grid.isEmpty()) {
        s.messages.inform("資料未查詢........");
        return;
    }
    s.progress.addLine(text::big5("報表模組載入中..."));

    report::ReportRequest request;
    request.templateFile = kind.templateFile;
    request.data = &s.grid;
    request.headerFieldCount = kHeaderFields;
    request.header = header;
    r.bridge.launch(request, s.grid, s.workTables);
}

} // namespace

std::map<std::string, std::string> reportHeader(const InquiryConditions& c, const std::string& titleUtf8,
                                                const std::string& reportTitle)
{
    const std::string dateFrom = text::dateStringFromEdit(c.dateFromText);
    const std::string dateTo = text::dateStringFromEdit(c.dateToText);
    const std::string storeKey = text::comboKey(c.storeText);
    const bool byBillRange = c.condition == ByBillRange;

    std::map<std::string, std::string> header;
    header["Field0"] = text::big5(titleUtf8);
    header["Field1"] = byBillRange ? text::big5("單據區間: ") + c.billFrom + " ~ " + c.billTo
                                   : text::big5("日期區間: ") + dateFrom + " ~ " + dateTo;
    header["Field2"] =
        byBillRange ? text::big5("日期條件: 付款日期") : labelled("日期條件: ", itemText(kConditions, c.condition));
    header["Field3"] = labelled("處理條件: ", itemText(kProcessingStates, c.processingState));
    header["Field4"] = labelled("條件選項: ", itemText(kPaymentKinds, c.paymentKind));
    header["Field5"] = labelled("報表格式: ", itemText(kReportFormats, c.reportFormat));
    header["Field6"] = labelled("資料選擇: ", itemText(kDataSelections, c.dataSelection));
    header["Field7"] = c.dataSelection == AllStores && !text::isBlank(storeKey) ? text::big5("分店資料: ") + c.storeText
                                                                                : text::big5("分店資料: 全部");
    header["Field9"] = text::big5("【P03C0107】");
    header["Field16"] = reportTitle;
    return header;
}

void print(const InquiryConditions& c, InquiryDesk& s, ReportServices& r)
{
    if (c.reportFormat == Detail) {
        if (c.condition == ByBillRange)
            printByBillRange(c, s, r);
        else
            printByDate(c, s, r);
    } else if (c.reportFormat == ProviderStatistics) {
        printStatistics(c, s, r);
    }
}

void printByDate(const InquiryConditions& c, InquiryDesk& s, ReportServices& r)
{
    printReport(kByDate, c, s, r);
}
void printByBillRange(const InquiryConditions& c, InquiryDesk& s, ReportServices& r)
{
    printReport(kByBillRange, c, s, r);
}
void printStatistics(const InquiryConditions& c, InquiryDesk& s, ReportServices& r)
{
    printReport(kStatistics, c, s, r);
}

} // namespace inquiry
