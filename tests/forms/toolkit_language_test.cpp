#include "forms/toolkit_language.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

namespace dorvane::forms {
namespace {

// The texts a user meets: a value box's context menu and a standard button.
QStringList ToolkitTexts() {
  QLineEdit edit(QStringLiteral("12K8"));
  std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text().section(u'\t', 0, 0);  // without the shortcut
  QDialogButtonBox box(QDialogButtonBox::Cancel);
  texts << box.button(QDialogButtonBox::Cancel)->text();
  return texts;
}

TEST(ToolkitLanguage, ContextMenuAndButtonsInFrench) {
#ifdef Q_OS_WIN
  // Beside the program, where Windows' copy of the program looks.
  const QString folder = QCoreApplication::applicationDirPath();
#else
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
  if (!QFileInfo::exists(folder + QStringLiteral("/qtbase_fr.qm")))
    GTEST_SKIP() << "qtbase_fr.qm missing (qt6-translations-l10n)";
  const QStringList english = ToolkitTexts();
  ASSERT_TRUE(english.contains(QStringLiteral("&Paste"))) << english.join(u'|').toStdString();
  std::unique_ptr<QTranslator> translator(InstallToolkitTranslations());
  ASSERT_NE(translator, nullptr);
  const QStringList french = ToolkitTexts();
  translator.reset();  // uninstalls it: the other tests see the toolkit's own texts
  for (const char* text : {"Cop&ier", "Co&ller", "Tout sélectionner", "Annuler"})
    EXPECT_TRUE(french.contains(QString::fromUtf8(text))) << text << ": " << french.join(u'|').toStdString();
  EXPECT_EQ(ToolkitTexts(), english);
}

TEST(ToolkitLanguage, MissingTranslationsChangeNothing) {
  QTemporaryDir empty;
  EXPECT_EQ(InstallToolkitTranslations(empty.path()), nullptr);
  EXPECT_TRUE(ToolkitTexts().contains(QStringLiteral("&Paste")));
}

}  // namespace
}  // namespace dorvane::forms
