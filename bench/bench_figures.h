// The figures every benchmark reports: medians of its samples, and the load
// of the shared machine they were taken under.
#pragma once

#include <vector>

namespace qv::bench {

// The middle of `values` (the mean of the two middle ones for an even
// count); -1 for none.
double Median(std::vector<double> values);

// The one-minute load average; -1 when the system does not tell.
double LoadAverage();

}  // namespace qv::bench
