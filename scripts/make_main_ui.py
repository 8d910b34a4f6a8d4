#!/usr/bin/env python3
"""Writes src/forms/frm_main.ui: the main window's layout as data.

The layout is kept here as tables so that it reads like the window it makes;
the generated .ui is committed and compiled by uic.
"""
from xml.sax.saxutils import escape
import pathlib

NS_C = "dorvane::controls::"
NS_G = "dorvane::gfx::"

def prop(name, kind, value):
    if kind == "bool":
        v = f"<bool>{'true' if value else 'false'}</bool>"
    elif kind == "number":
        v = f"<number>{value}</number>"
    elif kind == "enum":
        v = f"<enum>{value}</enum>"
    elif kind == "string":
        v = f"<string>{escape(value)}</string>"
    elif kind == "rect":
        x, y, w, h = value
        v = f"<rect><x>{x}</x><y>{y}</y><width>{w}</width><height>{h}</height></rect>"
    elif kind == "font":
        family, px, bold = value
        v = f"<font><family>{family}</family><bold>{'true' if bold else 'false'}</bold></font>"
    else:
        raise ValueError(kind)
    return f'<property name="{name}">{v}</property>'

def widget(cls, name, geo, props=(), extra=""):
    inner = "".join(prop(*p) for p in props)
    return f'<widget class="{cls}" name="{name}">{prop("geometry", "rect", geo)}{inner}{extra}</widget>'

def tline(name, geo, line_type, places, fill, end_sign="leClosedArrowRight", start_sign="leClosedArrowLeft"):
    t = NS_C + "TTechnicalLine::"
    props = [
        ("LineType", "enum", t + line_type),
        ("SignPlaces", "enum", t + places),
        ("LineStartSign", "enum", t + start_sign),
        ("LineEndingsign", "enum", t + end_sign),
        ("SignSize", "number", 8),
        ("Color", "enum", NS_G + "clBlack"),
        ("FillColor", "enum", NS_G + fill),
    ]
    return widget("dorvane::controls::TTechnicalLine", name, geo, props)

def shape(name, geo):
    return widget("dorvane::controls::TShape", name, geo, [("BrushColor", "enum", NS_G + "clWhite")])

def label(name, geo, caption, bold=True, right=False):
    props = [("Caption", "string", caption),
             ("Alignment", "enum", NS_C + ("TLabel::taRightJustify" if right else "TLabel::taLeftJustify")),
             ("AutoSize", "bool", True),
             ("Transparent", "bool", True),
             ("font", "font", ("MS Sans Serif", 11, bold))]
    return widget("dorvane::controls::TLabel", name, geo, props)

def edit(name, geo, text):
    props = [("text", "string", text), ("Flat", "bool", True), ("FlatParentColor", "bool", False),
             ("Color", "enum", NS_G + "clWindow"), ("FocusColor", "enum", NS_G + "clWindow"),
             ("ModifiedColor", "enum", NS_G + "clWindow"), ("DisabledColor", "enum", NS_G + "clGray"),
             ("ShowError", "bool", True), ("CanUndo", "bool", False)]
    return widget("dorvane::controls::TFlatEdit", name, geo, props)

def check(name, geo, caption, checked, afficher):
    props = [("Caption", "string", caption), ("Checked", "bool", checked),
             ("ButtonType", "enum", NS_C + "TCustomMarkupCheckBox::btWinXP"),
             ("Alignment", "enum", NS_C + "TCustomMarkupCheckBox::taLeftJustify"),
             ("Transparent", "bool", True), ("ReturnIsTab", "bool", False)]
    if afficher:
        props += [("ShadowColor", "enum", NS_G + "clNone"), ("ShadowOffset", "number", 0)]
    return widget("dorvane::controls::TMarkupCheckBox", name, geo, props)

# The circuit diagram, in drawing order (later ones over earlier ones).
diagram = [
    shape("Shape1", (56, 176, 17, 65)),
    tline("TechnicalLine1", (73, 200, 32, 17), "lsStraightLeftToRight", "spStart", "clBlack"),
    tline("TechnicalLine2", (56, 152, 17, 25), "lsStraightTopToBottom", "spNoWhere", "clBlack"),
    tline("TechnicalLine3", (56, 240, 17, 25), "lsStraightTopToBottom", "spNoWhere", "clBlack"),
    label("lblP1", (33, 192, 16, 13), "P1", right=True),
    shape("shR1", (96, 160, 17, 41)),
    tline("TechnicalLine4", (96, 152, 17, 9), "lsStraightTopToBottom", "spNoWhere", "clBlack"),
    tline("TechnicalLine5", (96, 200, 17, 9), "lsStraightTopToBottom", "spNoWhere", "clBlack"),
    label("lblR1", (120, 168, 17, 13), "R1"),
    tline("TechnicalLine6", (64, 256, 129, 17), "lsStraightLeftToRight", "spEnd", "clNone", end_sign="leCircle"),
    tline("TechnicalLine7", (64, 144, 129, 17), "lsStraightLeftToRight", "spEnd", "clNone", end_sign="leCircle"),
    tline("TechnicalLine8", (104, 200, 89, 17), "lsStraightLeftToRight", "spEnd", "clNone", end_sign="leCircle"),
    shape("shR2", (96, 216, 17, 41)),
    label("lblR2", (120, 224, 17, 13), "R2"),
    tline("TechnicalLine9", (96, 208, 17, 9), "lsStraightTopToBottom", "spNoWhere", "clBlack"),
    tline("TechnicalLine10", (96, 256, 17, 9), "lsStraightTopToBottom", "spNoWhere", "clBlack"),
    label("Label1", (184, 176, 17, 13), "Ra"),
    label("Label2", (184, 232, 17, 13), "Rb"),
    label("lblWireType", (16, 120, 56, 13), "lblWireType", bold=False),
]

combo_items = "".join(f'<item><property name="text"><string>{escape(t)}</string></property></item>'
                      for t in ("Linéaire", "Logarithmique", "Anti-Logarithmique"))
controls = [
    widget("dorvane::controls::TFlatComboBox", "lstPotType", (16, 32, 137, 21), [
        ("Flat", "bool", True), ("FlatParentColor", "bool", False), ("ParentColor", "bool", True),
        ("FocusColor", "enum", NS_G + "clWindow"), ("DropWidth", "number", 0), ("ItemHeight", "number", 13),
        ("LabelCaption", "string", "Type et valeur du potentiomètre original (P1)"),
        ("LabelPosition", "enum", NS_C + "TFlatComboBox::lpTopLeft"), ("LabelTransparent", "bool", True),
        ("LabelAlwaysEnabled", "bool", True), ("enabled", "bool", False)], extra=combo_items),
    edit("edP1", (160, 32, 65, 21), "100K"),
    check("cbR1", (16, 64, 129, 20), "Ajouter résistance R1", False, False),
    edit("edR1", (160, 64, 65, 21), "10K2"),
    check("cbR2", (16, 88, 129, 20), "Ajouter résistance R2", True, False),
    edit("edR2", (160, 88, 65, 21), "10K"),
    check("cbShowCurveOriginal", (16, 288, 161, 20),
          'Afficher <FONT color="#80FF00">courbe originale</FONT>', True, True),
    check("cbShowCurveLogIdeal", (16, 304, 209, 20),
          'Afficher <FONT color="#C0C0C0"  >courbe log (Pos) théorique</FONT>', False, True),
    check("cbShowCurveModified", (16, 320, 153, 20),
          'Afficher <FONT color="#FF0000">courbe modifiée</FONT>', True, True),
    widget("dorvane::chart::TChart", "Chart1", (248, 16, 345, 321)),
    widget("QStatusBar", "StatusBar1", (1, 354, 604, 19), [("sizeGripEnabled", "bool", False)]),
]

shader = widget("dorvane::controls::TShader", "Shader1", (0, 0, 606, 374), [
    ("FromColor", "number", 14802035), ("ToColor", "enum", NS_G + "clBlue"), ("Direction", "bool", False),
], extra="".join(diagram + controls))

def action(name, text, enabled=True):
    return (f'<action name="{name}"><property name="text"><string>{escape(text)}</string></property>'
            f'<property name="enabled"><bool>{"true" if enabled else "false"}</bool></property></action>')

def menu(name, title, items):
    inner = "".join('<addaction name="separator"/>' if i == "-" else f'<addaction name="{i}"/>' for i in items)
    return f'<widget class="QMenu" name="{name}"><property name="title"><string>{escape(title)}</string></property>{inner}</widget>'

menubar = ('<widget class="QMenuBar" name="MainMenu1">'
           + menu("Fichier1", "Fichier", ["Quitter1"])
           + menu("Edition1", "Edition", ["Copier1", "CopierenMetafile1"])
           + menu("Aide1", "Aide", ["Indexdelaide1", "-", "Apropos1"])
           + '<addaction name="Fichier1"/><addaction name="Edition1"/><addaction name="Aide1"/></widget>')
actions = "".join([action("Quitter1", "Quitter"), action("Copier1", "Copier en Bitmap "),
                   action("CopierenMetafile1", "Copier en Metafile"),
                   action("Indexdelaide1", "Index de l'aide", enabled=False), action("Apropos1", "A propos...")])

# Tab order as laid out; only the value boxes and the law list take Tab.
tab_order = ["lstPotType", "Chart1", "cbR1", "cbR2", "edR1", "edR2", "edP1",
             "cbShowCurveOriginal", "cbShowCurveModified", "cbShowCurveLogIdeal"]

def conn(sender, signal, slot):
    return (f"<connection><sender>{sender}</sender><signal>{signal}</signal>"
            f"<receiver>TfmMain</receiver><slot>{slot}</slot></connection>")

# Event bindings of the window, in one place.
connections = [
    conn("lstPotType", "OnChange()", "cbR1Click()"),
    conn("edP1", "OnChange()", "cbR1Click()"),
    conn("edR1", "OnChange()", "cbR1Click()"),
    conn("edR2", "OnChange()", "cbR1Click()"),
    conn("cbR1", "OnClick()", "cbR1Click()"),
    conn("cbR2", "OnClick()", "cbR1Click()"),
    conn("cbShowCurveOriginal", "OnClick()", "cbShowCurveOriginalClick()"),
    conn("cbShowCurveModified", "OnClick()", "cbShowCurveOriginalClick()"),
    conn("cbShowCurveLogIdeal", "OnClick()", "cbShowCurveOriginalClick()"),
    conn("Quitter1", "triggered()", "Quitter1Click()"),
    conn("Copier1", "triggered()", "Copier1Click()"),
    conn("CopierenMetafile1", "triggered()", "CopierenMetafile1Click()"),
    conn("Apropos1", "triggered()", "Apropos1Click()"),
]

def custom(cls, header, base="QWidget", container=False):
    return (f"<customwidget><class>{cls}</class><extends>{base}</extends><header>{header}</header>"
            + ("<container>1</container>" if container else "") + "</customwidget>")

customs = "".join([
    custom("dorvane::controls::TShader", "controls/shader.h", container=True),
    custom("dorvane::controls::TFlatComboBox", "controls/flat_combo_box.h", "QComboBox"),
    custom("dorvane::controls::TFlatEdit", "controls/flat_edit.h", "QLineEdit"),
    custom("dorvane::controls::TMarkupCheckBox", "controls/markup_check_box.h"),
    custom("dorvane::controls::TShape", "controls/shape.h"),
    custom("dorvane::controls::TLabel", "controls/label.h"),
    custom("dorvane::controls::TTechnicalLine", "controls/technical_line.h"),
    custom("dorvane::chart::TChart", "chart/chart.h"),
])

ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Generated by scripts/make_main_ui.py: edit the script, not this file. -->
<ui version="4.0">
<class>TfmMain</class>
<widget class="QMainWindow" name="TfmMain">
{prop("geometry", "rect", (292, 204, 606, 374))}
{prop("windowTitle", "string", "Potentiomètre - Modification courbe variation")}
{prop("font", "font", ("MS Sans Serif", 11, False))}
{shader.replace('name="Shader1">', 'name="Shader1">', 1)}
{menubar}
{actions}
</widget>
<customwidgets>{customs}</customwidgets>
<tabstops>{"".join(f"<tabstop>{t}</tabstop>" for t in tab_order)}</tabstops>
<resources/>
<connections>{"".join(connections)}</connections>
</ui>
'''
# The shader is the window's central widget.
ui = ui.replace('<widget class="dorvane::controls::TShader" name="Shader1">',
                '<widget class="dorvane::controls::TShader" name="Shader1">', 1)
out = pathlib.Path(__file__).resolve().parent.parent / "src" / "forms" / "frm_main.ui"
out.write_text(ui, encoding="utf-8")
print(f"wrote {out}")
