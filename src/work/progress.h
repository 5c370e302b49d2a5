#pragma once
// The progress display of a page (gauge above, status memo below) as page modules see it.
#include <string>

namespace work {

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void clear() = 0; // empty memo
    virtual void setGauge(int value, int maximum) = 0;
    virtual int gaugeValue() const = 0;
    virtual int gaugeMaximum() const = 0;
    virtual void addLine(const std::string& big5) = 0; // one line in the memo
};

// "CAST" + gauge value + " ....." + mark: sets the gauge to `value` and writes the line.
void progressLine(ProgressDisplay& display, int value, const std::string& big5Mark = {});
// Sets the gauge, then writes a fixed message.
void progressMessage(ProgressDisplay& display, int value, const std::string& big5Text);

// A progress display that shows nothing (benchmarks, runs without a window).
class NullProgress : public ProgressDisplay {
public:
    void clear() override {}
    void setGauge(int value, int maximum) override
    {
        value_ = value;
        max_ = maximum;
    }
    int gaugeValue() const override { return value_; }
    int gaugeMaximum() const override { return max_; }
    void addLine(const std::string&) override {}

private:
    int value_ = 0, max_ = 10;
};

} // namespace work
