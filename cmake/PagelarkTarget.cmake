# Settings every target of ours gets: warnings, and the sanitizers when asked for.
function(pagelark_target_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                             -Wnon-virtual-dtor -Wconversion -Wno-sign-conversion)
    if(PAGELARK_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(PAGELARK_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined
                                                 -fno-sanitize-recover=all -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# A library of ours: pagelark_library(name SOURCES ... DEPS ...)
function(pagelark_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    pagelark_target_options(${name})
endfunction()

# A GoogleTest executable registered with CTest: pagelark_test(name SOURCES ... DEPS ...)
function(pagelark_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    pagelark_target_options(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "PAGELARK_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
