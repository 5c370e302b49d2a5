// The reports as workbooks, read back by openpyxl: the remittance list with its title and
// header fields, store captions, amounts as "#,##0" numbers, its totals against the report's
// own printed totals and its statistics sheet; the inquiry list with one amount column over
// three payment kinds and its dates as text; the cheques; a list split over sheets; and the
// preview's 匯出 Excel button.
#include "report/bridge.h"
#include "report_fixtures.h"
#include "support/pdf_text.h"
#include "support/save_dialog.h"
#include "support/test_database.h"
#include "support/workbook_reader.h"
#include "text/big5.h"
#include "text/numbers.h"
#include "vistrel/page_view.h"
#include "vistrel/preview_dialog.h"
#include "vistrel/report_document.h"
#include "vistrel/report_workbook.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>

namespace fs = std::filesystem;
using namespace report_fixtures;
using testing_support::ReadSheet;
using testing_support::readWorkbook;

namespace {

std::string templatePath(const std::string& name)
{
    return std::string(DESK_BIN_DIR) + "rtm/" + name;
}

using testing_support::pdfText;

// The numbers printed on the first line of the PDF text that holds `label`.
std::vector<std::string> printedNumbersAfter(const std::string& text, const std::string& label)
{
    const auto at = text.find(label);
    if (at == std::string::npos)
        return {};
    const std::string line = text.substr(at, text.find('\n', at) - at);
    std::vector<std::string> numbers;
    const std::regex number("[0-9][0-9,]*");
    for (auto m = std::sregex_iterator(line.begin(), line.end(), number); m != std::sregex_iterator(); ++m)
        numbers.push_back(m->str());
    return numbers;
}

class ExcelExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "test_report";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() { delete app; }

    std::vector<ReadSheet> exported(const vistrel::ReportDocument& document, sheet::SheetLimits limits = {})
    {
        const std::string path = folder.path() + "report.xlsx";
        vistrel::exportExcel(document, QString::fromStdString(path), limits);
        return readWorkbook(path);
    }

    static QApplication* app;
    testing_support::TempFolder folder;
};

QApplication* ExcelExportTest::app = nullptr;

TEST_F(ExcelExportTest, RemittanceListRowsTotalsAndStatistics)
{
    const db::RecordSet data = remittanceList(3, 30);
    const vistrel::ReportDocument document(vistrel::loadTemplate(templatePath("P99_0005_02.rtm")), data,
                                           report::buildHeader(remittanceRequest(data, 3)));
    const std::vector<ReadSheet> sheets = exported(document);
    ASSERT_EQ(sheets.size(), 2u);
    const ReadSheet& list = sheets[0];
    EXPECT_EQ(list.name, "廠商批次匯款明細表");
    // The report's title and header fields, one a row.
    const std::vector<std::string> titles = {"康樂生活百貨股份有限公司", "廠商批次匯款明細表",
                                             "匯款區間: 2016/02/01 ~ 2016/02/29", "分店資料:全部",
                                             "匯款日期:2016/03/10"};
    for (std::size_t i = 0; i < titles.size(); ++i)
        EXPECT_EQ(list.at(int(i) + 1, 1).text, titles[i]);
    // Captions: the page header's texts above each column, store names over their pairs.
    const int captions = int(titles.size()) + 2;
    EXPECT_EQ(list.rowTexts(captions),
              (std::vector<std::string>{"廠商編號", "廠商名稱", "銀行代號", "匯入帳號", "序", "台北總店 金額",
                                        "台北總店 筆數", "板橋店 金額", "板橋店 筆數", "桃園店 金額", "桃園店 筆數",
                                        "合計 金額", "合計 筆數"}));
    EXPECT_EQ(list.freezePanes, "A" + std::to_string(captions + 1));
    // One row per data row, on every row its provider (the print writes it once per group).
    for (std::size_t r = 0; r < data.rowCount(); ++r) {
        const int row = captions + 1 + int(r);
        EXPECT_EQ(list.at(row, 1).text, data.text(r, "PROVIDER_ID"));
        EXPECT_EQ(list.at(row, 2).text, text::big5ToUtf8(data.text(r, "PROVIDER_NAME")));
        EXPECT_EQ(list.at(row, 5).type, 's'); // "001" keeps its zeros
        EXPECT_EQ(list.at(row, 5).text, data.text(r, "ID"));
        for (int s = 1; s <= 3; ++s) {
            const double amount = data.number(r, "AMT2" + two(s));
            const testing_support::ReadCell& cell = list.at(row, 4 + 2 * s);
            if (amount == 0) {
                EXPECT_EQ(cell.type, 0) << "a zero prints blank in the report";
            } else {
                EXPECT_EQ(cell.type, 'n');
                EXPECT_EQ(cell.format, "#,##0");
                EXPECT_DOUBLE_EQ(cell.number, amount);
            }
        }
        EXPECT_EQ(list.at(row, 12).format, "#,##0");
        EXPECT_DOUBLE_EQ(list.at(row, 12).number, data.number(r, "AMT_T"));
        EXPECT_EQ(list.at(row, 13).format, "0");
        EXPECT_DOUBLE_EQ(list.at(row, 13).number, data.number(r, "QTY_T"));
    }
    // The totals row against the report's own 本表合計 as printed.
    const std::string pdf = folder.path() + "list.pdf";
    vistrel::exportPdf(document, QString::fromStdString(pdf));
    const std::vector<std::string> printed = printedNumbersAfter(pdfText(pdf), "本表合計");
    ASSERT_EQ(printed.size(), 8u) << "three store pairs and the totals pair";
    const int totals = captions + 1 + int(data.rowCount());
    EXPECT_EQ(list.lastRow(), totals);
    EXPECT_EQ(list.at(totals, 1).text, "合計");
    for (int c = 6; c <= 13; ++c) {
        EXPECT_EQ(list.at(totals, c).type, 'n') << c;
        EXPECT_EQ(text::formatGrouped(list.at(totals, c).number), printed[std::size_t(c - 6)]) << c;
    }

    // The run's statistics, numbers again, against the header fields the report prints.
    const ReadSheet& stats = sheets[1];
    EXPECT_EQ(stats.name, "匯款統計");
    const int head = stats.rowStartingWith("匯款類別");
    ASSERT_GT(head, 0);
    EXPECT_EQ(stats.rowTexts(head), (std::vector<std::string>{"匯款類別", "筆數", "金額"}));
    const std::vector<std::tuple<std::string, double, double>> expected = {
        {"同行匯款 (匯出入銀行相同)", 3, 45750},
        {"跨行匯款 (匯出入銀行不同)", 5, 88250},
        {"全部合計", 9, 136500},
        {"本表列出", list.at(totals, 13).number, list.at(totals, 12).number}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const int row = head + 1 + int(i);
        EXPECT_EQ(stats.at(row, 1).text, std::get<0>(expected[i]));
        EXPECT_EQ(stats.at(row, 2).type, 'n');
        EXPECT_EQ(stats.at(row, 2).format, "#,##0");
        EXPECT_DOUBLE_EQ(stats.at(row, 2).number, std::get<1>(expected[i]));
        EXPECT_EQ(stats.at(row, 3).format, "#,##0");
        EXPECT_DOUBLE_EQ(stats.at(row, 3).number, std::get<2>(expected[i]));
    }
}

TEST_F(ExcelExportTest, InquiryListOneAmountColumnOverThePaymentKindsAndDatesAsText)
{
    const db::RecordSet data = inquiryRows();
    const vistrel::ReportDocument document(vistrel::loadTemplate(templatePath("Tolvane_01.rtm")), data,
                                           report::buildHeader(inquiryRequest(data, "Tolvane_01.rtm")));
    const std::vector<ReadSheet> sheets = exported(document);
    ASSERT_EQ(sheets.size(), 1u);
    const ReadSheet& s = sheets[0];
    EXPECT_EQ(s.name, "帳款資料查詢報表");
    const int head = s.rowStartingWith("付款日期");
    ASSERT_GT(head, 0);
    EXPECT_EQ(s.rowTexts(head), (std::vector<std::string>{"付款日期", "付款別", "單據號碼", "廠商編號", "廠商名稱",
                                                          "付款帳戶", "金額", "票據到期日", "處理日期"}));
    EXPECT_NE(s.rowStartingWith("日期區間: 2016/02/01 ~ 2016/02/29"), 0);
    // Each row's amount is that of its own kind: cash, remittance or cheque.
    const std::vector<double> amounts = {3200, 1800, 45250, 8800, 12000, 67500};
    for (int r = 0; r < 6; ++r) {
        const int row = head + 1 + r;
        EXPECT_EQ(s.at(row, 1).type, 's');
        EXPECT_EQ(s.at(row, 1).text, data.text(std::size_t(r), "PAY_DATE"));
        EXPECT_EQ(s.at(row, 2).text, text::big5ToUtf8(data.text(std::size_t(r), "FLAG")));
        EXPECT_DOUBLE_EQ(s.at(row, 7).number, amounts[std::size_t(r)]);
        EXPECT_EQ(s.at(row, 7).format, "#,##0");
        // The due date only on cheque rows, as printed.
        EXPECT_EQ(s.at(row, 8).text, r >= 4 ? data.text(std::size_t(r), "EXPDATE") : std::string());
    }
    EXPECT_EQ(s.at(head + 7, 1).text, "合計");
    EXPECT_DOUBLE_EQ(s.at(head + 7, 7).number, 3200 + 1800 + 45250 + 8800 + 12000 + 67500);
}

TEST_F(ExcelExportTest, ChequeFormsOneColumnPerFieldWithTheTemplatesCaptions)
{
    const db::RecordSet data = cheques();
    for (const char* form : {"P99_000502.rtm", "Tolvane_22.rtm"}) {
        SCOPED_TRACE(form);
        const vistrel::ReportDocument document(vistrel::loadTemplate(templatePath(form)), data,
                                               report::buildHeader(chequeRequest(data, form)));
        const std::vector<ReadSheet> sheets = exported(document);
        ASSERT_EQ(sheets.size(), 1u);
        const ReadSheet& s = sheets[0];
        EXPECT_EQ(s.name, "支票");
        const std::vector<std::string> captions = s.rowTexts(1);
        auto column = [&](const std::string& caption) {
            const auto at = std::find(captions.begin(), captions.end(), caption);
            EXPECT_EQ(std::count(captions.begin(), captions.end(), caption), 1) << caption;
            return at == captions.end() ? 0 : int(at - captions.begin()) + 1;
        };
        const int number = column("支票號碼"), amount = column("金額"), words = column("金額大寫"),
                  bank = column("付款銀行"), payee = column("受款人");
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(s.at(2 + r, number).text, data.text(std::size_t(r), "ID"));
            EXPECT_EQ(s.at(2 + r, amount).type, 'n');
            EXPECT_EQ(s.at(2 + r, amount).format, "#,##0");
            EXPECT_DOUBLE_EQ(s.at(2 + r, amount).number, data.number(std::size_t(r), "CURRAMT"));
            EXPECT_EQ(s.at(2 + r, bank).text, "臺灣銀行 中山分行");
            EXPECT_EQ(s.at(2 + r, payee).text, text::big5ToUtf8(data.text(std::size_t(r), "CHKTITLE")));
        }
        EXPECT_EQ(s.at(2, words).text, "壹拾萬零伍佰元整");
        EXPECT_DOUBLE_EQ(s.at(6, amount).number, 100500 + 1000005 + 23456.5 + 120000000);
    }
}

// Every template gives a worksheet whose captions are all there and distinct, with one row
// per data row and the totals row after them.
TEST_F(ExcelExportTest, EveryTemplateGivesCaptionedRowsAndTotals)
{
    struct Case {
        std::string form;
        std::string sheet;
        std::vector<std::string> someCaptions;
    };
    const db::RecordSet remittances = remittanceList(2, 6), checks = cheques(), inquiry = inquiryRows(),
                        statistics = providerStatistics(2);
    const std::vector<Case> cases = {
        {"P99_0005_02.rtm", "廠商批次匯款明細表", {"廠商名稱", "板橋店 筆數"}},
        {"P99_000502.rtm", "支票", {"支票號碼", "金額"}},
        {"Tolvane_21.rtm", "支票開立明細表", {"序", "支票號碼", "到期日", "支票金額"}},
        {"Tolvane_22.rtm", "支票", {"支票號碼", "到 期 日", "金額"}},
        {"Tolvane_01.rtm", "帳款資料查詢報表", {"付款日期", "金額"}},
        {"Tolvane_02.rtm", "帳款資料查詢報表", {"單據號碼", "支付現金", "匯款金額", "支付票據"}},
        {"Tolvane_03.rtm", "廠商帳款查詢報表", {"廠商編號", "S01 台北總店 匯款金額", "S02 板橋店 支付票據"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        const bool remittance = c.form == "P99_0005_02.rtm";
        const bool cheque = c.form == "P99_000502.rtm" || c.form.rfind("Tolvane_2", 0) == 0;
        const db::RecordSet& data = remittance                   ? remittances
                                    : cheque                     ? checks
                                    : c.form == "Tolvane_03.rtm" ? statistics
                                                                 : inquiry;
        const report::ReportRequest request = remittance ? remittanceRequest(data, 2)
                                              : cheque   ? chequeRequest(data, c.form)
                                                         : inquiryRequest(data, c.form);
        const vistrel::ReportDocument document(vistrel::loadTemplate(templatePath(c.form)), data,
                                               report::buildHeader(request));
        const std::vector<ReadSheet> sheets = exported(document);
        ASSERT_FALSE(sheets.empty());
        const ReadSheet& s = sheets[0];
        EXPECT_EQ(s.name, c.sheet);
        const int head = s.freezePanes == "-" ? 0 : std::stoi(s.freezePanes.substr(1)) - 1;
        ASSERT_GT(head, 0);
        const std::vector<std::string> captions = s.rowTexts(head);
        for (const std::string& caption : captions) {
            EXPECT_FALSE(caption.empty());
            EXPECT_EQ(std::count(captions.begin(), captions.end(), caption), 1) << caption;
        }
        for (const std::string& caption : c.someCaptions)
            EXPECT_NE(std::find(captions.begin(), captions.end(), caption), captions.end()) << caption;
        EXPECT_EQ(s.lastRow(), head + int(data.rowCount()) + 1);
        EXPECT_EQ(s.at(s.lastRow(), 1).text, "合計");
    }
}

TEST_F(ExcelExportTest, AListLongerThanASheetContinuesOnFurtherSheetsBeforeTheStatistics)
{
    const db::RecordSet data = remittanceList(2, 40);
    const vistrel::ReportDocument document(vistrel::loadTemplate(templatePath("P99_0005_02.rtm")), data,
                                           report::buildHeader(remittanceRequest(data, 2)));
    // 30 rows a sheet: five titles, the note, a blank row and the captions leave 21 data rows
    // and the totals row, so 40 rows take two sheets.
    const std::vector<ReadSheet> sheets = exported(document, {30});
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0].name, "廠商批次匯款明細表");
    EXPECT_EQ(sheets[1].name, "廠商批次匯款明細表 (2)");
    EXPECT_EQ(sheets[2].name, "匯款統計");
    EXPECT_EQ(sheets[0].at(6, 1).text,
              "本表共 40 筆，超過一張工作表 30 列的上限，分 2 張工作表列出；本張為第 1 至 21 筆");
    EXPECT_EQ(sheets[1].at(6, 1).text,
              "本表共 40 筆，超過一張工作表 30 列的上限，分 2 張工作表列出；本張為第 22 至 40 筆");
    double amounts = 0, expected = 0;
    std::size_t rows = 0;
    for (int part = 0; part < 2; ++part)
        for (int r = sheets[part].rowStartingWith("廠商編號") + 1; r <= sheets[part].lastRow(); ++r)
            if (sheets[part].at(r, 1).text != "合計") {
                EXPECT_EQ(sheets[part].at(r, 1).text, data.text(rows, "PROVIDER_ID"));
                amounts += sheets[part].at(r, 10).number;
                ++rows;
            }
    for (std::size_t r = 0; r < data.rowCount(); ++r)
        expected += data.number(r, "AMT_T");
    EXPECT_EQ(rows, data.rowCount());
    EXPECT_DOUBLE_EQ(amounts, expected);
    EXPECT_EQ(sheets[1].at(sheets[1].lastRow(), 1).text, "合計");
    EXPECT_DOUBLE_EQ(sheets[1].at(sheets[1].lastRow(), 10).number, expected);
}

TEST_F(ExcelExportTest, ThePreviewsButtonAsksWhereAndWritesTheWorkbook)
{
    const db::RecordSet data = remittanceList(3, 30);
    const vistrel::ReportDocument document(vistrel::loadTemplate(templatePath("P99_0005_02.rtm")), data,
                                           report::buildHeader(remittanceRequest(data, 3)));
    const std::string chosen = folder.path() + "匯款明細"; // the clerk types no ending
    std::unique_ptr<testing_support::SaveDialogAnswer> answer;
    bool pressed = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* pages = preview ? preview->findChild<vistrel::PageView*>(QStringLiteral("PreviewPages")) : nullptr;
        if (pressed || !pages || pages->pagesPainted() == 0)
            return;
        pressed = true;
        // The picture of the preview with its button for the documentation, when asked for.
        if (const char* screens = std::getenv("DESK_SCREENS"))
            preview->grab().save(QString::fromLocal8Bit(screens) + QStringLiteral("/preview_export_excel.png"));
        for (QAction* action : preview->findChildren<QAction*>())
            if (action->text() == QStringLiteral("匯出 Excel")) {
                answer = std::make_unique<testing_support::SaveDialogAnswer>(chosen);
                action->trigger(); // returns once the dialog was answered and the file written
            }
        preview->close();
    });
    poll.start();
    vistrel::showPreview(document, nullptr);
    ASSERT_TRUE(answer) << "no 匯出 Excel button in the preview";
    EXPECT_TRUE(answer->seen());
    EXPECT_EQ(answer->caption(), QStringLiteral("匯出 Excel"));
    const std::vector<ReadSheet> sheets = readWorkbook(chosen + ".xlsx");
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].rowStartingWith("廠商編號"), 7);
    EXPECT_EQ(sheets[0].at(3, 1).text, "匯款區間: 2016/02/01 ~ 2016/02/29");
    EXPECT_EQ(sheets[1].name, "匯款統計");
}

} // namespace
