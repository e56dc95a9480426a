# The Windows test programs of the end-to-end tests that the tool's unit tests read too: a probe
# that records how it was started, and the probe with an icon of three sizes and version strings.
# Included by the end-to-end tests, and by a tree of its own for the unit tests.

# Ordinary Windows programs: linked statically so they need no runtime DLLs beside them, with
# our programs' manifest unless they bring one (NO_MANIFEST).
function(add_test_program target)
    cmake_parse_arguments(PARSE_ARGV 1 program "NO_MANIFEST" "" "")
    add_executable(${target} ${program_UNPARSED_ARGUMENTS})
    target_compile_options(${target} PRIVATE ${LAUNCHER_WARNINGS})
    target_link_options(${target} PRIVATE -static -s)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")
    if(NOT program_NO_MANIFEST)
        add_program_manifest(${target})
    endif()
endfunction()

add_test_program(probe WIN32 "${CMAKE_CURRENT_LIST_DIR}/probe.cpp")

# The probe again, with an icon of three sizes, each in its own colour (16x16 red, 32x32 green,
# 256x256 blue PNG): for the tests that take a program's icon and version strings.
set(multi_size_ico "${CMAKE_CURRENT_BINARY_DIR}/multi-size.ico")
add_custom_command(OUTPUT "${multi_size_ico}"
    COMMAND python3 "${CMAKE_CURRENT_LIST_DIR}/make_test_icon.py" "${multi_size_ico}"
    DEPENDS "${CMAKE_CURRENT_LIST_DIR}/make_test_icon.py" VERBATIM)
# It also carries a version resource, whose strings make copies into its launcher.
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/icon_program.rc" "1 ICON \"${multi_size_ico}\"
1 VERSIONINFO
FILEVERSION 7,1,0,0
BEGIN
    BLOCK \"StringFileInfo\"
    BEGIN
        BLOCK \"040904B0\"
        BEGIN
            VALUE \"CompanyName\", \"Borvi Software\"
            VALUE \"FileDescription\", \"Borvi Setup: installs Borvi on this computer\"
            VALUE \"FileVersion\", \"7.1\"
            VALUE \"ProductName\", \"Borvi\"
            VALUE \"ProductVersion\", \"7.1 (cd1)\"
            VALUE \"LegalCopyright\", \"\\251 2026 Borvi\"
            VALUE \"InternalName\", \"setup\"
        END
    END
    BLOCK \"VarFileInfo\"
    BEGIN
        VALUE \"Translation\", 0x409, 1200
    END
END
")
set_source_files_properties("${CMAKE_CURRENT_BINARY_DIR}/icon_program.rc" PROPERTIES OBJECT_DEPENDS "${multi_size_ico}")
add_test_program(icon_program WIN32 "${CMAKE_CURRENT_LIST_DIR}/probe.cpp" "${CMAKE_CURRENT_BINARY_DIR}/icon_program.rc")

# The probe again with long version strings and no icon: a launcher made for it gets a version
# resource larger than the room left in its resource section, so that section grows past its
# file block and its memory page, and the relocations after it move in both. Each string stays
# below the 255 characters make copies of one.
string(REPEAT "Borvi Setup installs Borvi, its tools and its manuals here. " 3 long_text)
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/long_version_program.rc" "1 VERSIONINFO
FILEVERSION 7,2,0,0
BEGIN
    BLOCK \"StringFileInfo\"
    BEGIN
        BLOCK \"040904B0\"
        BEGIN
            VALUE \"CompanyName\", \"Borvi Software: ${long_text}\"
            VALUE \"FileDescription\", \"Borvi Setup: ${long_text}\"
            VALUE \"FileVersion\", \"7.2\"
            VALUE \"ProductName\", \"Borvi: ${long_text}\"
            VALUE \"ProductVersion\", \"7.2 (cd1 of 2): ${long_text}\"
            VALUE \"LegalCopyright\", \"\\251 2026 Borvi Software: ${long_text}\"
        END
    END
    BLOCK \"VarFileInfo\"
    BEGIN
        VALUE \"Translation\", 0x409, 1200
    END
END
")
add_test_program(long_version_program WIN32 "${CMAKE_CURRENT_LIST_DIR}/probe.cpp"
                 "${CMAKE_CURRENT_BINARY_DIR}/long_version_program.rc")
