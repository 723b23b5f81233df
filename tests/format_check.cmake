# Runs clang-format --dry-run --Werror (the project's .clang-format) over every tracked C++
# file; fails, naming each place, when any file would change. Run by the test
# format.tracked_cpp_files with -DCLANG_FORMAT=<program> -DSOURCE_DIR=<tree>.
if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format is not installed; scripts/deps.sh installs it")
endif()
execute_process(COMMAND git ls-files -- "*.cpp" "*.h"
                WORKING_DIRECTORY ${SOURCE_DIR}
                OUTPUT_VARIABLE listed
                RESULT_VARIABLE listing_failed
                ERROR_VARIABLE listing_error)
if(listing_failed)
    message(FATAL_ERROR "git ls-files failed in ${SOURCE_DIR}: ${listing_error}")
endif()
string(REPLACE "\n" ";" listed "${listed}")
set(files "")
foreach(file IN LISTS listed)
    if(file AND EXISTS "${SOURCE_DIR}/${file}")
        list(APPEND files "${file}")
    endif()
endforeach()
list(LENGTH files count)
if(count EQUAL 0)
    message(FATAL_ERROR "no tracked C++ files found in ${SOURCE_DIR}")
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY ${SOURCE_DIR}
                RESULT_VARIABLE unformatted
                ERROR_VARIABLE findings)
if(unformatted)
    message(FATAL_ERROR "clang-format would change these files (run clang-format -i on them):\n"
                        "${findings}")
endif()
message(STATUS "${count} tracked C++ files are formatted")
