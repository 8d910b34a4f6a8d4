#include "chart/chart_value_list.h"

#include <algorithm>
#include <cmath>

namespace dorvane::chart {

void TChartValueList::setMultiplier(double m) {
  if (!SetField(multiplier_, m)) return;
  dirty_ = true;
  emit Changed();
}

int TChartValueList::InsertOrdered(double value) {
  const int n = Count();
  int at = n;
  // The comparisons use the stored values; Multiplier does not change order.
  if (order_ == loAscending && n > 0 && !(value >= values_.back())) {
    int i = n - 1;
    while (i >= 0 && values_[size_t(i)] > value) --i;
    at = i + 1;
  } else if (order_ == loDescending && n > 0 && !(value <= values_.back())) {
    int i = n - 1;
    while (i >= 0 && values_[size_t(i)] < value) --i;
    at = i + 1;
  }
  values_.insert(values_.begin() + at, value);
  dirty_ = true;
  return at;
}

void TChartValueList::InsertAt(int index, double value) {
  index = std::clamp(index, 0, Count());
  values_.insert(values_.begin() + index, value);
  dirty_ = true;
}

void TChartValueList::Clear() {
  values_.clear();
  dirty_ = true;
}

void TChartValueList::Recalc() const {
  if (!dirty_) return;
  ++statisticsRuns_;
  min_ = max_ = total_ = totalAbs_ = 0;
  for (size_t i = 0; i < values_.size(); ++i) {
    const double v = values_[i] * multiplier_;
    if (i == 0 || v < min_) min_ = v;
    if (i == 0 || v > max_) max_ = v;
    total_ += v;
    totalAbs_ += std::abs(v);
  }
  dirty_ = false;
}

double TChartValueList::MinValue() const {
  Recalc();
  return min_;
}
double TChartValueList::MaxValue() const {
  Recalc();
  return max_;
}
double TChartValueList::Total() const {
  Recalc();
  return total_;
}
double TChartValueList::TotalABS() const {
  Recalc();
  return totalAbs_;
}

}  // namespace dorvane::chart
