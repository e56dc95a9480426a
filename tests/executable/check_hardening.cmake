# Checks a shipped Windows executable against the rules applied to careful release binaries:
# ASLR that works (DYNAMIC_BASE and relocations; HIGH_ENTROPY_VA on x64), NX_COMPAT, no section
# both writable and executable, no shared writable section. A launcher must also be
# TERMINAL_SERVER_AWARE, NO_SEH on x86, and keep its launch directory field and its resources
# read-only.
#
#   cmake -DEXE=... -DOBJDUMP=... -DBITS=32|64 -DLAUNCHER=ON|OFF -P check_hardening.cmake

execute_process(COMMAND "${OBJDUMP}" -p -h "${EXE}" OUTPUT_VARIABLE pe RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${EXE}")
endif()

set(failures "")
string(REGEX MATCH "DllCharacteristics[\t ]+([0-9a-f]+)" _ "${pe}")
math(EXPR flags "0x${CMAKE_MATCH_1}" OUTPUT_FORMAT DECIMAL)
set(required DYNAMIC_BASE 0x40 NX_COMPAT 0x100)
if(BITS EQUAL 64)
    list(APPEND required HIGH_ENTROPY_VA 0x20)
endif()
if(LAUNCHER)
    list(APPEND required TERMINAL_SERVER_AWARE 0x8000)
    if(BITS EQUAL 32)
        list(APPEND required NO_SEH 0x400)
    endif()
endif()
while(required)
    list(POP_FRONT required name bit)
    math(EXPR set "${flags} & ${bit}")
    if(set EQUAL 0)
        list(APPEND failures "${name} is not set")
    endif()
endwhile()

# ASLR needs the relocations: without them the loader cannot move the image.
string(REGEX MATCH "Entry 5 [0-9a-f]+ ([0-9a-f]+) Base Relocation Directory" _ "${pe}")
set(relocation_size "0x0${CMAKE_MATCH_1}")
math(EXPR relocation_size "${relocation_size}")
if(relocation_size EQUAL 0)
    list(APPEND failures "no base relocations, so DYNAMIC_BASE cannot take effect")
endif()

# Sections: objdump marks a section READONLY unless it is writable, CODE if executable.
string(REGEX MATCHALL " +[0-9]+ ([^ \n]+) +[0-9a-f]+ +[0-9a-f]+ +[0-9a-f]+ +[0-9a-f]+ +2\\*\\*[0-9]+\n +([^\n]*)"
       sections "${pe}")
set(seen_launch OFF)
foreach(section IN LISTS sections)
    string(REGEX MATCH " +[0-9]+ ([^ \n]+) .*\n +([^\n]*)" _ "${section}")
    set(name "${CMAKE_MATCH_1}")
    set(section_flags "${CMAKE_MATCH_2}")
    if(NOT section_flags MATCHES "READONLY" AND section_flags MATCHES "ALLOC")
        if(section_flags MATCHES "CODE")
            list(APPEND failures "section ${name} is both writable and executable")
        endif()
        if(section_flags MATCHES "SHARED")
            list(APPEND failures "section ${name} is shared and writable")
        endif()
        if(name STREQUAL ".rdata")
            list(APPEND failures "the launch directory field's section is writable")
        endif()
    endif()
    if(name STREQUAL ".rdata")
        set(seen_launch ON)
    endif()
endforeach()
if(LAUNCHER AND NOT seen_launch)
    list(APPEND failures "no .rdata section (the launch directory field)")
endif()

# Resources read-only, as compilers' toolchains make them.
if(LAUNCHER)
    foreach(section IN LISTS sections)
        if(section MATCHES " \\.rsrc " AND NOT section MATCHES "READONLY")
            list(APPEND failures "the resource section is writable")
        endif()
    endforeach()
endif()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${EXE}:\n  ${text}")
endif()
message(STATUS "${EXE}: hardened (ASLR with relocations, NX, no writable code)")
