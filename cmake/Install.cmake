# Installing the game: `cmake --install BUILD --prefix PREFIX` lays it out where a Linux desktop
# looks, as Debian's games are laid out. For the prefix /usr:
#   /usr/games/skarvold                                 the program
#   /usr/share/games/skarvold/Data/                     the data set; its fonts link to fonts-open-sans
#   /usr/share/applications/<app id>.desktop            the menu entry
#   /usr/share/icons/hicolor/<size>/apps/skarvold.png   the icon, and scalable/apps/skarvold.svg
#   /usr/share/man/man6/skarvold.6.gz                   the manual page
#   /usr/share/metainfo/<app id>.metainfo.xml           what software centres show
#   /usr/share/doc/skarvold/                            copyright and changelog
# A user prefix (~/.local) gets the same tree: the program finds the data set by the way from
# its own folder, and the menu entry names the program by its full path.

set(SKARVOLD_APP_ID org.skarvold.skarvold)
set(SKARVOLD_INSTALL_BINDIR games CACHE STRING "Folder of the program, below the install prefix")
set(SKARVOLD_INSTALL_DATADIR share/games/skarvold
  CACHE STRING "Folder that gets the data set (its Data/), below the install prefix")
foreach(dir IN ITEMS SKARVOLD_INSTALL_BINDIR SKARVOLD_INSTALL_DATADIR)
  if(IS_ABSOLUTE "${${dir}}")
    message(FATAL_ERROR "${dir} must lie below the install prefix, not at ${${dir}}")
  endif()
endforeach()

# The program looks for the installed data set this way from its own folder.
file(RELATIVE_PATH data_from_program
  /prefix/${SKARVOLD_INSTALL_BINDIR} /prefix/${SKARVOLD_INSTALL_DATADIR})
target_compile_definitions(skarvold PRIVATE SKARVOLD_DATA_FROM_PROGRAM="${data_from_program}")

install(TARGETS skarvold RUNTIME DESTINATION ${SKARVOLD_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/Data DESTINATION ${SKARVOLD_INSTALL_DATADIR}
  FILES_MATCHING PATTERN "*.png" PATTERN "*.wav")
install(DIRECTORY ${SKARVOLD_ICON_DIR}/hicolor DESTINATION share/icons)

# Files that carry the version, made at build time.
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(made ${CMAKE_BINARY_DIR}/packaging)
set(VERSION ${PROJECT_VERSION})
set(MAINTAINER "${SKARVOLD_MAINTAINER}")
configure_file(${packaging}/skarvold.metainfo.xml.in ${made}/${SKARVOLD_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/skarvold.6 ${made}/skarvold.6 @ONLY)
configure_file(${packaging}/changelog ${made}/changelog @ONLY)
# Manual pages and changelogs go compressed, without a time stamp so that builds agree.
set(compressed)
foreach(file IN ITEMS skarvold.6 changelog)
  add_custom_command(
    OUTPUT ${made}/${file}.gz
    COMMAND gzip -9 -n -f -k ${made}/${file}
    DEPENDS ${made}/${file}
    VERBATIM)
  list(APPEND compressed ${made}/${file}.gz)
endforeach()
add_custom_target(skarvold_packaging ALL DEPENDS ${compressed})

install(FILES ${made}/skarvold.6.gz DESTINATION share/man/man6)
install(FILES ${made}/${SKARVOLD_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${packaging}/copyright ${made}/changelog.gz DESTINATION share/doc/skarvold)

# What depends on the prefix, which only the install itself knows (`--prefix` may change it):
# the menu entry's full path of the program and the links to the fonts.
install(CODE "
  set(SKARVOLD_APP_ID \"${SKARVOLD_APP_ID}\")
  set(SKARVOLD_INSTALL_BINDIR \"${SKARVOLD_INSTALL_BINDIR}\")
  set(SKARVOLD_INSTALL_DATADIR \"${SKARVOLD_INSTALL_DATADIR}\")
  set(SKARVOLD_DESKTOP_ENTRY \"${packaging}/skarvold.desktop.in\")
  set(SKARVOLD_FONT_DIR \"${SKARVOLD_FONT_DIR}\")
  set(SKARVOLD_FONTS \"${SKARVOLD_FONTS}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallForPrefix.cmake)

# `cmake --build BUILD --target uninstall` removes what the last install of this build put in
# place, as listed in its install_manifest.txt.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
    -DDATADIR=${SKARVOLD_INSTALL_DATADIR} -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake
  VERBATIM)
