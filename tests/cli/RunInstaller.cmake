# Builds the Windows installer and plays a user's whole round under the emulator: the silent
# install, the programs, the Start-menu entry and the uninstaller's registration in place, the
# installed program running; while the window runs, neither a second install nor the uninstaller
# changes anything; a second installation into another folder, whose registration the first
# one's uninstaller leaves alone; and the silent uninstalls, started as the registration says,
# taking all of it away again. WINEPREFIX names the prefix (the test preset sets it).
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

# Waits until `path` is gone: an uninstaller copies itself away and returns at once, so that it
# can remove its own file, and the folder, which it removes last, goes a moment later.
function(wait_until_gone path)
    foreach(attempt RANGE 60)
        if(NOT EXISTS "${path}")
            break()
        endif()
        execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.5)
    endforeach()
endfunction()

# What an earlier, failed run left would pass for the install's work: it goes first. The first
# program run also makes the prefix when there is none.
wine(reg delete "${key}" /f)
set(second_folder "$ENV{WINEPREFIX}/drive_c/PelagorSecond")
file(REMOVE_RECURSE "${second_folder}")
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
string(REGEX MATCH "InstallLocation[ \t]+REG_SZ[ \t]+([^\r\n]+)" ignored "${out}")
set(location "${CMAKE_MATCH_1}")

wine("${folder}/pelagor-cli.exe" --version)
string(FIND "${out}" "pelagor-cli ${VERSION}" found)
if(NOT status EQUAL 0 OR found EQUAL -1)
    message(FATAL_ERROR "the installed pelagor-cli --version failed (${status}): ${out}${err}")
endif()

# While the window runs, a second install and the uninstaller change nothing and end with exit
# code 2. Nobody may write to the file of a running program: `type nul >>`, which writes nothing,
# is refused once the window has started.
if(GUI)
    set(window "${location}\\pelagor.exe")
    wine(start /unix "${folder}/pelagor.exe")
    foreach(attempt RANGE 60)
        wine(cmd /c type nul >> "${window}")
        if(NOT "${out}${err}" STREQUAL "")
            break()
        endif()
        execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.5)
    endforeach()
    # What an install would put back, and the version it would record.
    file(REMOVE "${folder}/README-windows.txt")
    wine(reg add "${key}" /v DisplayVersion /d 0.0.1 /f)
    wine("${SETUP}" /S)
    set(install_status "${status}")
    # Started in its folder (_?=), the uninstaller runs there and returns its own exit code.
    wine("${uninstaller}" /S "_?=${location}")
    set(uninstall_status "${status}")
    wine(taskkill /f /im pelagor.exe)
    wine(reg query "${key}" /v DisplayVersion)
    file(GLOB installed RELATIVE "${folder}" "${folder}/*")
    list(SORT installed)
    list(REMOVE_ITEM expected README-windows.txt)
    if(NOT install_status EQUAL 2 OR NOT uninstall_status EQUAL 2 OR NOT out MATCHES "0[.]0[.]1"
       OR NOT installed STREQUAL expected OR NOT EXISTS "${link}")
        message(FATAL_ERROR "while the window ran, the install (${install_status}) or the "
            "uninstall (${uninstall_status}) went ahead: '${installed}', ${out}")
    endif()
endif()

# A second installation into another folder takes over the registration and the Start-menu
# entry; the first one's uninstaller then removes its own files and leaves both alone.
wine("${SETUP}" /S "/D=C:\\PelagorSecond")
wine(reg query "${key}" /v UninstallString)
if(NOT status EQUAL 0 OR NOT out MATCHES "\"(C:.PelagorSecond.Uninstall.exe)\"")
    message(FATAL_ERROR "the second installation is not the registered one: ${out}${err}")
endif()
set(second_uninstaller "${CMAKE_MATCH_1}")
wine("${uninstaller}" /S)
wait_until_gone("${folder}")
wine(reg query "${key}" /v InstallLocation)
if(EXISTS "${folder}" OR NOT EXISTS "${second_folder}/pelagor-cli.exe" OR NOT EXISTS "${link}"
   OR NOT out MATCHES "C:.PelagorSecond")
    message(FATAL_ERROR "the first uninstaller took what is the second installation's: ${out}")
endif()

wine("${second_uninstaller}" /S)
wait_until_gone("${second_folder}")
file(GLOB left "${folder}" "${second_folder}" "${second_folder}/*" "${link}")
if(left)
    message(FATAL_ERROR "the silent uninstall left ${left}")
endif()
wine(reg query "${key}")
if(status EQUAL 0)
    message(FATAL_ERROR "the silent uninstall left its registration: ${out}")
endif()
