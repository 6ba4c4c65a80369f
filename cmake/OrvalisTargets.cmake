# Shared settings for the project's own targets: warnings are errors in our code only.
function(orvalis_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-error=deprecated-declarations)
endfunction()

# The headers of one src/ folder, included as "<folder>/Name.h", are seen only by the
# folder's own targets and by the targets that link one of them: the build gives each folder
# an include root of its own (build/include/<folder>/<folder> links to src/<folder>), so an
# include of a folder a target does not link fails to build.
function(orvalis_folder_headers target)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(root ${PROJECT_BINARY_DIR}/include/${folder})
    if(NOT EXISTS ${root}/${folder})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# A static library of one src/ folder.
function(orvalis_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    orvalis_defaults(${name})
    orvalis_folder_headers(${name})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# A GoogleTest binary; every case becomes a ctest test. UI tests share one X display
# (make test starts Xvfb), so they take a lock and run one at a time.
function(orvalis_test name)
    cmake_parse_arguments(ARG "UI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    orvalis_defaults(${name})
    if(ARG_UI)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} orvalis_test_main_gui)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} orvalis_test_main)
    endif()
    target_compile_definitions(${name} PRIVATE
        ORVALIS_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        ORVALIS_MEDIA_DIR="${PROJECT_SOURCE_DIR}/media"
        ORVALIS_BINARY_DIR="${PROJECT_BINARY_DIR}")
    set(props "")
    if(ARG_UI)
        set(props RESOURCE_LOCK display)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ${props} TIMEOUT 120)
endfunction()
