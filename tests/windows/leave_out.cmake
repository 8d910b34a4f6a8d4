# Test cases that the run under Wine leaves out, per test program (GoogleTest
# filter patterns), each with its reason. The programs run on the toolkit's
# minimal platform with the system's fonts and the native style, as the
# program draws (tests/support/qt_test_main.cpp).
#
# Linux only: they write ELF program files (Windows reads version resources
# from PE files).
set(DORVANE_WINDOWS_LEAVE_OUT_dorvane_version_tests "VersionFile.*" "ElfSection.*")
set(DORVANE_WINDOWS_LEAVE_OUT_dorvane_controls_tests
  # Linux only: they write the ELF program file whose record the label reads.
  "InformationLabelTest.WithoutTranslationOnlyTheEnglishTableIsFound"
  "InformationLabelTest.LooksTheValueUpAtEveryPaint" "InformationLabelTest.AmpersandUnderlinesTheNextCharacter"
  "InformationLabelTest.TooWideValueIsCutAtTheEdgeWithoutEllipsis")
# The font engine: the bitmap's text is Windows' (hinted, not smoothed), the
# SVG's is the SVG renderer's from the glyph outlines (smoothed, a pixel
# taller); the case wants the bitmap's plain aqua untouched in the drawing.
set(DORVANE_WINDOWS_LEAVE_OUT_dorvane_chart_tests
  "Curves/ChartExport.SvgIsOnePixelSmallerAndShowsPanelAndPlotWhereTheBitmapDoes/*")
set(DORVANE_WINDOWS_LEAVE_OUT_dorvane_forms_tests
  # Linux only: the X11 and Wayland probes.
  "Startup.DisplayProblemIsPlainFrench"
  # Windows pairs a dark palette with its plain style only (in dark mode the
  # toolkit drops the native style): the native style has no palette of its
  # own but the application's, which the case makes dark.
  "AboutBox.DarkPaletteKeepsEveryTextOverTheMarble"
  # The minimal platform makes every window active as it is made (Windows
  # activates neither tool tips nor menus): a tool tip or a menu takes the
  # activation from the window under it and closes at once. The Tab path
  # case walks the finder before it is active; active, its first radio
  # button has the focus and with it its group's one Tab stop.
  "SaveFiles.ToolTipShowsOverThePlotAndLeavesTheChartsImageAlone"
  "FindResistorTest.TheToolTipShowsAfterADoubleClickWhoseReleaseIsLost"
  "WindowExport.EditionMenuCopiesTheChartAsBitmapAndAsSvg" "FindResistorTest.EveryFieldHasAnAccessKey")
# Linux only: without a display the window cannot open (Windows always has
# its desktop).
set(DORVANE_WINDOWS_LEAVE_OUT_dorvane_app_tests "CommandLine.ToolkitOptionsOpenTheWindowAndLeaveExportAlone")
