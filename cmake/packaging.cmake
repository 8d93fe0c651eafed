# The Debian package: `cpack -G DEB` in the build folder (scripts/package).

set(CPACK_PACKAGE_NAME vantor)
set(CPACK_PACKAGE_VENDOR "The Vantor developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "game server browser for the local network")
set(CPACK_PACKAGE_CONTACT ${VANTOR_MAINTAINER})
# The package holds programs, not their debugging data (nor the compiler's
# .comment, which the install takes away when it strips).
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# It queries servers over the network and holds no game (Debian's games
# section is for packages with programs in /usr/games).
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VANTOR_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VANTOR_HOME_PAGE})
# CPack puts the summary before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vantor finds running game servers of the Half-Life 1 and Source engine
families on a LAN or a provider's network, without a master server. It
queries favourite servers, a broadcast through every network card and
configured address ranges, lists every server that answers with its
players and rules, and starts the game client connected to the chosen one.
.
The package also holds vantor-query, the same queries on the command line.")
# The libraries come from the programs themselves. Qt loads its platform
# plugins (X11, Wayland) and the SVG plugins that draw every icon at run
# time, so no program names those.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
# Vantor's own translations are built in; Qt's, for its standard buttons and
# dialogs, come from this package where it is installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
