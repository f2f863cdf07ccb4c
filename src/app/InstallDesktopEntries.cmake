# Writes the menu and autostart entries when the install runs, since they
# name the programs by their installed path and the prefix is chosen only
# then (cmake --install --prefix). Set before: ZENTAVO_DESKTOP_SOURCES, the
# folder of the *.desktop.in files, and, relative to the prefix,
# ZENTAVO_BINDIR, ZENTAVO_APPLICATIONS_DIR and ZENTAVO_AUTOSTART_DIR.
set(BIN_DIR "${CMAKE_INSTALL_PREFIX}/${ZENTAVO_BINDIR}")

function(zentavo_install_entry source target)
  set(file "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${target}")
  message(STATUS "Installing: ${file}")
  configure_file("${ZENTAVO_DESKTOP_SOURCES}/${source}" "${file}" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${file}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()

zentavo_install_entry(Zentavo.desktop.in ${ZENTAVO_APPLICATIONS_DIR}/zentavo.desktop)
zentavo_install_entry(Pelvaro.desktop.in ${ZENTAVO_APPLICATIONS_DIR}/pelvaro.desktop)
zentavo_install_entry(Vorrin.desktop.in ${ZENTAVO_APPLICATIONS_DIR}/vorrin.desktop)
# Copied to ~/.config/autostart by the user who wants the scheduler at login.
zentavo_install_entry(Vorrin-autostart.desktop.in ${ZENTAVO_AUTOSTART_DIR}/vorrin.desktop)
