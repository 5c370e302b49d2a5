#include "cheque/issue_messages.h"

#include "text/big5.h"

namespace cheque {
namespace {

std::string shownState(const std::string& big5State)
{
    return big5State.empty() ? std::string("未開票") : text::big5ToUtf8(big5State);
}

} // namespace

std::string reissueQuestion(const std::vector<ChequeState>& issued)
{
    std::string text = "下列支票已開票：\n";
    for (const ChequeState& cheque : issued)
        text += "  " + text::big5ToUtf8(cheque.id) + "（開票日 " + shownState(cheque.state) + "）\n";
    text += "再開票會印出同一號碼的支票。確定要再開票，請輸入原因（如卡紙、支票印壞）後按「是」；"
            "按「否」則略過這些支票，其餘照常開票。";
    return text;
}

std::string reprintQuestion(std::size_t issuedCount)
{
    return "這份清單的 " + std::to_string(issuedCount) +
           " 張支票已開票，但尚未印出。\n要重印這些支票嗎？（只列印，不會再開票）";
}

std::string changedSinceListedMessage(const IssueResult& result)
{
    if (result.changedSinceListed.empty())
        return {};
    std::string text = "下列支票在清單產生後已被其他工作站開票或清除，本次未開票：\n";
    for (const ChangedCheque& cheque : result.changedSinceListed)
        text += "  " + text::big5ToUtf8(cheque.id) + "（清單：" + shownState(cheque.listedState) + "，現在：" +
                shownState(cheque.currentState) + "）\n";
    text += "請重新 條件確認......";
    return text;
}

std::string printFailureMessage(const IssueResult& result)
{
    if (result.printFailure.empty())
        return {};
    const std::string failure =
        result.printFailure + (result.printFailureCause.empty() ? "" : "\n" + result.printFailureCause);
    const std::string count = result.issued.empty() ? std::string() : std::to_string(result.issued.size()) + " 張";
    if (result.canReprint)
        return failure + "\n\n" + count +
               "支票已開票，尚未印出。排除原因後再按「全部開票」或「選擇性開票」即可重印這些支票，不會再開票。";
    return failure + "\n\n" + count +
           "支票已開票，列印未完成，清單已關閉。如需補印，請重新 條件確認 後再開票（會詢問原因）。";
}

std::string voidedLeftOutMessage(const IssueResult& result)
{
    if (result.voided.empty())
        return {};
    std::string text = "下列支票已作廢，不能再開票或列印，本次略過：\n";
    for (const std::string& id : result.voided)
        text += "  " + text::big5ToUtf8(id) + "\n";
    return text;
}

std::string voidQuestion(const std::vector<ChequeState>& cheques)
{
    std::string text = "確定要作廢下列支票嗎？\n";
    for (const ChequeState& cheque : cheques)
        text += "  " + text::big5ToUtf8(cheque.id) + "（開票日 " + shownState(cheque.state) + "）\n";
    text += "作廢後這些支票所付的單據回復為開票前的狀態，支票不能再開票或列印。請輸入作廢原因後按「是」。";
    return text;
}

std::string voidResultMessage(const VoidResult& result)
{
    std::string text;
    if (!result.voided.empty()) {
        text += "已作廢 " + std::to_string(result.voided.size()) + " 張支票：";
        for (const std::string& id : result.voided)
            text += " " + text::big5ToUtf8(id);
        text += "\n";
    }
    if (!result.notVoidable.empty()) {
        text += "下列支票未開票或已作廢，不能作廢：";
        for (const ChequeState& cheque : result.notVoidable)
            text += " " + text::big5ToUtf8(cheque.id) + "（" + shownState(cheque.state) + "）";
        text += "\n";
    }
    if (!result.changedSinceListed.empty()) {
        text += "下列支票在清單產生後已被其他工作站變更，本次未作廢：";
        for (const ChangedCheque& cheque : result.changedSinceListed)
            text += " " + text::big5ToUtf8(cheque.id) + "（清單：" + shownState(cheque.listedState) + "，現在：" +
                    shownState(cheque.currentState) + "）";
        text += "\n";
    }
    if (result.outcome == VoidResult::Outcome::NothingChosen && result.notVoidable.empty())
        text += "請勾選已開票的支票，並輸入作廢原因。";
    return text;
}

} // namespace cheque
