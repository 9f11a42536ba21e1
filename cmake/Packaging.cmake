# Packages come from the release presets (`./dev.sh package`) and hold stripped programs.
set(CPACK_STRIP_FILES ON)

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/Installer.cmake)
    # The Windows zip, made by `cpack` in the build folder: pelagor-<version>-win64.zip with
    # pelagor.exe, pelagor-cli.exe and the read-me.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_NAME pelagor)
    set(CPACK_PACKAGE_FILE_NAME pelagor-${PROJECT_VERSION}-win64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
    include(CPack)
    return()
endif()

# The Debian package: pelagor and pelagor-cli, the desktop entry and the icons, as installed.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "pelagor")
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Orvane Tessolt <pelagor@orvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Converts the track logs of Garmin GPS receivers (WTR and EVO files) into MapSource files, "
    "using an existing MapSource file as the reference for the header, the record templates and "
    "the map segments.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
# The libraries come from the programs themselves; the dialog also needs Qt's window-system
# plugins and a Traditional Chinese Ming face for its captions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-arphic-uming")
include(CPack)
