// The remittance list of own-store books, rendered by the report library and read back from
// the PDF: one store column group, the own store named 本店, holding the remitted bills, and
// the remittance date of the last bill in the header. Joint books keep one group per store.
#include "remittance_fixture.h"

#include "remittance/output_routine.h"
#include "remittance/remit.h"
#include "report/bridge.h"
#include "support/pdf_text.h"

#include <cstdlib>
#include <filesystem>

namespace remittance_tests {
namespace {

namespace fs = std::filesystem;

using testing_support::squeezedBlanks;

class OwnStoreListTest : public testing_support::RemittanceFixture {
protected:
    void SetUp() override
    {
        // The program's folder: the real report library and its templates beside it.
        // (over the stand-in library the fixture installs)
        fs::copy_file(std::string(DESK_BIN_DIR) + "Vistrel.DLL", exeFolder.path() + "Vistrel.DLL",
                      fs::copy_options::overwrite_existing);
        fs::copy(std::string(DESK_BIN_DIR) + "rtm", exeFolder.path() + "rtm",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("VISTREL_PDF", pdf().c_str(), 1);

        addStore("01", "台北店");
        addStore("02", "板橋店");
        Provider p;
        p.id = "P1";
        p.name = "大統食品";
        addProvider(p);
        addAccount("A1");
    }
    void TearDown() override { unsetenv("VISTREL_PDF"); }

    std::string pdf() const { return exeFolder.path() + "list.pdf"; }

    // 選擇性匯款 of every row without stamping (產生匯款檔案 cleared), then the output routine,
    // whose report the library writes to the PDF; returns its text.
    std::string remitAndRender(remittance::Books books)
    {
        for (std::size_t r = 0; r < grid.rowCount(); ++r)
            grid.setText(r, "CHKED", "Y");
        remittance::OutputControls controls;
        controls.makeTransferFiles = false;
        controls.fromDateText = "2024/01/01";
        controls.toDateText = "2024/01/31";
        controls.remittanceDateText = "2024/02/05";
        controls.books = books == remittance::Books::Joint ? 1 : 0;
        controls.reportTitle = text::big5("測試公司");
        const remittance::RemitResult result = remittance::remit(desk, remittance::RemitScope::TickedRows, controls);
        EXPECT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted);
        EXPECT_TRUE(fs::exists(pdf()));
        return squeezedBlanks(testing_support::pdfText(pdf()));
    }
};

TEST_F(OwnStoreListTest, ListsTheOwnStoresBillsUnderOneGroupNamedOwnStore)
{
    addBill("B1", 1000);
    addBill("B2", 2500);
    Bill atStore; // the own book's STORE_ID plays no part: every own-store bill is the own store's
    atStore.key = "B3";
    atStore.bankIo = 400;
    atStore.store = "01";
    addBill(atStore);
    confirm(conditions());
    ASSERT_EQ(grid.rowCount(), 3u);
    const std::string tableD = tables.names().tableD;
    EXPECT_NE(db().lookup("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = " + db::quote(tableD) +
                          " AND RDB$FIELD_NAME = 'AMT201'"),
              "0");
    EXPECT_EQ(db().lookup("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = " + db::quote(tableD) +
                          " AND RDB$FIELD_NAME = 'AMT202'"),
              "0");

    const std::string text = remitAndRender(remittance::Books::OwnStore);
    EXPECT_NE(text.find("本店"), std::string::npos) << text;
    EXPECT_EQ(text.find("台北店"), std::string::npos) << text;
    EXPECT_EQ(text.find("板橋店"), std::string::npos) << text;
    EXPECT_NE(text.find("匯款日期:2024/02/05"), std::string::npos) << text;
    EXPECT_NE(text.find("P1 供應商"), std::string::npos) << text;
    for (const char* amount : {"1,000", "2,500", "400", "3,900"})
        EXPECT_NE(text.find(amount), std::string::npos) << amount << "\n" << text;
}

TEST_F(OwnStoreListTest, JointBooksKeepOneGroupPerStore)
{
    for (const auto& [key, store, amount] : {std::tuple{"J1", "01", 1000.0}, std::tuple{"J2", "02", 2500.0}}) {
        Bill b;
        b.key = key;
        b.store = store;
        b.bankIo = amount;
        b.joint = true;
        addBill(b);
    }
    auto c = conditions();
    c.books = remittance::Books::Joint;
    confirm(c);
    ASSERT_EQ(grid.rowCount(), 2u);

    const std::string text = remitAndRender(remittance::Books::Joint);
    EXPECT_NE(text.find("台北店"), std::string::npos) << text;
    EXPECT_NE(text.find("板橋店"), std::string::npos) << text;
    EXPECT_NE(text.find("匯款日期:2024/02/05"), std::string::npos) << text;
    for (const char* amount : {"1,000", "2,500", "3,500"})
        EXPECT_NE(text.find(amount), std::string::npos) << amount << "\n" << text;
}

} // namespace
} // namespace remittance_tests
