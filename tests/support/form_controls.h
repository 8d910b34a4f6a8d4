#pragma once
// The controls of the main window, the finder and the dial's dialog, found
// as a user's tools and screen readers find them: by their object names. The
// members are named as the controls are, so that a test reads `ui.edP1`.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeWidget>
#include <stdexcept>
#include <string>

#include "chart/chart.h"
#include "controls/flat_combo_box.h"
#include "controls/flat_edit.h"
#include "controls/label.h"
#include "controls/markup_check_box.h"
#include "controls/shader.h"
#include "controls/shape.h"
#include "forms/dial_preview.h"

namespace dorvane::testsupport {

// The form's own control of that name and type, not one of a dialog it
// owns (the finder has an "lblP1" too); a control that is missing fails the
// test.
template <class T>
T* FindControl(QObject& form, const char* name) {
  for (T* found : form.findChildren<T*>(QString::fromLatin1(name))) {
    bool inDialog = false;
    for (QObject* o = found->parent(); o && o != &form; o = o->parent())
      inDialog = inDialog || qobject_cast<QDialog*>(o) != nullptr;
    if (!inDialog) return found;
  }
  throw std::runtime_error(std::string("no control named ") + name);
}

#define DORVANE_CONTROL(type, name) type* name = FindControl<type>(form, #name)

struct MainControls {
  explicit MainControls(QObject& of) : form(of) {}
  QObject& form;
  DORVANE_CONTROL(controls::TShader, Shader1);
  DORVANE_CONTROL(chart::TChart, Chart1);
  DORVANE_CONTROL(QStatusBar, StatusBar1);
  DORVANE_CONTROL(controls::TFlatComboBox, lstPotType);
  DORVANE_CONTROL(controls::TFlatEdit, edP1);
  DORVANE_CONTROL(controls::TFlatEdit, edR1);
  DORVANE_CONTROL(controls::TFlatEdit, edR2);
  DORVANE_CONTROL(controls::TMarkupCheckBox, cbR1);
  DORVANE_CONTROL(controls::TMarkupCheckBox, cbR2);
  DORVANE_CONTROL(controls::TMarkupCheckBox, cbShowCurveOriginal);
  DORVANE_CONTROL(controls::TMarkupCheckBox, cbShowCurveLogIdeal);
  DORVANE_CONTROL(controls::TMarkupCheckBox, cbShowCurveModified);
  DORVANE_CONTROL(controls::TLabel, lblP1);
  DORVANE_CONTROL(controls::TLabel, lblR1);
  DORVANE_CONTROL(controls::TLabel, lblR2);
  DORVANE_CONTROL(controls::TLabel, lblWireType);
  DORVANE_CONTROL(controls::TShape, shR1);
  DORVANE_CONTROL(controls::TShape, shR2);
  DORVANE_CONTROL(QMenuBar, MainMenu1);
  DORVANE_CONTROL(QMenu, Fichier1);
  DORVANE_CONTROL(QMenu, Montage1);
  DORVANE_CONTROL(QMenu, Affichage1);
  DORVANE_CONTROL(QAction, Enregistrerlegraphiquesous1);
  DORVANE_CONTROL(QAction, Exporterlesvaleurs1);
  DORVANE_CONTROL(QAction, Enregistrerlecadransous1);
  DORVANE_CONTROL(QAction, Quitter1);
  DORVANE_CONTROL(QAction, Copier1);
  DORVANE_CONTROL(QAction, CopierenMetafile1);
  DORVANE_CONTROL(QAction, AjouterresistanceR11);
  DORVANE_CONTROL(QAction, AjouterresistanceR21);
  DORVANE_CONTROL(QAction, Affichercourbeoriginale1);
  DORVANE_CONTROL(QAction, Affichercourbelog1);
  DORVANE_CONTROL(QAction, Affichercourbemodifiee1);
  DORVANE_CONTROL(QAction, Echelleendecibels1);
  DORVANE_CONTROL(QAction, Trouverlaresistance1);
  DORVANE_CONTROL(QAction, Indexdelaide1);
};

struct FinderControls {
  explicit FinderControls(QObject& of) : form(of) {}
  QObject& form;
  DORVANE_CONTROL(QRadioButton, rbR1);
  DORVANE_CONTROL(QRadioButton, rbR2);
  DORVANE_CONTROL(QLabel, lblP1);
  DORVANE_CONTROL(QComboBox, cbTarget);
  DORVANE_CONTROL(QLineEdit, edTargetMid);
  DORVANE_CONTROL(QLineEdit, edPosition);
  DORVANE_CONTROL(QLineEdit, edWanted);
  DORVANE_CONTROL(QLineEdit, edRangeFrom);
  DORVANE_CONTROL(QLabel, lblRangeTo);
  DORVANE_CONTROL(QLineEdit, edRangeTo);
  DORVANE_CONTROL(QLineEdit, edLoad);
  DORVANE_CONTROL(QComboBox, cbSeries);
  DORVANE_CONTROL(QLineEdit, edPotTolerance);
  DORVANE_CONTROL(QLineEdit, edResistorTolerance);
  DORVANE_CONTROL(QLabel, lblExact);
  DORVANE_CONTROL(QStackedWidget, stkResults);
  DORVANE_CONTROL(QTreeWidget, lstValues);
  DORVANE_CONTROL(QLabel, lblMessage);
  DORVANE_CONTROL(chart::TChart, chPreview);
  DORVANE_CONTROL(QPushButton, btnApply);
  DORVANE_CONTROL(QPushButton, btnCancel);
};

struct DialControls {
  explicit DialControls(QObject& of) : form(of) {}
  QObject& form;
  DORVANE_CONTROL(QLineEdit, edRotation);
  DORVANE_CONTROL(QLineEdit, edDiameter);
  DORVANE_CONTROL(QLabel, lblMarks);
  DORVANE_CONTROL(QLineEdit, edMarks);
  DORVANE_CONTROL(QCheckBox, cbScale);
  DORVANE_CONTROL(QLabel, lblMessage);
  DORVANE_CONTROL(forms::TDialPreview, pvDial);
  DORVANE_CONTROL(QPushButton, btnSave);
  DORVANE_CONTROL(QPushButton, btnCancel);
};

#undef DORVANE_CONTROL

}  // namespace dorvane::testsupport
