# Builds the Windows zip with CPack, checks what it holds, and runs the unpacked program (under
# the emulator) on a sample: the zip is all a user gets.
#   cmake -DCPACK=... -DBUILD=... -DEMULATOR=... -DOBJDUMP=... -DSAMPLE=... -DWORK=... -P ...
cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/unpacked")
execute_process(COMMAND "${CPACK}" -G ZIP -B "${WORK}" --config "${BUILD}/CPackConfig.cmake"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB zips "${WORK}/*.zip")
list(LENGTH zips count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack failed (${status}): ${out}${err}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf "${zips}" OUTPUT_VARIABLE listing)
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$|^$")
list(TRANSFORM entries REPLACE "^[^/]+/" "")
list(SORT entries)
if(NOT entries STREQUAL "README-windows.txt;pelagor-cli.exe;pelagor.exe")
    message(FATAL_ERROR "the zip holds: ${entries}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${zips}" WORKING_DIRECTORY "${WORK}/unpacked")
file(GLOB_RECURSE programs "${WORK}/unpacked/*/pelagor-cli.exe")

# The programs must need no DLL beside them: only the system's own.
file(GLOB_RECURSE window "${WORK}/unpacked/*/pelagor.exe")
if(OBJDUMP)
    foreach(program IN LISTS programs window)
        execute_process(COMMAND "${OBJDUMP}" -p "${program}" OUTPUT_VARIABLE headers)
        string(REGEX MATCHALL "DLL Name: [^\n]+" dlls "${headers}")
        foreach(dll IN LISTS dlls)
            string(TOLOWER "${dll}" dll)
            if(NOT dll MATCHES "dll name: (kernel32|msvcrt|shell32|user32|gdi32|comdlg32|advapi32|api-ms-win-[a-z0-9-]+)\\.dll")
                message(FATAL_ERROR "${program} needs ${dll}")
            endif()
        endforeach()
    endforeach()
endif()

# pelagor-cli.exe's manifest: long paths, UTF-8 as the ANSI code page, the window's systems.
file(STRINGS "${programs}" cli_manifest REGEX "<(longPathAware|activeCodePage|supportedOS) ")
file(STRINGS "${window}" window_systems REGEX "<supportedOS ")
set(cli_systems "${cli_manifest}")
list(FILTER cli_systems INCLUDE REGEX "<supportedOS ")
if(NOT cli_manifest MATCHES ">true</longPathAware>" OR NOT cli_manifest MATCHES ">UTF-8</activeCodePage>"
   OR NOT window_systems OR NOT cli_systems STREQUAL window_systems)
    message(FATAL_ERROR "pelagor-cli.exe's manifest: ${cli_manifest}; the window's systems: ${window_systems}")
endif()

execute_process(COMMAND ${EMULATOR} "${programs}" dump "${SAMPLE}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "\"reader\": \"wtr\"" OR NOT out MATCHES "\"waypointCount\": [1-9]")
    message(FATAL_ERROR "the unpacked program failed (${status}): ${err}")
endif()
