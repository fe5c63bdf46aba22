# zr_add_library(NAME SOURCES... LIBS...): one static library per subsystem.
function(zr_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# zr_add_test(NAME SOURCES... LIBS... [ENV var=value...]): a Qt Test program run
# by CTest under the offscreen platform, with its own data root so tests never
# touch the real folders.
function(zr_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QUICK_BACKEND=software;ZR_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZR_BINARY_DIR=${CMAKE_BINARY_DIR};${ARG_ENV}")
endfunction()

# zr_add_subsystem(NAME LIBS...): the subsystem library made of every header
# and source in the calling folder (main.cpp excluded), so adding a class pair
# needs no edit here.
function(zr_add_subsystem name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    if(NOT sources)
        # Not written yet: an empty target keeps the arrows between subsystems.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_LIBS})
        return()
    endif()
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    zr_add_library(${name} SOURCES ${sources} ${headers} LIBS ${ARG_LIBS})
endfunction()
