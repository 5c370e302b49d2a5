#pragma once
// Recording stand-ins for the window's progress display and message boxes, so module tests
// can read what a run showed and answer its questions.
#include "text/big5.h"
#include "work/messages.h"
#include "work/progress.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class RecordingProgress : public work::ProgressDisplay {
public:
    void clear() override
    {
        lines.clear();
        ++clears;
    }
    void setGauge(int value, int maximum) override
    {
        value_ = value;
        max_ = maximum;
        gaugeHistory.push_back(value);
    }
    int gaugeValue() const override { return value_; }
    int gaugeMaximum() const override { return max_; }
    void addLine(const std::string& big5) override { lines.push_back(text::big5ToUtf8(big5)); }

    std::vector<std::string> lines; // UTF-8
    std::vector<int> gaugeHistory;
    int clears = 0;

private:
    int value_ = 0, max_ = 10;
};

class RecordingMessages : public work::Messages {
public:
    void inform(const std::string& utf8) override { informed.push_back(utf8); }
    bool confirm(const std::string& utf8) override
    {
        asked.push_back(utf8);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<std::string> askWithReason(const std::string& utf8) override
    {
        askedWithReason.push_back(utf8);
        if (reasons.empty())
            return std::nullopt;
        std::optional<std::string> reason = reasons.front();
        reasons.pop_front();
        return reason;
    }

    std::vector<std::string> informed;
    std::vector<std::string> asked;
    std::deque<bool> answers; // answers to give, in order; Yes when exhausted
    std::vector<std::string> askedWithReason;
    // Answers to the questions that ask why, in order: a reason for Yes, nullopt for No; No
    // when exhausted, as the box's default button.
    std::deque<std::optional<std::string>> reasons;
};

} // namespace testing_support
