#pragma once
// The Chinese texts the demo data is made of, as UTF-8 literals: the generator converts
// what it picks to Big5.
#include <string>
#include <vector>

namespace demo {

struct BankBranch {
    std::string code; // seven digits: three for the bank, four for the branch
    std::string name; // bank and branch, e.g. "臺灣銀行城中分行"
};

struct DemoNames {
    std::vector<std::string> storeNames;       // "台北中山店", ...
    std::vector<std::string> companyStems;     // "永豐", "大同", ...
    std::vector<std::string> trades;           // "食品", "實業", ...
    std::vector<std::string> personNames;      // account holders of sole traders
    std::vector<std::string> cities;           // "台北市中山區", ...
    std::vector<std::string> streets;          // "南京東路二段", ...
    std::vector<BankBranch> sameBankBranches;  // code 016...: the same-bank transfer file
    std::vector<BankBranch> otherBankBranches; // every other bank
    std::vector<std::string> chequeRemarks;    // REMARK2 of cheques
};

const DemoNames& demoNames();

} // namespace demo
