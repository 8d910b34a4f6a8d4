#include "forms/accessibility.h"

#include <QAccessible>

#include "chart/chart_accessible.h"
#include "controls/accessible.h"

namespace dorvane::forms {

void InstallAccessibility() {
  // installFactory ignores a factory it already has.
  QAccessible::installFactory(&controls::AccessibleControlFactory);
  QAccessible::installFactory(&chart::AccessibleChartFactory);
}

}  // namespace dorvane::forms
