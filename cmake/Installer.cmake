# The Windows installer: `cmake --build <folder> --target installer` writes
# installer/pelagor-<version>-win64-setup.exe in the build folder with makensis.
#
# The script (Installer.nsi) is the project's own rather than CPack's NSIS generator: CPack's
# template asks for administrator rights and installs the zip's layout, and this installer is a
# per-user one with every file in one folder, the Start-menu entry pointing at a known path.
find_program(PELAGOR_MAKENSIS makensis)
if(NOT PELAGOR_MAKENSIS)
    return()
endif()

set(installer_dir ${PROJECT_BINARY_DIR}/installer)
set(stage ${installer_dir}/files)
set(PELAGOR_INSTALLER ${installer_dir}/pelagor-${PROJECT_VERSION}-win64-setup.exe)

# The window opens from the Start menu. Without it, the entry opens the read-me, which explains
# the command line.
set(programs pelagor-cli)
set(link README-windows.txt)
if(TARGET pelagor)
    list(PREPEND programs pelagor)
    set(link $<TARGET_FILE_NAME:pelagor>)
endif()
list(GET programs 0 icon)

# The programs go in stripped: the static runtime with symbols is several times their size.
set(stage_commands
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/cli/README-windows.txt ${stage})
set(names README-windows.txt)
foreach(program IN LISTS programs)
    set(name $<TARGET_FILE_NAME:${program}>)
    set(file $<TARGET_FILE:${program}>)
    list(APPEND names ${name})
    if(CMAKE_STRIP)
        list(APPEND stage_commands COMMAND ${CMAKE_STRIP} -o ${stage}/${name} ${file})
    else()
        list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy ${file} ${stage})
    endif()
endforeach()

# What the installer puts in place and the uninstaller removes, one list for both.
# The programs must not be running while they are replaced or removed.
set(install_lines "")
set(delete_lines "")
set(wait_lines "")
foreach(name IN LISTS names)
    string(APPEND install_lines "    File \"${stage}/${name}\"\n")
    string(APPEND delete_lines "    Delete \"$INSTDIR\\${name}\"\n")
endforeach()
foreach(program IN LISTS programs)
    string(APPEND wait_lines
        "    Push \"$<TARGET_FILE_NAME:${program}>\"\n    Call \${UN}WaitUntilClosed\n")
endforeach()
file(GENERATE OUTPUT ${installer_dir}/files.nsh CONTENT
"!macro PELAGOR_INSTALL_FILES\n${install_lines}!macroend\n\
!macro PELAGOR_DELETE_FILES\n${delete_lines}!macroend\n\
!macro PELAGOR_WAIT_FOR_PROGRAMS UN\n${wait_lines}!macroend\n")

add_custom_command(
    OUTPUT ${PELAGOR_INSTALLER}
    ${stage_commands}
    COMMAND ${PELAGOR_MAKENSIS} -V2 -WX
            -DVERSION=${PROJECT_VERSION} -DOUTFILE=${PELAGOR_INSTALLER}
            -DFILES=${installer_dir}/files.nsh -DLINK=${link} -DICON=$<TARGET_FILE_NAME:${icon}>
            ${CMAKE_CURRENT_LIST_DIR}/Installer.nsi
    DEPENDS ${programs} ${CMAKE_CURRENT_LIST_DIR}/Installer.nsi ${installer_dir}/files.nsh
            ${PROJECT_SOURCE_DIR}/cli/README-windows.txt
    COMMENT "Writing the installer pelagor-${PROJECT_VERSION}-win64-setup.exe"
    VERBATIM)
add_custom_target(installer DEPENDS ${PELAGOR_INSTALLER})

# Installs silently under the emulator, runs the installed program, uninstalls. The test expects
# the window whenever its target exists, whatever this file found when it was read.
if(PELAGOR_BUILD_TESTS AND CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME windows_installer
        COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR} -DSETUP=${PELAGOR_INSTALLER}
                -DWINE=${CMAKE_CROSSCOMPILING_EMULATOR} -DVERSION=${PROJECT_VERSION}
                -DGUI=$<TARGET_EXISTS:pelagor>
                -P ${PROJECT_SOURCE_DIR}/tests/cli/RunInstaller.cmake)
endif()
