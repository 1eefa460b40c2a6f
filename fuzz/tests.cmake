# The fuzz targets, built beside the tests in a tree of their own (with clang and libFuzzer when clang is
# there) and run briefly over their seeds as tests, so that a regression shows with the other tests.
# ./fuzz.sh runs them for longer.
include(ExternalProject)
include(${CMAKE_CURRENT_LIST_DIR}/sources.cmake)

find_program(POSTAVO_FUZZ_CXX NAMES clang++ clang++-14)
if(POSTAVO_FUZZ_CXX)
    set(fuzz_compiler ${POSTAVO_FUZZ_CXX})
else()
    message(STATUS "No clang++: the fuzz targets are built with ${CMAKE_CXX_COMPILER} and run their seeds once")
    set(fuzz_compiler ${CMAKE_CXX_COMPILER})
endif()

set(POSTAVO_FUZZ_BIN_DIR ${CMAKE_BINARY_DIR}/fuzz)
# Built at every build; its own build files know what changed.
ExternalProject_Add(postavo_fuzz
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${POSTAVO_FUZZ_BIN_DIR}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${fuzz_compiler}
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND "")

# One second each, which libFuzzer's clock of whole seconds makes about two: ten in all.
foreach(name ${POSTAVO_FUZZ_TARGETS})
    add_test(NAME fuzz_${name}
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/run-target.sh ${POSTAVO_FUZZ_BIN_DIR}/fuzz_${name} 1
                ${CMAKE_CURRENT_LIST_DIR}/corpus/${name} ${POSTAVO_FUZZ_BIN_DIR}/runs/${name} fresh)
    set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 120 LABELS fuzz)
endforeach()
