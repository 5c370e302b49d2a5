// A page grid's context-menu entry 匯出 Excel on the real window: the workbook holds what the
// grid shows, in the order the clerk has put its columns, with its captions, ticks, Chinese
// texts and amounts as "#,##0" numbers (read back by openpyxl).
#include "app/remittance_page.h"
#include "support/save_dialog.h"
#include "support/workbook_reader.h"
#include "text/big5.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using testing_support::ReadSheet;
using testing_support::readWorkbook;
using testing_support::WindowFixture;

namespace {

class GridExportTest : public ::testing::Test, protected WindowFixture {
protected:
    void SetUp() override
    {
        exec("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, CON_PEOPLE) "
             "VALUES ('A1', '總公司', '0160002', '付款銀行', '998877', 'ABC-DEF', 'CONTACT')");
        exec("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT) "
             "VALUES ('P1', '甲商行', '0170001', '台灣銀行', '甲商行', '00123456789', 30)");
        exec("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT) "
             "VALUES ('P2', '乙公司', '0160001', '聯行', '乙公司', '555', 0)");
        for (const auto& [key, provider, name, amount] :
             {std::tuple{"B1", "P1", "甲商行", "1234567"}, std::tuple{"B2", "P2", "乙公司", "2500"},
              std::tuple{"B3", "P1", "甲商行", "400"}})
            exec(std::string("INSERT INTO PAY_MASTER (MASTERBILLID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, "
                             "ACNT_ID, BANK_IO) VALUES ('") +
                 key + "', '2024/01/05', '2024/01/10', '" + provider + "', '" + name + "', 'A1', " + amount + ")");
    }
    void exec(const std::string& utf8) { database.connection().execute(text::big5(utf8)); }
};

TEST_F(GridExportTest, TheRemittanceGridAsTheClerkSeesIt)
{
    open();
    find<ui::DateEdit>("bsSkinDateEdit11")->setText(QStringLiteral("2024/01/01"));
    find<ui::DateEdit>("bsSkinDateEdit12")->setText(QStringLiteral("2024/01/31"));
    find<QComboBox>("bsSkinComboBox11")->setCurrentIndex(0);
    find<QPushButton>("bsSkinButton6")->click();
    auto* grid = find<ui::DataGrid>("wwDBGrid1");
    const db::RecordSet& rows = window->findChild<app::RemittancePage*>()->gridRecords();
    ASSERT_EQ(rows.rowCount(), 3u) << shown.join(QStringLiteral("|")).toStdString();

    // The clerk ticks the first row and drags the last column to the front.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 0)).center());
    QHeaderView* header = grid->horizontalHeader();
    const int columns = grid->model()->columnCount();
    header->moveSection(columns - 1, 0);

    // The context-menu entry, answered with a file name.
    QAction* entry = grid->findChild<QAction*>(QStringLiteral("ExportExcel"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text(), QStringLiteral("匯出 Excel"));
    EXPECT_EQ(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_TRUE(grid->actions().contains(entry));
    testing_support::TempFolder out;
    const std::string path = out.path() + "grid.xlsx";
    testing_support::SaveDialogAnswer answer(path);
    entry->trigger();
    EXPECT_TRUE(answer.seen());

    const std::vector<ReadSheet> sheets = readWorkbook(path);
    ASSERT_EQ(sheets.size(), 1u);
    const ReadSheet& s = sheets[0];
    EXPECT_EQ(s.name, "批次匯款作業");
    EXPECT_EQ(s.at(1, 1).text, "批次匯款作業");
    EXPECT_EQ(s.freezePanes, "A4");
    // Captions in the order shown.
    for (int visual = 0; visual < columns; ++visual) {
        const int logical = header->logicalIndex(visual);
        EXPECT_EQ(QString::fromStdString(s.at(3, visual + 1).text),
                  grid->model()->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString())
            << visual;
    }
    // Cells as the grid shows them: the tick, texts decoded from Big5, numbers as numbers.
    int amountColumn = 0, tickColumn = 0;
    for (int c = 1; c <= columns; ++c) {
        if (s.at(3, c).text == "匯款金額")
            amountColumn = c;
        if (s.at(3, c).text == "選擇")
            tickColumn = c;
    }
    ASSERT_GT(amountColumn, 0);
    EXPECT_EQ(tickColumn, 2); // moved one to the right by the column put in front
    EXPECT_EQ(s.at(4, tickColumn).text, "✓");
    EXPECT_EQ(s.at(5, tickColumn).type, 0);
    const int amountField = grid->recordModel().recordColumn(header->logicalIndex(amountColumn - 1));
    for (int r = 0; r < 3; ++r) {
        for (int c = 1; c <= columns; ++c) {
            const int field = grid->recordModel().recordColumn(header->logicalIndex(c - 1));
            if (c == tickColumn || field < 0 || rows.column(std::size_t(field)).type != db::FieldType::String)
                continue;
            EXPECT_EQ(s.at(4 + r, c).text, text::big5ToUtf8(rows.text(std::size_t(r), std::size_t(field))))
                << r << "," << c;
        }
        EXPECT_EQ(s.at(4 + r, amountColumn).type, 'n');
        EXPECT_EQ(s.at(4 + r, amountColumn).format, "#,##0");
        EXPECT_DOUBLE_EQ(s.at(4 + r, amountColumn).number, rows.number(std::size_t(r), std::size_t(amountField)));
    }
    // Chinese texts arrive as Unicode: the bank's and the provider's names.
    const std::vector<std::string> first = s.rowTexts(4);
    EXPECT_NE(std::find(first.begin(), first.end(), "付款銀行"), first.end());
    EXPECT_NE(std::find(first.begin(), first.end(), text::big5ToUtf8(rows.text(0, "PROVIDER_NAME"))), first.end());
    EXPECT_EQ(text::big5ToUtf8(rows.text(0, "PROVIDER_NAME")), "甲商行");
}

} // namespace
