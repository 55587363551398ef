# The Debian package CPack makes of the install rules: `make package` writes
# build/package/dorvane_<version>_<arch>.deb.

set(DORVANE_MAINTAINER "Dorvane maintainers <maintainers@users.noreply.c-seed-f661df50.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set up library lending terminals over a serial line")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Dorvane prepares a library lending terminal over a serial line: it shows a year
as twelve month calendars with the Korean public holidays marked, solar and
lunar, and sends the year's holidays to the terminal, sets its clock, its
holiday weekdays and its loan periods, or reads the holidays it holds back.
.
The package holds the setup dialog (dorvane), the same commands without a
window for scripts and headless machines (dorvane-cli), and a simulated
terminal on a pseudo-terminal for demonstrations and tests (dorvane-sim).")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DORVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dorvane_<version>_<arch>.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# dpkg-shlibdeps finds the libraries (Qt 6 among them); the Hangul faces the dialog maps the
# Windows faces to, and Qt's own Korean texts (the buttons of a question, the file dialogs), are
# data, which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-baekmuk, fonts-nanum, fonts-nanum-coding, qt6-translations-l10n")
# Qt's Wayland platform, for a session without XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${DORVANE_DEB_CONFFILES})

set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
