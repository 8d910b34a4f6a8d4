#include "forms/accessibility.h"

#include <QAccessible>
#include <QVariant>

#include "chart/chart.h"
#include "chart/chart_accessible.h"
#include "controls/accessible.h"

namespace dorvane::forms {

void InstallAccessibility() {
  // installFactory ignores a factory it already has.
  QAccessible::installFactory(&controls::AccessibleControlFactory);
  QAccessible::installFactory(&chart::AccessibleChartFactory);
}

void TitleProgramCurves(chart::TChart& chart) {
  // Series1, Series2, Series3: the linear law, the loaded law, the
  // theoretical log law.
  const char* const titles[] = {"Courbe originale", "Courbe modifiée", "Courbe log (Pos) théorique"};
  for (int i = 0; i < 3 && i < chart.SeriesCount(); ++i)
    chart.Series(i)->setProperty(chart::kSeriesTitleProperty, QString::fromUtf8(titles[i]));
}

}  // namespace dorvane::forms
