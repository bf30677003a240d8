// Benchmark cases compared with a full-window fill of the same size measured in the same run.
#pragma once

#include <string>

namespace koyomi::bench {

// Names the case's baseline (a "fill WxH" case) and how many fills it is to be compared
// with: the report divides the case's time by scale × the baseline's time.
void setBaseline(const std::string& caseName, const std::string& baselineName, double scale = 1);

} // namespace koyomi::bench
