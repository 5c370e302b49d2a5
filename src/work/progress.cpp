#include "work/progress.h"

namespace work {

void progressLine(ProgressDisplay& display, int value, const std::string& big5Mark)
{
    display.setGauge(value, display.gaugeMaximum());
    display.addLine("CAST" + std::to_string(value) + " ....." + big5Mark);
}

void progressMessage(ProgressDisplay& display, int value, const std::string& big5Text)
{
    display.setGauge(value, display.gaugeMaximum());
    display.addLine(big5Text);
}

} // namespace work
