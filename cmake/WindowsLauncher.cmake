# Builds launcher executables: GUI subsystem, no C runtime, KERNEL32 as the only import; and
# gives our other Windows programs their manifest.
enable_language(RC)

# add_program_manifest(TARGET): the application manifest of a program of ours that shows no
# window of its own (runs as its user, declares the Windows versions it was made for).
function(add_program_manifest target)
    set(rc "${PROJECT_SOURCE_DIR}/resources/program.rc")
    target_sources(${target} PRIVATE "${rc}")
    set_source_files_properties("${rc}" TARGET_DIRECTORY ${target}
        PROPERTIES OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/resources/program.manifest")
endfunction()

# The project's version, for the launcher's version resource.
file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/launcher_version/launcher_version.h" CONTENT
"// Made by the build from the project's version.
#define LAUNCHER_VERSION_NUMBERS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0
#define LAUNCHER_VERSION_TEXT \"${PROJECT_VERSION}\"
")

# Code generation for an executable with no C runtime: nothing that would call into one
# (memcpy/memset for loops, stack probes and protectors, unwind tables, exceptions). Optimised
# for size across files at link time, so the same flags go to the link: data aligned only as the
# ABI asks, and without code hoisting, which makes this code larger, the 64-bit launcher's code
# and read-only data fit the three file blocks of its budget.
set(LAUNCHER_FREESTANDING_FLAGS
    -Oz -flto -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables
    -fno-stack-protector -fno-tree-loop-distribute-patterns -fno-ident -malign-data=abi -fno-code-hoisting)

# add_freestanding_executable(TARGET ENTRY SOURCES...): a GUI-subsystem program with no C
# runtime that starts at the extern "C" function ENTRY and imports from KERNEL32 alone.
function(add_freestanding_executable target entry)
    add_executable(${target} WIN32 ${ARGN})
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:${LAUNCHER_WARNINGS} ${LAUNCHER_FREESTANDING_FLAGS}>)
    target_link_options(${target} PRIVATE ${LAUNCHER_FREESTANDING_FLAGS}
        -nostdlib -nostartfiles -s -Wl,--gc-sections -Wl,-e,${LAUNCHER_SYMBOL_PREFIX}${entry})
    target_link_libraries(${target} PRIVATE kernel32)
endfunction()

# add_launcher_executable(TARGET NAME [START_STEP SOURCE]): the launcher as TARGET.exe with NAME
# as its launch directory, left in the current build folder. START_STEP replaces the shipped
# start step (launcher/start_program_win32.cpp), for launchers built only for the tests.
function(add_launcher_executable target name)
    cmake_parse_arguments(PARSE_ARGV 2 launcher "" "START_STEP" "")
    if(NOT launcher_START_STEP)
        set(launcher_START_STEP ${PROJECT_SOURCE_DIR}/launcher/start_program_win32.cpp)
    endif()
    set(field "${CMAKE_CURRENT_BINARY_DIR}/${target}_launch_directory.cpp")
    launch_directory_source("${field}" "${name}")
    add_freestanding_executable(${target} LauncherStart
        ${NAMING_SOURCES} ${LAUNCHER_SOURCES} "${field}"
        ${PROJECT_SOURCE_DIR}/naming/code_page_query_win32.cpp
        ${PROJECT_SOURCE_DIR}/launcher/platform_win32.cpp
        ${launcher_START_STEP}
        ${PROJECT_SOURCE_DIR}/launcher/startup_win32.cpp
        ${PROJECT_SOURCE_DIR}/resources/launcher.rc)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/launcher ${CMAKE_BINARY_DIR}/launcher_version)
    # The field is rewritten in built launchers, so the code must read it at run time: it is
    # compiled apart, where optimisation across files can never see its content and fold it.
    set_source_files_properties("${field}" TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS -fno-lto)
    # Code and read-only data in one section, laid out by our own linker script, whose map
    # tells the step after the link where the exception table lies.
    target_link_options(${target} PRIVATE -Wl,-T,${PROJECT_SOURCE_DIR}/cmake/launcher.ld
                        "-Wl,-Map=$<TARGET_FILE:${target}>.map")
    # On x64 the exception table that every x64 program carries: unwind information for each
    # function (code generation happens at the link, so the flag goes to both).
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fasynchronous-unwind-tables>)
        target_link_options(${target} PRIVATE -fasynchronous-unwind-tables)
    endif()
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/launcher.ld)
    set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/launcher.rc TARGET_DIRECTORY ${target}
        PROPERTIES OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/resources/launcher.manifest;${PROJECT_SOURCE_DIR}/resources/launcher.ico;${CMAKE_BINARY_DIR}/launcher_version/launcher_version.h")
    # As Windows toolchains mark their programs: aware of terminal servers, and on x86 free of
    # structured exception handlers (the launcher has none).
    target_link_options(${target} PRIVATE -Wl,--tsaware $<$<EQUAL:${CMAKE_SIZEOF_VOID_P},4>:-Wl,--no-seh>)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
    # The profile of an ordinary program: the release's date as link timestamp, resources
    # read-only, and on x64 the exception directory naming the exception table.
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND python3 "${PROJECT_SOURCE_DIR}/cmake/launcher_profile.py" "$<TARGET_FILE:${target}>"
                "${LAUNCHER_RELEASE_DATE}" "$<TARGET_FILE:${target}>.map"
        VERBATIM)
endfunction()
