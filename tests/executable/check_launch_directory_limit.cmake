# Checks that the build refuses launch directory names the field cannot hold, and accepts
# the longest that fits.
#
#   cmake -DWORK=folder -P check_launch_directory_limit.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/LaunchDirectory.cmake")
set(PROJECT_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/../..")

string(REPEAT "a" 1023 longest)
launch_directory_source("${WORK}/longest.cpp" "${longest}")
file(READ "${WORK}/longest.cpp" source)
string(REPEAT "\\x61" 1023 escaped)
string(FIND "${source}" "\"${escaped}\"" found)
if(found EQUAL -1)
    message(FATAL_ERROR "a 1023-byte name was not written whole")
endif()

# Each refused name is tried in a CMake of its own, since a refusal ends the run.
foreach(case "1024" "empty")
    execute_process(COMMAND "${CMAKE_COMMAND}" -DCASE=${case} -DWORK=${WORK} -P "${CMAKE_CURRENT_LIST_DIR}/refuse_launch_directory.cmake"
                    RESULT_VARIABLE status ERROR_VARIABLE output)
    if(status EQUAL 0 OR NOT output MATCHES "LAUNCH_DIRECTORY is")
        message(FATAL_ERROR "a ${case} name was not refused with a clear message:\n${output}")
    endif()
    message(STATUS "${case}: ${output}")
endforeach()
