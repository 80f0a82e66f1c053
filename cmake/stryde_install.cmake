# Installation with the conventional layout (cmake --install, any prefix) and
# the Debian package made from the same rules (cpack -G DEB):
#   bin/stryde, bin/stryde-cli
#   share/stryde/                   the defaults a user's data folder is filled from
#   share/applications/<id>.desktop, share/metainfo/<id>.metainfo.xml
#   share/icons/hicolor/{scalable,48x48,128x128,256x256}/apps/<id>.{svg,png}
#   share/man/man1/stryde.1.gz, stryde-cli.1.gz (help2man, from --help of the built programs)
#   share/doc/stryde/copyright, changelog.gz
#   lib/udev/rules.d/60-korvex-stryde.rules
# The install does not build first: build the programs (and stryde_install_files) before.
include(GNUInstallDirs)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The one application id, as the program defines it.
file(STRINGS ${CMAKE_SOURCE_DIR}/app/app_id.h _id_line REGEX "^#define STRYDE_APP_ID ")
string(REGEX REPLACE "^#define STRYDE_APP_ID \"([^\"]+)\".*" "\\1" STRYDE_APP_ID "${_id_line}")

target_compile_definitions(stryde PRIVATE STRYDE_VERSION="${PROJECT_VERSION}")
target_compile_definitions(stryde-cli PRIVATE STRYDE_VERSION="${PROJECT_VERSION}")
# The programs find the installed defaults relative to their own folder.
file(RELATIVE_PATH _defaults_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/stryde)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/store/data_location.cpp TARGET_DIRECTORY stryde_store
  APPEND PROPERTY COMPILE_DEFINITIONS STRYDE_DEFAULTS_FROM_BIN="${_defaults_from_bin}")

install(TARGETS stryde stryde-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/modules/ DESTINATION ${CMAKE_INSTALL_DATADIR}/stryde
  PATTERN qml EXCLUDE
  PATTERN svg EXCLUDE
  PATTERN DevInfo.ini EXCLUDE
  PATTERN .gitkeep EXCLUDE
  PATTERN "*.qrc" EXCLUDE
  PATTERN "*.md" EXCLUDE)

# The rest is the Linux desktop's: a Windows copy keeps modules/ beside the program.
if(WIN32)
  return()
endif()

# The USB identities of the device catalogue: the AppStream modalias entries
# and the hidraw nodes the package's maintainer script triggers.
set(STRYDE_MODALIASES "")
set(_hid_patterns "")
file(STRINGS ${CMAKE_SOURCE_DIR}/modules/setting/apConfig.bin _catalogue)
set(_vid "")
foreach(_line IN LISTS _catalogue)
  if(_line MATCHES "^vid=([0-9a-fA-F]+)")
    string(TOUPPER "${CMAKE_MATCH_1}" _vid)
  elseif(_line MATCHES "^pid=([0-9a-fA-F]+)" AND _vid)
    string(TOUPPER "${CMAKE_MATCH_1}" _pid)
    string(APPEND STRYDE_MODALIASES "    <modalias>usb:v${_vid}p${_pid}d*</modalias>\n")
    list(APPEND _hid_patterns "*:0000${_vid}:0000${_pid}")
    set(_vid "")
  endif()
endforeach()
list(JOIN _hid_patterns "|" STRYDE_HID_ID_PATTERNS)

set(_pkg ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/stryde.desktop.in ${_pkg}/${STRYDE_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/stryde.metainfo.xml.in ${_pkg}/${STRYDE_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/postinst.in ${_pkg}/postinst @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/postrm ${_pkg}/postrm COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${_pkg}/changelog @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/stryde.h2m.in ${_pkg}/stryde.h2m @ONLY)

# Generated files: the icon in the sizes menus ask for, the changelog as
# Debian keeps it, the man pages.
set(_generated "")
set(_logo ${CMAKE_SOURCE_DIR}/modules/img/svg/window/logo.svg)
find_program(RSVG_CONVERT rsvg-convert)
find_program(GZIP gzip)
foreach(_size 48 128 256)
  set(_png ${_pkg}/icons/${_size}/${STRYDE_APP_ID}.png)
  add_custom_command(OUTPUT ${_png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg}/icons/${_size}
    COMMAND ${RSVG_CONVERT} --width=${_size} --height=${_size} --format=png --output=${_png} ${_logo}
    DEPENDS ${_logo} VERBATIM)
  list(APPEND _generated ${_png})
endforeach()
add_custom_command(OUTPUT ${_pkg}/changelog.gz
  COMMAND ${GZIP} -9nkf ${_pkg}/changelog
  DEPENDS ${_pkg}/changelog VERBATIM)
list(APPEND _generated ${_pkg}/changelog.gz)

# The man pages come from --help and --version of the built programs, so they
# say what the programs say. Sanitizer and fuzzer builds make none.
find_program(HELP2MAN help2man)
set(STRYDE_MAN_PAGES OFF)
if(HELP2MAN AND STRYDE_SANITIZE STREQUAL "" AND NOT STRYDE_FUZZ AND NOT WIN32)
  set(STRYDE_MAN_PAGES ON)
endif()
if(STRYDE_MAN_PAGES)
  set(_names_stryde "configuration utility for the KORVEX STRYDE gaming mouse")
  set(_names_stryde-cli "the KORVEX STRYDE mouse from the command line")
  foreach(_prog stryde stryde-cli)
    set(_include ${_pkg}/${_prog}.h2m)
    if(_prog STREQUAL "stryde-cli")
      set(_include ${CMAKE_SOURCE_DIR}/packaging/stryde-cli.h2m)
    endif()
    add_custom_command(OUTPUT ${_pkg}/man/${_prog}.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg}/man
      # Run by name, so the pages show "stryde", not the build folder.
      COMMAND ${CMAKE_COMMAND} -E env "PATH=$<TARGET_FILE_DIR:${_prog}>:$ENV{PATH}" --unset=DISPLAY --unset=WAYLAND_DISPLAY
              ${HELP2MAN} --no-info --section=1 --include=${_include} --output=${_pkg}/man/${_prog}.1 ${_prog}
      COMMAND ${GZIP} -9nf ${_pkg}/man/${_prog}.1
      DEPENDS ${_prog} ${_include} VERBATIM)
    list(APPEND _generated ${_pkg}/man/${_prog}.1.gz)
  endforeach()
elseif(NOT HELP2MAN)
  message(WARNING "help2man not found: no man pages (Debian package help2man)")
endif()
add_custom_target(stryde_install_files ALL DEPENDS ${_generated})

# --- the desktop's files -------------------------------------------------------------
install(FILES ${_pkg}/${STRYDE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_pkg}/${STRYDE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_logo} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${STRYDE_APP_ID}.svg)
foreach(_size 48 128 256)
  install(FILES ${_pkg}/icons/${_size}/${STRYDE_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()
if(STRYDE_MAN_PAGES)
  install(FILES ${_pkg}/man/stryde.1.gz ${_pkg}/man/stryde-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${_pkg}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/udev/60-korvex-stryde.rules DESTINATION lib/udev/rules.d)

# --- the Debian package ------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stryde)
set(CPACK_PACKAGE_VENDOR KORVEX)
set(CPACK_PACKAGE_CONTACT "KORVEX <support@korvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for the KORVEX STRYDE gaming mouse")
# The synopsis is the summary; cpack indents the lines of the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Changes what the KORVEX STRYDE mouse keeps in its own memory: button map,
DPI stages, lift-off distance, lighting, macros, recoil presets and, on mice
with the 560 controller, the on-board profiles. Includes stryde-cli for
scripts and the udev rule that lets the logged-in user open the mouse.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.korvex.example/stryde")
# The libraries come from dpkg-shlibdeps; what Qt loads at run time (the
# QML modules of the pages) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qml6-module-qtquick, qml6-module-qtquick-window, qml6-module-qtqml-workerscript")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-core, fonts-noto-cjk, libglib2.0-bin")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${_pkg}/postinst ${_pkg}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# The installed program, the package and its files, checked from a temporary
# prefix and an unpacked package (tests/install/install_test.sh).
if(NOT WIN32 AND STRYDE_SANITIZE STREQUAL "" AND NOT STRYDE_FUZZ)
  add_test(NAME install/package
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(install/package PROPERTIES TIMEOUT 300
    ENVIRONMENT "QT_QUICK_BACKEND=software;STRYDE_APP_ID=${STRYDE_APP_ID};STRYDE_VERSION=${PROJECT_VERSION}")
endif()
