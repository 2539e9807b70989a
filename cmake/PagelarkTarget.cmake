# Settings every target of ours gets: warnings, and the sanitizers when asked for.
function(pagelark_target_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                             -Wnon-virtual-dtor -Wconversion -Wno-sign-conversion)
    if(WIN32)
        # The W functions by default; localtime_r and gmtime_r as on POSIX systems.
        target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                     _WIN32_WINNT=0x0A00 _POSIX_THREAD_SAFE_FUNCTIONS)
    endif()
    if(PAGELARK_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(PAGELARK_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined
                                                 -fno-sanitize-recover=all -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# What every program of ours gets besides: on Windows, a manifest that allows paths past 260
# characters.
function(pagelark_executable_options target)
    pagelark_target_options(${target})
    if(WIN32)
        target_sources(${target} PRIVATE ${PROJECT_BINARY_DIR}/long_paths.rc)
    endif()
endfunction()

# The folders a source folder may include (cmake/layers.txt): itself and every lower layer.
function(pagelark_visible_folders folder out)
    file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/layers.txt lines REGEX "^[a-z]")
    set(visible)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "#.*" "" line "${line}")
        string(REGEX MATCHALL "[a-z_]+" layer "${line}")
        if(folder IN_LIST layer)
            set(${out} ${visible} ${folder} PARENT_SCOPE)
            return()
        endif()
        list(APPEND visible ${layer})
    endforeach()
    message(FATAL_ERROR "src/${folder} is missing from cmake/layers.txt")
endfunction()

# Code in src/<folder> sees only the folders its layer may include: an include root of links
# to them, so an include against the layering fails to compile.
function(pagelark_layer_includes target folder)
    pagelark_visible_folders(${folder} visible)
    set(root ${PROJECT_BINARY_DIR}/layers/${folder})
    foreach(name IN LISTS visible)
        if(NOT EXISTS ${root}/${name})
            file(MAKE_DIRECTORY ${root})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${name} ${root}/${name} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} PRIVATE ${root})
endfunction()

# A library of ours in src/<folder>: pagelark_library(name SOURCES ... DEPS ...). Include
# roots are not handed on to its users: each states its own.
function(pagelark_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    pagelark_layer_includes(${name} ${folder})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    pagelark_target_options(${name})
endfunction()

# A GoogleTest executable registered with CTest: pagelark_test(name SOURCES ... DEPS ...)
function(pagelark_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    # Tests may reach into any folder.
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    pagelark_executable_options(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "PAGELARK_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
