#pragma once
// One coordinate of a series' points: the values in insertion order (or kept
// sorted), with cached statistics.
#include <QObject>
#include <QString>
#include <vector>

#include "chart/chart_types.h"

namespace dorvane::chart {

class TChartValueList : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE setName)
  Q_PROPERTY(dorvane::chart::TChartListOrder Order READ Order WRITE setOrder)
  Q_PROPERTY(double Multiplier READ Multiplier WRITE setMultiplier)
  Q_PROPERTY(bool DateTime READ DateTime WRITE setDateTime)

 public:
  TChartValueList(const QString& name, TChartListOrder order, QObject* parent = nullptr)
      : QObject(parent), name_(name), order_(order) {}

  QString Name() const { return name_; }
  void setName(const QString& n) { name_ = n; }
  TChartListOrder Order() const { return order_; }
  // Changes the rule for later insertions; stored values keep their order.
  void setOrder(TChartListOrder o) { order_ = o; }
  double Multiplier() const { return multiplier_; }
  void setMultiplier(double m);
  bool DateTime() const { return dateTime_; }
  void setDateTime(bool on) { dateTime_ = on; }

  int Count() const { return int(values_.size()); }
  // Stored value times Multiplier.
  double Value(int index) const { return values_[size_t(index)] * multiplier_; }
  const std::vector<double>& Stored() const { return values_; }

  // Inserts by Order and returns the index: equal values keep the order in
  // which they were added (a new one lands after them).
  int InsertOrdered(double value);
  // Inserts at a given index whatever Order says (the partner list of an
  // ordered one).
  void InsertAt(int index, double value);
  void Clear();

  // Statistics of the values read back, recomputed on the first read after
  // a change; all 0 for an empty list.
  double MinValue() const;
  double MaxValue() const;
  double Total() const;
  double TotalABS() const;
  // How often the statistics were computed (the cache at work).
  int StatisticsRuns() const { return statisticsRuns_; }

 signals:
  void Changed();

 private:
  void Recalc() const;

  QString name_;
  TChartListOrder order_;
  double multiplier_ = 1;
  bool dateTime_ = false;
  std::vector<double> values_;

  mutable bool dirty_ = true;
  mutable double min_ = 0, max_ = 0, total_ = 0, totalAbs_ = 0;
  mutable int statisticsRuns_ = 0;
};

}  // namespace dorvane::chart
