#pragma once
// The inquiry tab's print button and its three reports: the detail list by date, by
// bill-number range and the provider statistics. Each reopens the grid record set on its work table in its order and
// hands it to the report library; the hand-over ends the inquiry (grid closed, tables dropped).
#include "inquiry/inquiry_run.h"
#include "report/bridge.h"

#include <map>
#include <string>

namespace inquiry {

struct ReportServices {
    report::Bridge& bridge;
    std::string reportTitle; // Big5, the company's report title
};

// "資料印表": the report the options choose.
void print(const InquiryConditions& conditions, InquiryDesk& desk, ReportServices& reports);

void printByDate(const InquiryConditions& c, InquiryDesk& s, ReportServices& r);
void printByBillRange(const InquiryConditions& c, InquiryDesk& s, ReportServices& r);
void printStatistics(const InquiryConditions& c, InquiryDesk& s, ReportServices& r);

// The header values (field name -> Big5) of an inquiry report with the given title (UTF-8).
std::map<std::string, std::string> reportHeader(const InquiryConditions& conditions, const std::string& titleUtf8,
                                                const std::string& reportTitle);

} // namespace inquiry
