# Builds the Windows installer and plays a user's whole round under the emulator: the silent
# install, the programs, the Start-menu entry and the uninstaller's registration in place, the
# installed program running, and the silent uninstall, started as the registration says, taking
# all of it away again. WINEPREFIX names the prefix (the test preset sets it).
#   cmake -DBUILD=... -DSETUP=... -DWINE=... -DVERSION=... -DGUI=0|1 -P RunInstaller.cmake
cmake_policy(VERSION 3.25)
set(key [[HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelagor]])

# Runs a program under the emulator; `status` and `out` hold what it gave. The output goes
# through files: services that the emulator starts on the first run inherit it and stay, and a
# pipe would never end.
function(wine)
    execute_process(COMMAND ${WINE} ${ARGN} RESULT_VARIABLE status
        OUTPUT_FILE "${BUILD}/installer/wine.out" ERROR_FILE "${BUILD}/installer/wine.err")
    file(READ "${BUILD}/installer/wine.out" out)
    file(READ "${BUILD}/installer/wine.err" err)
    set(status "${status}" PARENT_SCOPE)
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target installer
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS "${SETUP}")
    message(FATAL_ERROR "the installer was not built (${status}): ${out}${err}")
endif()

# What an earlier, failed run left would pass for the install's work: it goes first. The first
# program run also makes the prefix when there is none.
wine(reg delete "${key}" /f)
file(GLOB profiles LIST_DIRECTORIES true "$ENV{WINEPREFIX}/drive_c/users/*/AppData")
list(FILTER profiles EXCLUDE REGEX "/Public/")
list(LENGTH profiles count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "no single user profile in the prefix: ${profiles}")
endif()
set(folder "${profiles}/Local/Programs/Pelagor")
set(link "${profiles}/Roaming/Microsoft/Windows/Start Menu/Programs/Pelagor.lnk")
file(REMOVE_RECURSE "${folder}" "${link}")

wine("${SETUP}" /S)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the silent install failed (${status}): ${out}${err}")
endif()

set(expected README-windows.txt Uninstall.exe pelagor-cli.exe)
set(opens README-windows.txt)
if(GUI)
    list(APPEND expected pelagor.exe)
    set(opens pelagor.exe)
endif()
list(SORT expected)
file(GLOB installed RELATIVE "${folder}" "${folder}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed: '${installed}', expected: '${expected}'")
endif()
file(STRINGS "${link}" targets REGEX "Pelagor.${opens}")
if(NOT targets)
    message(FATAL_ERROR "no Start-menu entry opening ${opens} at ${link}")
endif()

wine(reg query "${key}")
foreach(entry IN ITEMS "DisplayName REG_SZ Pelagor" "DisplayVersion REG_SZ ${VERSION}"
        "Publisher REG_SZ Orvane" "NoModify REG_DWORD 0x1" "NoRepair REG_DWORD 0x1"
        "InstallLocation REG_SZ [A-Z]:[^\r\n]+Pelagor"
        "UninstallString REG_SZ \"([^\"]+Pelagor.Uninstall.exe)\"")
    string(REPLACE " " "[ \t]+" pattern "${entry}")
    if(NOT out MATCHES "\n[ \t]+${pattern}\r?\n")
        message(FATAL_ERROR "the uninstaller's registration lacks ${entry}: ${out}")
    endif()
endforeach()
# The uninstaller is started as the registration says: the last entry matched its path.
set(uninstaller "${CMAKE_MATCH_1}")

wine("${folder}/pelagor-cli.exe" --version)
string(FIND "${out}" "pelagor-cli ${VERSION}" found)
if(NOT status EQUAL 0 OR found EQUAL -1)
    message(FATAL_ERROR "the installed pelagor-cli --version failed (${status}): ${out}${err}")
endif()

# The uninstaller copies itself away and returns at once, so that it can remove its own file:
# the folder, which it removes last, goes a moment later.
wine("${uninstaller}" /S)
foreach(attempt RANGE 60)
    if(NOT EXISTS "${folder}")
        break()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.5)
endforeach()
file(GLOB left "${folder}" "${folder}/*" "${link}")
if(left)
    message(FATAL_ERROR "the silent uninstall left ${left}")
endif()
wine(reg query "${key}")
if(status EQUAL 0)
    message(FATAL_ERROR "the silent uninstall left its registration: ${out}")
endif()
