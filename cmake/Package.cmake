# Lumidot's Debian package: `make package` or `cmake --build <dir> --target
# package`. What it holds is what cmake/Install.cmake installs.

set(CPACK_PACKAGE_NAME lumidot)
set(CPACK_PACKAGE_VENDOR "none")
# Debian's synopsis is a phrase without an article; the project's own
# description, "A Velmora Simulator", stays the desktop entry's comment.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of the Velmora handheld game console")
# Lines of a Debian description stay within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "\
Lumidot simulates the Velmora, a small handheld game console with a
16 x 16 liquid-crystal dot display and a twelve-key keypad, together with
its built-in cartridge game, Zentrax: bars cross the display and a gun at
its foot shoots them down, played with the pointer or the keyboard.")
set(CPACK_PACKAGE_CONTACT "${LUMIDOT_MAINTAINER}")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_STRIP_FILES ON)
# The libraries the executable links come from dpkg-shlibdeps; Qt's X11
# platform plugin is loaded at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-dejavu-extra")
include(CPack)
