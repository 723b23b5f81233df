# Compiler settings shared by every target of the project.
add_library(kavro_options INTERFACE)
target_compile_options(kavro_options INTERFACE -Wall -Wextra)
target_include_directories(kavro_options INTERFACE ${PROJECT_SOURCE_DIR})
if(KAVRO_WERROR)
    target_compile_options(kavro_options INTERFACE -Werror)
endif()

if(KAVRO_SANITIZE)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -O1)
    target_compile_options(kavro_options INTERFACE ${_san})
    target_link_options(kavro_options INTERFACE ${_san})
    # Plain tracked heaps so the sanitizers see every block.
    target_compile_definitions(kavro_options INTERFACE KAVRO_PLAIN_HEAP=1)
endif()

if(KAVRO_FUZZ)
    # Coverage counters in every library, so the fuzzers are guided by the code under test and
    # not only by their own small target files.
    target_compile_options(kavro_options INTERFACE -fsanitize=fuzzer-no-link)
    target_link_options(kavro_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# kavro_library(NAME SOURCES... DEPS ...): a static library of one runtime library or stand-in.
function(kavro_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC kavro_options ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()
