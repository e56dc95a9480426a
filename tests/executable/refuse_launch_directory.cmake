# Generates the launch directory field, into WORK, for a name the build must refuse
# (CASE: 1024, empty).
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/LaunchDirectory.cmake")
set(name "")
if(CASE STREQUAL "1024")
    string(REPEAT "a" 1024 name)
endif()
launch_directory_source("${WORK}/refused.cpp" "${name}")
