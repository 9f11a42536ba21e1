# Fails when a source includes what its layer may not use. The layers, from the bottom: bytes and
# platform, then tracklog, then mapsource, then gpx, then app and cli side by side. A layer includes
# its own folder and the layers below it; the core (bytes, platform, tracklog, mapsource, gpx) has no
# Qt, no CLI11 and no Windows header outside platform's *Win32.cpp twins.
#
#   cmake -DSOURCE_DIR=<tree> -DSTAMP=<file> -P CheckLayers.cmake

cmake_minimum_required(VERSION 3.25)

set(allowed_bytes bytes)
set(allowed_platform platform)
set(allowed_tracklog tracklog bytes platform)
set(allowed_mapsource mapsource tracklog bytes platform)
set(allowed_gpx gpx mapsource tracklog bytes platform)
set(allowed_app app gpx mapsource tracklog bytes platform)
set(allowed_cli cli gpx mapsource tracklog bytes platform)
set(core bytes platform tracklog mapsource gpx)

set(faults "")
foreach(layer bytes platform tracklog mapsource gpx app cli)
    file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.cpp
         ${SOURCE_DIR}/${layer}/*.h)
    foreach(source IN LISTS sources)
        file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]")
        foreach(line IN LISTS includes)
            if(line MATCHES "#[ \t]*include[ \t]+\"([A-Za-z0-9_]+)/")
                if(NOT CMAKE_MATCH_1 IN_LIST allowed_${layer})
                    string(APPEND faults "\n  ${source}: ${line} (${layer} may not use ${CMAKE_MATCH_1})")
                endif()
            elseif(layer IN_LIST core AND line MATCHES "#[ \t]*include[ \t]+<(Q[A-Za-z]*|CLI/|windows\\.h)")
                set(header ${CMAKE_MATCH_1})
                if(NOT (header STREQUAL "windows.h" AND source MATCHES "^platform/.*Win32\\.cpp$"))
                    string(APPEND faults "\n  ${source}: ${line} (the core uses no toolkit)")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes across the layers:${faults}")
endif()
file(TOUCH ${STAMP})
