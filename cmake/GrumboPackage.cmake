# The Debian package (`cpack -G DEB`, run by scripts/package.sh): what `cmake --install` lays out
# under /usr, with the dependencies read from the executable's libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME grumbos-megastream)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR LanternFox)
set(CPACK_PACKAGE_CONTACT LanternFox)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "2-D platformer shooter: ten worlds, ten bosses, a fart-powered double jump")
# One paragraph, wrapped as a control file's description is.
set(CPACK_PACKAGE_DESCRIPTION [[
An unofficial fan adventure about the streamer Grumbo. Cross ten worlds
from NEON WOODLAND to SUBSCRIBER SUMMIT with a double jump, a dash and ten
weapons, beat each world's three-phase boss and collect subscriber tokens
all the way to ONE BILLION.]])
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${GRUMBO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The font is linked from the system, not carried.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-anonymous-pro)
set(CPACK_STRIP_FILES ON)
# Installed with the package's own prefix, so the desktop entry names /usr/games.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
