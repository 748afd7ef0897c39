# `cpack` in a build folder makes the Debian package skarvold_<version>_<arch>.deb from the
# install rules, for the prefix /usr (scripts/package.sh builds it as Debian's own packages are
# built, with their hardening flags).

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skarvold)
set(CPACK_PACKAGE_VENDOR "The Skarvold developers")
set(CPACK_PACKAGE_CONTACT "${SKARVOLD_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small space shooter with inertia")
# The long description, in lines short enough for package managers; an empty line starts a
# paragraph.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Skarvold is a small single-player space shooter. Your ship glides with"
  "inertia near the bottom of the window and fires upwards, while three kinds"
  "of enemy arrive ever faster and fire back: single shots, fans of three and"
  "shots aimed at you."
  ""
  "Shield pickups hover in the lower middle of the field; each one collected"
  "absorbs one hit. Destroyed ships burst into tumbling debris and shake the"
  "screen, and the best scores of a session enter the hiscore table. Every"
  "picture and sound of the game is made by the project's own generator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Install into the staging folder through DESTDIR, so that the install sees its real prefix
# (/usr): the menu entry and the font links are written from it.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The runtime libraries come from what the program links, as Debian's own tools find them:
# libsdl2-2.0-0, libsdl2-image-2.0-0, libsdl2-ttf-2.0-0, libsdl2-mixer-2.0-0, the C and C++
# runtimes. The fonts are links into fonts-open-sans.
find_program(SKARVOLD_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(SKARVOLD_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-open-sans")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, libsdl2-2.0-0, \
libsdl2-image-2.0-0, libsdl2-ttf-2.0-0, libsdl2-mixer-2.0-0, fonts-open-sans")
endif()

include(CPack)
