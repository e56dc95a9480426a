# Generates the source of the launch directory field from a configured name.

# launch_directory_source(OUTPUT NAME): writes OUTPUT, a C++ source that defines the
# 1024-byte field holding NAME. Every byte is written as an escape, so any name (quotes,
# backslashes, bytes above 0x7F) arrives in the executable exactly as given.
function(launch_directory_source output name)
    string(LENGTH "${name}" length)
    if(length EQUAL 0)
        message(FATAL_ERROR "LAUNCH_DIRECTORY is empty: the launcher needs a folder name to change into.")
    endif()
    if(length GREATER_EQUAL 1024)
        message(FATAL_ERROR
            "LAUNCH_DIRECTORY is ${length} bytes long; the launch directory field holds at most 1023 bytes and its terminating NUL.")
    endif()
    string(HEX "${name}" hex)
    string(REGEX REPLACE "(..)" "\\\\x\\1" LAUNCH_DIRECTORY_ESCAPED "${hex}")
    configure_file("${PROJECT_SOURCE_DIR}/launcher/launch_directory.cpp.in" "${output}" @ONLY)
endfunction()
