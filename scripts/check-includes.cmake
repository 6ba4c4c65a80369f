# Checks the direction of every #include in src/ (run by ctest as include_directions):
#   cmake -DSRC=<src dir> -DTARGETS=<file made by the build> -DWIDGETS=<QtWidgets header dir>
#         -P scripts/check-includes.cmake
# TARGETS sets LOGIC_SOURCES (the plain C++ libraries' .cpp files) and PLAYER_WIDGET_SOURCES
# (the player window's widget files), both as absolute paths.
#
# The rules, from the ground up:
#   who                                  may not include
#   src/base (the ground)                anything of the other folders of src/
#   src/ports (the player's shared words) anything but base/, engine/ and ports/
#   any file outside src/app             app/... (the top: the shell, the assembly, main)
#   a logic library (with its headers)   a Qt Widgets header, <mpv/...>
#   any file outside src/engine          <mpv/...>
#   captions playlist controlpanel       anything of player/ (its shared words are in ports/;
#   controls extras settings             the player window least of all)
#   any file                             app/Assembly.h (but Assembly.cpp and main.cpp), main
cmake_minimum_required(VERSION 3.25)

set(feature_folders captions playlist controlpanel controls extras settings)
file(GLOB src_folders RELATIVE ${SRC} ${SRC}/*)
include(${TARGETS})

file(GLOB widget_headers RELATIVE ${WIDGETS} ${WIDGETS}/Q*)
list(FILTER widget_headers EXCLUDE REGEX "\\.h$")
list(APPEND widget_headers QtWidgets)

set(player_widget_headers player/PlayerWindow.h)
foreach(source ${PLAYER_WIDGET_SOURCES})
    get_filename_component(base ${source} NAME_WE)
    if(EXISTS ${SRC}/player/${base}.h)
        list(APPEND player_widget_headers player/${base}.h)
    endif()
endforeach()

# The includes of one file: "quoted" paths as they stand, <angled> ones with their brackets.
function(read_includes file out)
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    set(found "")
    foreach(line ${lines})
        if(line MATCHES "include[ \t]*\"([^\"]+)\"")
            list(APPEND found "${CMAKE_MATCH_1}")
        elseif(line MATCHES "include[ \t]*<([^>]+)>")
            list(APPEND found "<${CMAKE_MATCH_1}>")
        endif()
    endforeach()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(faults "")
file(GLOB_RECURSE all_files RELATIVE ${SRC} ${SRC}/*.cpp ${SRC}/*.h)
foreach(rel ${all_files})
    string(REGEX MATCH "^[^/]+" folder ${rel})
    read_includes(${SRC}/${rel} includes)
    foreach(inc ${includes})
        string(REGEX MATCH "^[^/<]+/" inc_folder "${inc}")
        string(REGEX REPLACE "/$" "" inc_folder "${inc_folder}")
        if(folder STREQUAL "base" AND inc_folder IN_LIST src_folders AND NOT inc_folder STREQUAL "base")
            list(APPEND faults "${rel}: ${inc} (the ground includes nothing above it)")
        endif()
        if(folder STREQUAL "ports" AND inc_folder IN_LIST src_folders AND
           NOT inc_folder MATCHES "^(base|engine|ports)$")
            list(APPEND faults "${rel}: ${inc} (the player's shared words stand below it)")
        endif()
        if(inc_folder STREQUAL "app" AND NOT folder STREQUAL "app")
            list(APPEND faults "${rel}: ${inc} (the top of the program)")
        endif()
        if(inc MATCHES "^<mpv/" AND NOT folder STREQUAL "engine")
            list(APPEND faults "${rel}: ${inc} outside src/engine")
        endif()
        if(inc MATCHES "(^|/)main(\\.cpp)?$" OR
           (inc STREQUAL "app/Assembly.h" AND NOT rel MATCHES "^app/(Assembly|main)\\.cpp$"))
            list(APPEND faults "${rel}: ${inc} (the top of the program)")
        endif()
        if(folder IN_LIST feature_folders AND inc IN_LIST player_widget_headers)
            list(APPEND faults "${rel}: ${inc} (the player window, from a feature folder)")
        elseif(folder IN_LIST feature_folders AND inc_folder STREQUAL "player")
            list(APPEND faults "${rel}: ${inc} (the player, from a feature folder: use ports/)")
        endif()
    endforeach()
endforeach()

# A logic library's files and every project header they reach.
set(pending "")
foreach(source ${LOGIC_SOURCES})
    file(RELATIVE_PATH rel ${SRC} ${source})
    if(NOT rel MATCHES "^\\.\\.")
        list(APPEND pending ${rel})
    endif()
endforeach()
set(seen "")
while(pending)
    list(POP_FRONT pending rel)
    if(rel IN_LIST seen)
        continue()
    endif()
    list(APPEND seen ${rel})
    read_includes(${SRC}/${rel} includes)
    foreach(inc ${includes})
        if(inc MATCHES "^<(.+)>$")
            set(name ${CMAKE_MATCH_1})
            string(REGEX REPLACE "^QtWidgets/" "" bare ${name})
            if(bare IN_LIST widget_headers OR name MATCHES "^mpv/")
                list(APPEND faults "${rel}: ${inc} in a logic library")
            endif()
        elseif(EXISTS ${SRC}/${inc})
            list(APPEND pending ${inc})
        endif()
    endforeach()
endwhile()

list(LENGTH seen checked)
if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Includes against the direction of the code:\n  ${text}")
endif()
message(STATUS "include directions hold (${checked} files of logic libraries followed)")
