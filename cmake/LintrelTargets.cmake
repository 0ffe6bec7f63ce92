# How Lintrel's own targets are built: warnings on every one, errors where LINTREL_WERROR is set.

# lintrel_warnings(TARGET): the warnings every target of ours is built with.
function(lintrel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow)
    if(LINTREL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# lintrel_add_library(NAME SOURCES... [LIBS...]): a static library whose include directory is its
# own folder, linking only the libraries named (what its files include).
function(lintrel_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
    target_compile_features(${name} PUBLIC cxx_std_20)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    lintrel_warnings(${name})
endfunction()
