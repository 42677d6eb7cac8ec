#include "bench_figures.h"

#include <stdlib.h>

#include <algorithm>
#include <array>

namespace qv::bench {

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double LoadAverage() {
  std::array<double, 1> load{};
  return getloadavg(load.data(), 1) == 1 ? load[0] : -1;
}

}  // namespace qv::bench
