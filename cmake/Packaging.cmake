# A Debian package of the installed files: scripts/package runs cpack with it.
set(CPACK_PACKAGE_NAME vexasynch)
set(CPACK_PACKAGE_VENDOR "VEXASynch")
set(CPACK_PACKAGE_CONTACT "VEXASynch developers <vexasynch@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "VEXASynch lists the logs saved on a docked VEXA engine-data logger, describes
and plots them, saves them as comma-delimited text, fixed-width text or EFILive
binary logs, and deletes them from the handheld, keeping every log it has seen
in a logbook on the desktop. VEXA Logbook keeps a window open on every log ever
pulled, with no handheld docked: sort, filter, note, plot, save, put back and
purge. vexa-export, vexa-logbook and vexa-handheld do the same from the command
line; vexa-export also writes the MSL and MLG logs of MegaLogViewer.")
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps works the run-time dependencies (Qt 6, SQLite, the C++
# library) out of what the programs link against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# No Recommends: the SVG image plugin comes with libqt6svg6, which the
# programs link, and the platform plugins with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
