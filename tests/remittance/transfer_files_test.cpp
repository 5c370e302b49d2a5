// The transfer files of a remittance: the two bank groups, the names and the switch, the
// batch files, and the refusals that leave no file behind. How the press delivers them (the
// journal, temporary names, a folder that refuses them) is tested with the press.
#include "transfer_output_fixture.h"

#include "remittance/transfer_files.h"
#include "text/error.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace remittance_tests {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& content)
{
    std::vector<std::string> result;
    std::size_t at = 0;
    while (at < content.size()) {
        const auto end = content.find("\r\n", at);
        if (end == std::string::npos) {
            result.push_back(content.substr(at) + "<no CR LF>");
            break;
        }
        result.push_back(content.substr(at, end - at));
        at = end + 2;
    }
    return result;
}

// A batch file that leaves a marker naming itself in `markerFolder` when it runs.
void installBatchFile(const std::string& folder, const std::string& name, const std::string& markerFolder)
{
    const std::string path = folder + name;
    std::ofstream(path) << "#!/bin/sh\necho ran > '" << markerFolder << name << ".ran'\n";
    ::chmod(path.c_str(), 0755);
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TransferFilesTest : public OutputFixture {};

TEST_F(TransferFilesTest, RecordsAreWrittenByteForByte)
{
    Bill first;
    first.billId = "B1";
    first.billDate = "2016/02/01";
    first.providerId = "P001";
    first.bankId = "0170012";
    first.bankAccId = "0012345";                    // leading zeros
    first.bankTitle = text::big5("大同公司有限公"); // 12 + 2 bytes
    first.amt2 = 1234.5;                            // rounds to 1235
    first.conPeople = "CON";
    first.pAcntName = text::big5("總公司帳戶");
    addBill(first);

    Bill second = first;
    second.billId = "B2";
    second.billDate = "2016/02/02";
    second.providerId = "P002";
    second.bankId = "8120001";
    second.bankAccId = "98765432101234";
    second.bankTitle = "ABCDEFGHIJKL"; // 12 bytes
    second.amt2 = 4900;
    addBill(second);

    Bill third = first;
    third.billId = "B3";
    third.billDate = "2016/02/03";
    third.providerId = "P003";
    third.bankTitle = "A" + std::string(44, 'x'); // 45 bytes
    third.amt2 = 10;
    addBill(third);

    run(controls());

    const std::string tail = text::big5("總公司帳戶") + std::string(30, ' ') + "1111" + std::string(36, ' ');
    const std::vector<std::string> expected = {
        "050229"
        "2210"
        "CON       "
        "0170012"
        "00000000012345" +
            text::big5("大同公司有限公") + std::string(26, ' ') + "00000000123500" + tail,
        "050229"
        "2210"
        "CON       "
        "8120001"
        "98765432101234"
        "ABCDEFGHIJKL" +
            std::string(28, ' ') + "00000000490000" + tail,
        "050229"
        "2210"
        "CON       "
        "0170012"
        "00000000012345"
        "A" +
            std::string(39, 'x') + "00000000001000" + tail,
    };
    const auto written = lines(readFile(bank.path() + "ABC.TXT"));
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(written[i].size(), 175u) << i;
        EXPECT_EQ(written[i], expected[i]) << i;
    }
}

TEST_F(TransferFilesTest, DateFieldFollowsTheRemittanceDate)
{
    for (const auto& [date, field] :
         {std::pair{"2010/12/31", "991231"}, std::pair{"2016/02/29", "050229"}, std::pair{"1920/03/05", "90305 "}}) {
        auto c = controls();
        c.remittanceDateText = date;
        c.sameBankFileName.clear();
        // Each run ends the condition confirm's tables: build them again.
        useStores({{"01", "Store One"}, {"02", "Store Two"}});
        addBill(Bill{});
        run(c);
        const auto written = lines(readFile(bank.path() + "ABC.TXT"));
        ASSERT_EQ(written.size(), 1u) << date;
        EXPECT_EQ(written[0].substr(0, 6), field) << date;
    }
}

TEST_F(TransferFilesTest, BankCodesBeginningWith016GoToTheSameBankFile)
{
    const std::pair<const char*, std::optional<std::string>> bills[] = {
        {"S1", std::string("0160001")}, {"S2", std::string("016")}, {"I1", std::string("0170001")},
        {"I3", std::string("1016000")}, {"N1", std::nullopt},
    };
    int provider = 0;
    for (const auto& [id, bankId] : bills) {
        Bill b;
        b.billId = id;
        b.providerId = "P" + std::to_string(++provider);
        b.bankId = bankId;
        addBill(b);
    }
    run(controls());

    const auto sameBank = lines(readFile(bank.path() + "DEF.TXT"));
    const auto interBank = lines(readFile(bank.path() + "ABC.TXT"));
    ASSERT_EQ(sameBank.size(), 2u);
    EXPECT_EQ(sameBank[0].substr(20, 7), "0160001");
    EXPECT_EQ(sameBank[1].substr(20, 7), "016    ");
    ASSERT_EQ(interBank.size(), 2u); // the NULL bank code is in neither file, and not refused
    std::vector<std::string> codes;
    for (const auto& line : interBank)
        codes.push_back(line.substr(20, 7));
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, (std::vector<std::string>{"0170001", "1016000"}));
}

TEST_F(TransferFilesTest, EmptyNameEditSkipsItsFileAndBatchFile)
{
    installBatchFile(bank.path(), "RMTR.BAT", bank.path());
    installBatchFile(bank.path(), "RTTR.BAT", bank.path());
    Bill inter;
    addBill(inter);
    Bill same;
    same.billId = "B2";
    same.bankId = "0160001";
    addBill(same);

    auto c = controls();
    c.interBankFileName.clear();
    run(c);

    ASSERT_TRUE(waitForFile(bank.path() + "RTTR.BAT.ran"));
    EXPECT_TRUE(fs::exists(bank.path() + "DEF.TXT"));
    EXPECT_FALSE(fs::exists(bank.path() + "ABC.TXT"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(bank.path() + "RMTR.BAT.ran"));
}

TEST_F(TransferFilesTest, SwitchOffWritesNoFileStartsNoBatchButStillReports)
{
    installBatchFile(bank.path(), "RMTR.BAT", bank.path());
    addBill(Bill{});
    auto c = controls();
    c.makeTransferFiles = false;
    run(c);

    EXPECT_FALSE(fs::exists(bank.path() + "ABC.TXT"));
    EXPECT_EQ(reports().size(), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(bank.path() + "RMTR.BAT.ran"));
}

TEST_F(TransferFilesTest, BatchFilesStartFromTheBankPathAlsoForAnEmptyGroup)
{
    TempFolder markers;
    installBatchFile(bank.path(), "RMTR.BAT", markers.path());
    installBatchFile(bank.path(), "RTTR.BAT", markers.path());
    addBill(Bill{}); // inter-bank only: the same-bank group is empty

    run(controls());

    EXPECT_TRUE(waitForFile(markers.path() + "RMTR.BAT.ran"));
    EXPECT_TRUE(waitForFile(markers.path() + "RTTR.BAT.ran"));
    EXPECT_FALSE(fs::exists(bank.path() + "DEF.TXT"));
}

TEST_F(TransferFilesTest, MissingOrFailingBatchFileIsNotReported)
{
    std::ofstream(bank.path() + "RTTR.BAT") << "#!/bin/sh\nexit 3\n";
    ::chmod((bank.path() + "RTTR.BAT").c_str(), 0755);
    std::ofstream(bank.path() + "RMTR.BAT") << "not executable\n"; // no execute bit
    addBill(Bill{});
    EXPECT_NO_THROW(run(controls()));
    EXPECT_TRUE(fs::exists(bank.path() + "ABC.TXT"));
    EXPECT_EQ(reports().size(), 1u);
}

TEST_F(TransferFilesTest, EmptyBankPathWritesToTheDefaultFolderAndStartsBareNames)
{
    TempFolder home, current;
    installBatchFile(current.path(), "RMTR.BAT", current.path());
    addBill(Bill{});
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const auto savedCurrent = fs::current_path();
    ::setenv("HOME", home.path().c_str(), 1);
    fs::current_path(current.path());
    auto c = controls();
    c.bankPath.clear();
    try {
        run(c);
    } catch (...) {
        ::setenv("HOME", savedHome.c_str(), 1);
        fs::current_path(savedCurrent);
        throw;
    }
    ::setenv("HOME", savedHome.c_str(), 1);
    fs::current_path(savedCurrent);

    EXPECT_EQ(lines(readFile(home.path() + "ABC.TXT")).size(), 1u);
    EXPECT_TRUE(waitForFile(current.path() + "RMTR.BAT.ran"));
}

TEST_F(TransferFilesTest, RowsTheRecordCannotHoldAreRefusedBeforeAnyFile)
{
    installBatchFile(bank.path(), "RMTR.BAT", bank.path());
    const std::string oldContent = "an earlier file\r\n";
    std::ofstream(bank.path() + "ABC.TXT", std::ios::binary) << oldContent;
    Bill good;
    good.billId = "GOOD";
    good.bankId = "0160001"; // same-bank file, written first would be wrong
    addBill(good);
    Bill longAccount;
    longAccount.billId = "LONGACC";
    longAccount.providerId = "P777";
    longAccount.bankAccId = "123456789012345"; // 15 digits
    addBill(longAccount);
    Bill lettersInAccount = longAccount;
    lettersInAccount.billId = "LETTERS";
    lettersInAccount.bankAccId = "12-34";
    addBill(lettersInAccount);
    Bill hugeAmount = longAccount;
    hugeAmount.billId = "HUGE";
    hugeAmount.bankAccId = "1";
    hugeAmount.amt2 = 1e12;
    addBill(hugeAmount);
    Bill zeroAmount = hugeAmount;
    zeroAmount.billId = "ZERO";
    zeroAmount.amt2 = 0;
    addBill(zeroAmount);
    Bill longBank = hugeAmount;
    longBank.billId = "LONGBANK";
    longBank.amt2 = 5;
    longBank.bankId = "01700123";
    addBill(longBank);
    Bill emptyBank = longBank;
    emptyBank.billId = "EMPTYBANK";
    emptyBank.bankId = "";
    addBill(emptyBank);

    try {
        run(controls());
        FAIL() << "the routine wrote rows the record cannot hold";
    } catch (const text::UserError& error) {
        const std::string message = error.what();
        for (const char* bill : {"LONGACC", "LETTERS", "HUGE", "ZERO", "LONGBANK", "EMPTYBANK"})
            EXPECT_NE(message.find(bill), std::string::npos) << bill << " missing from: " << message;
        EXPECT_EQ(message.find("GOOD"), std::string::npos);
        EXPECT_NE(message.find("P777"), std::string::npos);
    }
    EXPECT_EQ(readFile(bank.path() + "ABC.TXT"), oldContent);
    EXPECT_FALSE(fs::exists(bank.path() + "DEF.TXT"));
    // Nothing handed over, the run can still be looked at and redone.
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(grid.isOpen());
    EXPECT_TRUE(tableExists(tables.names().tableC));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(bank.path() + "RMTR.BAT.ran"));
}

TEST_F(TransferFilesTest, InvalidDateStopsBeforeAnything)
{
    addBill(Bill{});
    auto c = controls();
    c.remittanceDateText = "2016/02/30";
    EXPECT_THROW(run(c), text::UserError);
    EXPECT_TRUE(filesIn(bank.path()).empty());
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(grid.isOpen());
}

} // namespace
} // namespace remittance_tests
