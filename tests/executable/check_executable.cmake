# Checks a built launcher from outside: GUI subsystem, KERNEL32 as its only import, one icon
# group SETUPRTICON with one 32x32 16-colour image of identifier 1, the manifest, the version
# resource and no other resource, and
# the 1024-byte launch directory field holding NAME_HEX (the configured name) then zeros.
#
#   cmake -DEXE=... -DOBJDUMP=... -DNAME_HEX=... -DWORK=... -P check_executable.cmake

set(failures "")
macro(expect_equal actual expected message)
    if(NOT "${actual}" STREQUAL "${expected}")
        list(APPEND failures "${message}")
    endif()
endmacro()

execute_process(COMMAND "${OBJDUMP}" -p -h "${EXE}" OUTPUT_VARIABLE pe RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${EXE}")
endif()

string(REGEX MATCH "Subsystem[\t ]+([0-9a-f]+)" _ "${pe}")
expect_equal("${CMAKE_MATCH_1}" "00000002" "subsystem is ${CMAKE_MATCH_1}, not 2 (Windows GUI)")

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${pe}")
expect_equal("${imports}" "DLL Name: KERNEL32.dll" "imports are [${imports}], expected KERNEL32.dll alone")

# The field: a section of its own, named as ordinary programs name read-only data, exactly
# 1024 bytes; and only the section names compilers give.
string(REGEX MATCH "\\.rdata +([0-9a-f]+) +[0-9a-f]+ +[0-9a-f]+ +([0-9a-f]+)" section "${pe}")
if(NOT section)
    list(APPEND failures "no .rdata section")
else()
    expect_equal("${CMAKE_MATCH_1}" "00000400" "the .rdata section is 0x${CMAKE_MATCH_1} bytes, not 1024")
    math(EXPR offset "0x${CMAKE_MATCH_2}")
    file(READ "${EXE}" field OFFSET ${offset} LIMIT 1024 HEX)
    string(LENGTH "${NAME_HEX}" name_digits)
    math(EXPR zero_digits "2048 - ${name_digits}")
    string(REPEAT "0" ${zero_digits} zeros)
    string(TOLOWER "${NAME_HEX}${zeros}" expected_field)
    expect_equal("${field}" "${expected_field}" "the launch directory field is not the name followed by zeros")
endif()

string(REGEX MATCHALL "\n +[0-9]+ (\\.[a-z]+) " names "${pe}")
foreach(name IN LISTS names)
    string(REGEX REPLACE "^\n +[0-9]+ |[ ]+$" "" name "${name}")
    if(NOT name MATCHES "^\\.(text|rdata|data|idata|bss|pdata|xdata|rsrc|reloc)$")
        list(APPEND failures "a section named ${name}, which no compiler gives")
    endif()
endforeach()

# Resources: exactly the icon group, its one image and the manifest.
execute_process(COMMAND wrestool -l "${EXE}" OUTPUT_VARIABLE resources RESULT_VARIABLE status)
string(REGEX REPLACE " --language=[0-9]+ \\[[^]]*\\]" "" resources "${resources}")
string(STRIP "${resources}" resources)
string(REPLACE "\n" ";" resources "${resources}")
list(SORT resources)
expect_equal("${resources}" "--type=14 --name='SETUPRTICON';--type=16 --name=1;--type=24 --name=1;--type=3 --name=1"
       "resources are [${resources}], expected the icon group SETUPRTICON, icon 1, version 1 and manifest 1 alone")

# The image: a 40-byte bitmap header of 32 x (2 x 32) pixels, one plane, 4 bits per pixel.
file(MAKE_DIRECTORY "${WORK}")
set(image "${WORK}/icon-1.bin")
execute_process(COMMAND wrestool -x --raw --type=3 --name=1 -o "${image}" "${EXE}" RESULT_VARIABLE status)
if(status EQUAL 0 AND EXISTS "${image}")
    file(READ "${image}" header LIMIT 16 HEX)
    expect_equal("${header}" "28000000200000004000000001000400"
           "icon 1 is not a 32x32 16-colour image (header ${header})")
else()
    list(APPEND failures "icon 1 cannot be extracted")
endif()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${EXE}:\n  ${text}")
endif()
message(STATUS "${EXE}: GUI subsystem, imports KERNEL32 alone, icon group SETUPRTICON, launch directory field as configured")
