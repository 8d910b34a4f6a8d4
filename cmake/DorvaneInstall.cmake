# Installing and packaging: the program, its desktop entry, icons and
# AppStream metadata where desktop environments look for them, and a .deb.
include(GNUInstallDirs)

set(DORVANE_APP_ID "org.dorvane.Dorvane")
set(DORVANE_RELEASE_DATE "2026-12-07")
set(_res "${PROJECT_SOURCE_DIR}/resources")

if(TARGET dorvane)
  install(TARGETS dorvane RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  # As Debian's packaging tools do: no compiler notes in the installed file.
  find_program(DORVANE_OBJCOPY objcopy)
  if(DORVANE_OBJCOPY)
    install(CODE "execute_process(COMMAND \"${DORVANE_OBJCOPY}\" --remove-section=.comment
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/dorvane\" COMMAND_ERROR_IS_FATAL ANY)")
  endif()
endif()

install(FILES "${_res}/${DORVANE_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")

configure_file("${_res}/${DORVANE_APP_ID}.metainfo.xml.in"
               "${CMAKE_BINARY_DIR}/generated/${DORVANE_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/generated/${DORVANE_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

foreach(_size 32 48 64 128 256)
  install(FILES "${_res}/icons/dorvane-${_size}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps"
          RENAME "${DORVANE_APP_ID}.png")
endforeach()
install(FILES "${_res}/icons/dorvane.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
        RENAME "${DORVANE_APP_ID}.svg")

# --- manual page -------------------------------------------------------------
# Compressed, without a time stamp in the gzip header, as Debian ships them.
set(_man "${CMAKE_BINARY_DIR}/generated/dorvane.1.gz")
add_custom_command(OUTPUT "${_man}"
                   COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" gzip "${_res}/dorvane.1" "${_man}"
                   DEPENDS "${_res}/dorvane.1" VERBATIM)
add_custom_target(dorvane_manual_page ALL DEPENDS "${_man}")
install(FILES "${_man}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

# --- .deb -------------------------------------------------------------------
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "dorvane")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Dorvane")
set(CPACK_PACKAGE_CONTACT "Dorvane <dorvane@dorvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Courbe de variation d'un potentiomètre chargé par une résistance")
set(CPACK_PACKAGE_DESCRIPTION
    "Montre comment la courbe d'un potentiomètre linéaire change quand une\nrésistance est placée sur une partie de sa piste.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "dorvane")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://dorvane.org/")
# The Qt libraries come from the shared-library scan (the X11 platform plugin
# comes with libqt6gui6); the faces that answer for "Arial" are not linked, so
# they are named here, with the toolkit's French texts. Wayland desktops want
# the toolkit's Wayland plugin, which Debian ships on its own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)

# --- Debian's documentation files: copyright and changelog --------------------
# The copyright in the machine-readable format; the changelog in Debian's
# format, compressed without a time stamp so that builds are reproducible.
set(DORVANE_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 00:00:00 +0000")  # DORVANE_RELEASE_DATE
set(_doc "${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME}")
configure_file("${_res}/changelog.in" "${CMAKE_BINARY_DIR}/generated/changelog" @ONLY)
execute_process(COMMAND gzip -9 -n -c "${CMAKE_BINARY_DIR}/generated/changelog"
                OUTPUT_FILE "${CMAKE_BINARY_DIR}/generated/changelog.gz" COMMAND_ERROR_IS_FATAL ANY)
install(FILES "${_res}/copyright" "${CMAKE_BINARY_DIR}/generated/changelog.gz" DESTINATION "${_doc}")
# Lintian reads French words as English typos.
install(FILES "${_res}/lintian-overrides" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME dorvane)

# --- checks -----------------------------------------------------------------
if(DORVANE_BUILD_TESTS)
  find_program(DORVANE_DESKTOP_VALIDATE desktop-file-validate)
  find_program(DORVANE_APPSTREAMCLI appstreamcli)
  set(_check "${PROJECT_SOURCE_DIR}/tests/install/check")
  add_test(NAME install.desktop_file
           COMMAND "${_check}" desktop "${_res}/${DORVANE_APP_ID}.desktop")
  add_test(NAME install.appstream
           COMMAND "${_check}" appstream "${CMAKE_BINARY_DIR}/generated/${DORVANE_APP_ID}.metainfo.xml")
  set_tests_properties(install.desktop_file install.appstream PROPERTIES SKIP_RETURN_CODE 77)
  # The package is checked as released: from a release tree (the dev tree's
  # GCC one), never from a debug or sanitizer build, which Debian's checker
  # rightly finds unhardened.
  if(DORVANE_GCC_RELEASE OR CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    add_test(NAME install.deb
             COMMAND "${_check}" deb "${DORVANE_PACKAGE_TREE}" "${DORVANE_APP_ID}")
    # Debian's package checker finds no error in the .deb.
    add_test(NAME install.lintian COMMAND "${_check}" lintian "${DORVANE_PACKAGE_TREE}")
    set_tests_properties(install.deb install.lintian
                         PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RESOURCE_LOCK cpack)
  endif()
endif()
