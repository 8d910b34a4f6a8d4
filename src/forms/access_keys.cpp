#include "forms/access_keys.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace dorvane::forms {
namespace {

QChar KeyOf(QChar c) {
  const QChar up = c.toUpper();
  if ((up >= u'A' && up <= u'Z') || (up >= u'0' && up <= u'9')) return up;
  return QChar();
}

}  // namespace

// The classic rule retries with a starved item moved last and keeps the best
// outcome. An item that found no free character took none from the others,
// and moved last it finds even more characters taken, so that retry can never
// serve more items: one pass gives the same result.
std::vector<int> AssignAccessKeys(const std::vector<MenuEntry>& entries) {
  std::vector<int> keys(entries.size(), -1);
  QString taken;
  for (const bool added : {false, true}) {
    for (size_t idx = 0; idx < entries.size(); ++idx) {
      const MenuEntry& e = entries[idx];
      if (e.separator || !e.visible || e.added != added) continue;
      for (int i = 0; i < e.caption.size(); ++i) {
        const QChar key = KeyOf(e.caption[i]);
        if (!key.isNull() && !taken.contains(key)) {
          taken.append(key);
          keys[idx] = i;
          break;
        }
      }
    }
  }
  return keys;
}

QString MarkAccessKey(const QString& caption, int index) {
  QString out;
  out.reserve(caption.size() + 2);
  for (int i = 0; i < caption.size(); ++i) {
    if (i == index) out += u'&';
    out += caption[i];
    if (caption[i] == u'&') out += u'&';
  }
  return out;
}

namespace {

void MarkActions(const QList<QAction*>& actions) {
  std::vector<MenuEntry> entries;
  entries.reserve(actions.size());
  for (QAction* a : actions)
    entries.push_back({a->text(), a->isSeparator(), a->isVisible(), a->property(kAddedItem).toBool()});
  const std::vector<int> keys = AssignAccessKeys(entries);
  for (qsizetype i = 0; i < actions.size(); ++i)
    if (!entries[i].separator) actions[i]->setText(MarkAccessKey(entries[i].caption, keys[i]));
}

}  // namespace

void ApplyAccessKeys(QMenuBar& bar) {
  MarkActions(bar.actions());
  for (QAction* a : bar.actions())
    if (QMenu* menu = a->menu()) MarkActions(menu->actions());
}

}  // namespace dorvane::forms
