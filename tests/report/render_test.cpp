// Every template rendered by the real report library from a small fixture, read back with
// pdftotext; and the preview opened and closed on the offscreen platform.
#include "report/bridge.h"
#include "report_fixtures.h"
#include "support/pdf_text.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "text/numbers.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;
using namespace report_fixtures;

namespace {

std::string run(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 4096> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe.get()))
        out += buffer.data();
    return out;
}

class RenderTest : public ::testing::Test {
protected:
    testing_support::TestDatabase database;
    testing_support::TempFolder exe;
    work::WorkTables tables{database.connection(), "_9", report::handOverFiles(exe.path())};
    db::RecordSet grid;

    void SetUp() override
    {
        // The program's folder: the library and its templates beside the executable.
        fs::copy_file(std::string(DESK_BIN_DIR) + "Vistrel.DLL", exe.path() + "Vistrel.DLL");
        fs::copy(std::string(DESK_BIN_DIR) + "rtm", exe.path() + "rtm");
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    void TearDown() override { unsetenv("VISTREL_PDF"); }

    // Renders the request to PDF through the bridge and the real library; returns its text.
    std::string renderText(const report::ReportRequest& request, const std::string& pdfName)
    {
        const std::string pdf = exe.path() + pdfName;
        setenv("VISTREL_PDF", pdf.c_str(), 1);
        report::Bridge(exe.path()).launch(request, grid, tables);
        EXPECT_TRUE(fs::exists(pdf)) << pdf;
        // Kept for the documentation pages when asked for.
        if (const char* samples = std::getenv("DESK_REPORT_SAMPLES"))
            fs::copy_file(pdf, fs::path(samples) / pdfName, fs::copy_options::overwrite_existing);
        return testing_support::pdfText(pdf);
    }
    int pages(const std::string& pdfName)
    {
        const std::string info = run("pdfinfo '" + exe.path() + pdfName + "'");
        const auto at = info.find("Pages:");
        return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
    }
};

using testing_support::squeezedBlanks;

void expectTexts(const std::string& pdfText, const std::vector<std::string>& texts)
{
    const std::string page = squeezedBlanks(pdfText);
    for (const std::string& t : texts)
        EXPECT_NE(page.find(squeezedBlanks(t)), std::string::npos) << "missing: " << t << "\n" << pdfText;
}

TEST_F(RenderTest, RemittanceListShowsStoresTotalsAndTheRunsCounts)
{
    const db::RecordSet data = remittanceList(3, 14);
    double total = 0;
    for (std::size_t r = 0; r < data.rowCount(); ++r)
        total += data.number(r, "AMT_T");
    const std::string text = renderText(remittanceRequest(data, 3), "P99_0005_02.pdf");
    const std::string grouped = text::formatGrouped(total);
    expectTexts(text, {"康樂生活百貨股份有限公司", "廠商批次匯款明細表", "匯款區間: 2016/02/01 ~ 2016/02/29",
                       "分店資料:全部", "匯款日期:2016/03/10", "台北總店", "板橋店", "桃園店", "本表合計", grouped,
                       "45,750", "88,250", "136,500", "2016/01 月份小計", "大統食品股份有限公司"});
    EXPECT_EQ(pages("P99_0005_02.pdf"), 1);
}

TEST_F(RenderTest, RemittanceListWrapsMoreStoresThanAPageIsWide)
{
    const db::RecordSet data = remittanceList(12, 10);
    const std::string text = renderText(remittanceRequest(data, 12), "P99_0005_02_12.pdf");
    expectTexts(text, {"台北總店", "屏東店", "宜蘭店", "花蓮店", "本表合計"});
}

struct ChequeCase {
    const char* templateFile;
    std::vector<std::string> texts;
};

TEST_F(RenderTest, ChequeFormatsPrintPayeeDueDateAndAmountInWords)
{
    const db::RecordSet data = cheques();
    const std::vector<ChequeCase> cases = {
        {"P99_000502.rtm",
         {"臺灣銀行 中山分行", "大統食品股份有限公司", "105", "壹拾萬零伍佰元整", "壹佰萬零伍元整",
          "貳萬參仟肆佰伍拾柒元整", "壹萬萬貳仟萬元整", "NT$ 100,500", "康樂生活百貨股份有限公司", "AB1234567"}},
        {"Tolvane_21.rtm",
         {"康樂生活百貨股份有限公司", "支票開立明細表", "AB1234570", "105/02/29", "合計 4 張", "121,123,962",
          "永興紙業行 陳永興"}},
        {"Tolvane_22.rtm",
         {"存", "根", "AB1234568", "105/03/31", "壹拾萬零伍佰元整", "壹萬萬貳仟萬元整", "NT$ 1,000,005",
          "120,000,000"}},
    };
    for (const ChequeCase& c : cases) {
        SCOPED_TRACE(c.templateFile);
        const std::string pdf = fs::path(c.templateFile).stem().string() + ".pdf";
        expectTexts(renderText(chequeRequest(data, c.templateFile), pdf), c.texts);
    }
    // Three cheque forms to a sheet: four cheques take two pages.
    EXPECT_EQ(pages("P99_000502.pdf"), 2);
}

TEST_F(RenderTest, InquiryReportsPrintConditionsKindsAndTotals)
{
    const db::RecordSet rows = inquiryRows();
    const db::RecordSet statistics = providerStatistics(3);
    const std::vector<std::string> conditions = {"康樂生活百貨股份有限公司", "【P03C0107】",       "處理條件: 不分處理",
                                                 "條件選項: 全部",           "資料選擇: 聯合資料", "分店資料: 全部"};
    std::vector<std::string> byDate = conditions;
    byDate.insert(byDate.end(), {"帳款資料查詢報表", "日期區間: 2016/02/01 ~ 2016/02/29", "付款別: 現金",
                                 "現金 小計  2 筆", "5,000", "54,050", "79,500", "PM20160206009", "2016/04/30"});
    expectTexts(renderText(inquiryRequest(rows, "Tolvane_01.rtm"), "Tolvane_01.pdf"), byDate);

    std::vector<std::string> byBills = conditions;
    byBills.insert(byBills.end(), {"帳款資料查詢報表", "單據區間: PM20160201001 ~ PM20160206009", "合計  6 筆", "5,000",
                                   "54,050", "79,500"});
    expectTexts(renderText(inquiryRequest(rows, "Tolvane_02.rtm"), "Tolvane_02.pdf"), byBills);

    // One column group per store, each headed by its store; totals per store at the end.
    double firstStoreRemitted = 0;
    for (std::size_t r = 0; r < statistics.rowCount(); ++r)
        firstStoreRemitted += statistics.number(r, "AMT2_01");
    const std::string sum = text::formatGrouped(firstStoreRemitted);
    std::vector<std::string> perProvider = conditions;
    perProvider.insert(perProvider.end(), {"廠商帳款查詢報表", "S01 台北總店", "S02 板橋店", "S03 桃園店",
                                           "合計  6 家廠商", sum, "和成乳品有限公司"});
    expectTexts(renderText(inquiryRequest(statistics, "Tolvane_03.rtm"), "Tolvane_03.pdf"), perProvider);
}

TEST_F(RenderTest, InquiryDetailTotalsPrintTheAmountOfAllKinds)
{
    // 現金 3,200 + 1,800, 匯款 45,250 + 8,800, 支票 12,000 + 67,500: each row counts with the
    // amount of its own kind only.
    const db::RecordSet rows = inquiryRows();
    expectTexts(renderText(inquiryRequest(rows, "Tolvane_01.rtm"), "Tolvane_01_total.pdf"), {"合計 6 138,550"});
    expectTexts(renderText(inquiryRequest(rows, "Tolvane_02.rtm"), "Tolvane_02_total.pdf"), {"合計金額 138,550"});
}

TEST_F(RenderTest, ChequeFormsUseTheRocCalendarThroughout)
{
    const db::RecordSet data = cheques();
    expectTexts(renderText(chequeRequest(data, "P99_000502.rtm"), "P99_000502_roc.pdf"),
                {"開票日: 105/02/15 到期日: 105/02/29"});
    expectTexts(renderText(chequeRequest(data, "Tolvane_22.rtm"), "Tolvane_22_roc.pdf"), {"開 票 日: 105/02/15"});
}

TEST_F(RenderTest, AChequeListTotalIsTheSumOfThePrintedAmountsAndCountsAreGrouped)
{
    // 100,500.5 prints as 100,501 and 23,456.5 as 23,457: the total adds what is printed,
    // 121,123,963, not the rounded sum of the stored amounts, 121,123,962.
    db::RecordSet data = cheques();
    data.setNumber(0, "CURRAMT", 100500.5);
    expectTexts(renderText(chequeRequest(data, "Tolvane_21.rtm"), "Tolvane_21_sum.pdf"),
                {"100,501", "23,457", "合計 4 張 121,123,963"});

    // 1,200 cheques: the count has its separator.
    db::RecordSet many = cheques();
    const std::size_t model = many.rowCount();
    for (std::size_t i = 0; many.rowCount() < 1200; ++i) {
        many.appendRow();
        for (std::size_t c = 0; c < many.columnCount(); ++c)
            if (!many.isNull(i % model, c))
                many.setText(many.rowCount() - 1, c, many.text(i % model, c));
    }
    const std::string text = renderText(chequeRequest(many, "Tolvane_21.rtm"), "Tolvane_21_many.pdf");
    expectTexts(text, {"合計 1,200 張"});
}

TEST_F(RenderTest, AnEmptyDataSetStillPrintsItsHeadingAndZeroTotals)
{
    const db::RecordSet data = remittanceListSet(2);
    const std::string text = renderText(remittanceRequest(data, 2), "empty.pdf");
    expectTexts(text, {"廠商批次匯款明細表", "台北總店", "板橋店", "本表合計", "136,500"});
}

TEST_F(RenderTest, PreviewOpensInTheRunningApplicationAndReturnsWhenClosed)
{
    unsetenv("VISTREL_PDF");
    int argc = 1;
    char name[] = "test_report";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    const db::RecordSet data = cheques();
    QString seen;
    int pageCountShown = 0;
    // Closes the preview once it is up, as a clerk would.
    QTimer closer;
    closer.setInterval(50);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            seen = modal->objectName();
            if (auto* page = modal->findChild<QWidget*>(QStringLiteral("PageNumber")))
                pageCountShown = page->property("maximum").toInt();
            modal->close();
        }
    });
    closer.start();
    report::Bridge(exe.path()).launch(chequeRequest(data, "P99_000502.rtm"), grid, tables);
    closer.stop();
    EXPECT_EQ(seen, QStringLiteral("VistrelPreview"));
    EXPECT_EQ(pageCountShown, 2);
}

} // namespace
