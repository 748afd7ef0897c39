# Run by the install, after the other files: writes what depends on the install prefix. Every
# file goes into the install manifest, so that uninstalling removes it too.

set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# The menu entry starts the program by its full path: a program in ~/.local/games is found
# whatever the desktop's PATH.
set(program "${CMAKE_INSTALL_PREFIX}/${SKARVOLD_INSTALL_BINDIR}/skarvold")
set(entry "${root}/share/applications/${SKARVOLD_APP_ID}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${SKARVOLD_DESKTOP_ENTRY}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

# The fonts link to the ones fonts-open-sans installs instead of being copies. A link within
# the same top folder (/usr) is relative, as Debian has it; any other is absolute.
set(fonts "${CMAKE_INSTALL_PREFIX}/${SKARVOLD_INSTALL_DATADIR}/Data/Fonts")
file(MAKE_DIRECTORY "$ENV{DESTDIR}${fonts}")
string(REGEX MATCH "^/[^/]*" prefix_top "${CMAKE_INSTALL_PREFIX}")
string(REGEX MATCH "^/[^/]*" font_top "${SKARVOLD_FONT_DIR}")
foreach(font IN LISTS SKARVOLD_FONTS)
  set(target "${SKARVOLD_FONT_DIR}/${font}")
  if(prefix_top STREQUAL font_top)
    file(RELATIVE_PATH target "${fonts}" "${target}")
  endif()
  message(STATUS "Installing: $ENV{DESTDIR}${fonts}/${font} -> ${target}")
  file(CREATE_LINK "${target}" "$ENV{DESTDIR}${fonts}/${font}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "$ENV{DESTDIR}${fonts}/${font}")
endforeach()
