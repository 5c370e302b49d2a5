#pragma once
// What the inquiry tab's controls hold when a run or a report starts. Texts are Big5 as typed;
// the date edits' texts are parsed by the run itself, so a bad date fails at the point where
// the run has always reported it.
#include <array>
#include <string>
#include <string_view>

namespace inquiry {

// The items of the tab's option groups (UTF-8, as the page shows them and the report header
// prints them).
inline constexpr std::array<std::string_view, 3> kProcessingStates{"未 處 理", "已 處 理", "不分處理"};
inline constexpr std::array<std::string_view, 5> kPaymentKinds{"全部", "匯款", "支票", "現金", "匯款傳真"};
inline constexpr std::array<std::string_view, 3> kConditions{"付款日期", "沖帳日期", "單據區間"};
inline constexpr std::array<std::string_view, 2> kReportFormats{"明細報表", "廠商統計"};
inline constexpr std::array<std::string_view, 2> kDataSelections{"本店資料", "聯合資料"};

// Indexes of the items the runs branch on.
enum PaymentKind { AllKinds = 0, Remittance = 1, Cheque = 2, Cash = 3, RemittanceFax = 4 };
enum Condition { ByPayDate = 0, ByBillDate = 1, ByBillRange = 2 };
enum ReportFormat { Detail = 0, ProviderStatistics = 1 };
enum DataSelection { OwnStore = 0, AllStores = 1 };

struct InquiryConditions {
    int processingState = 2;
    int paymentKind = 0;
    int condition = 0;
    int reportFormat = 0;
    int dataSelection = 0;
    std::string billFrom;
    std::string billTo;
    std::string dateFromText; // as shown
    std::string dateToText;   // as shown
    std::string providerText;
    std::string storeText; // the whole entry
};

// The chosen item of an option group, or "" when none is chosen.
template <std::size_t N> std::string_view itemText(const std::array<std::string_view, N>& items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? items[static_cast<std::size_t>(index)]
                                                             : std::string_view{};
}

} // namespace inquiry
