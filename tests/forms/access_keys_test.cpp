#include "forms/access_keys.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace dorvane::forms {
namespace {

struct AccessCase {
  const char* name;
  std::vector<MenuEntry> entries;
  std::vector<int> keys;
};

const AccessCase kCases[] = {
    {"menu bar", {{"Fichier"}, {"Edition"}, {"Aide"}}, {0, 0, 0}},
    {"edition menu", {{"Copier en Bitmap "}, {"Copier en Metafile"}}, {0, 1}},
    {"help menu with separator", {{"Index de l'aide"}, {"-", true}, {"A propos..."}}, {0, -1, 0}},
    {"digits count, punctuation does not", {{"1er"}, {".1x"}}, {0, 2}},
    {"case is ignored", {{"abc"}, {"ABC"}}, {0, 1}},
    {"accented letters are not keys", {{"\u00e9t\u00e9"}, {"\u00c9T"}}, {1, -1}},
    {"hidden items take nothing", {{"Abc", false, false}, {"Abc"}}, {-1, 0}},
    {"a starved item leaves the others alone", {{"AB"}, {"BA"}, {"AB"}, {"C"}}, {0, 0, -1, 0}},
    {"nobody can be served", {{"..."}, {"--"}}, {-1, -1}},
    {"added items choose last",
     {{"Fichier"}, {"Montage", false, true, true}, {"Affichage", false, true, true}, {"Aide"}},
     {0, 0, 3, 0}},
};

TEST(AccessKeys, AssignedByTheMenuRule) {
  for (const auto& c : kCases) EXPECT_EQ(AssignAccessKeys(c.entries), c.keys) << c.name;
}

TEST(AccessKeys, MarksEscapeAmpersands) {
  EXPECT_EQ(MarkAccessKey("Quitter", 0), "&Quitter");
  EXPECT_EQ(MarkAccessKey("Copier en Metafile", 1), "C&opier en Metafile");
  EXPECT_EQ(MarkAccessKey("R&D", 2), "R&&&D");
  EXPECT_EQ(MarkAccessKey("Aide", -1), "Aide");
}

TEST(AccessKeys, AppliedToARealMenuBar) {
  QMenuBar bar;
  QMenu* edition = bar.addMenu("Edition");
  edition->addAction("Copier en Bitmap ");
  edition->addAction("Copier en Metafile");
  QMenu* aide = bar.addMenu("Aide");
  QAction* index = aide->addAction("Index de l'aide");
  index->setEnabled(false);
  aide->addSeparator();
  aide->addAction("A propos...");
  ApplyAccessKeys(bar);
  EXPECT_EQ(bar.actions()[0]->text(), "&Edition");
  EXPECT_EQ(bar.actions()[1]->text(), "&Aide");
  EXPECT_EQ(edition->actions()[0]->text(), "&Copier en Bitmap ");
  EXPECT_EQ(edition->actions()[1]->text(), "C&opier en Metafile");
  EXPECT_EQ(aide->actions()[0]->text(), "&Index de l'aide");
  EXPECT_TRUE(aide->actions()[1]->isSeparator());
  EXPECT_EQ(aide->actions()[2]->text(), "&A propos...");
}

}  // namespace
}  // namespace dorvane::forms
