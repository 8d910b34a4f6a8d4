#pragma once
// Access keys of a menu, given the way the classic toolkit gives them: going
// down the menu, each item takes the first letter A-Z or digit of its caption
// that no item above it has taken.
#include <QString>
#include <QStringList>
#include <vector>

class QMenu;
class QMenuBar;

namespace dorvane::forms {

struct MenuEntry {
  QString caption;
  bool separator = false;
  bool visible = true;
  // An item the program adds to a menu laid out before it: it chooses after
  // every other item, so that the others keep their keys.
  bool added = false;
};

// For each entry, the index in its caption of its access key, or -1.
// Disabled items take part; separators and hidden items get none.
std::vector<int> AssignAccessKeys(const std::vector<MenuEntry>& entries);

// The caption with its access key marked by "&" ("&&" for a literal "&").
QString MarkAccessKey(const QString& caption, int index);

// Marks the access keys of every action of the menu bar and of its menus.
// Captions are taken as plain text (without marks). Actions whose property
// kAddedItem is true are added items (see MenuEntry).
inline constexpr char kAddedItem[] = "dorvane.addedItem";
void ApplyAccessKeys(QMenuBar& bar);

}  // namespace dorvane::forms
