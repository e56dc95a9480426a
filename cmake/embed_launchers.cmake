# Writes OUTPUT, a C++ file that holds the launchers X86 and X64 byte for byte.
#
#   cmake -DOUTPUT=built_launchers.cpp -DX86=x86/launcher.exe -DX64=x64/launcher.exe -P embed_launchers.cmake

set(text "// Generated at build time: the built launchers, byte for byte.\n#include \"medium/built_launchers.h\"\n\nnamespace {\n")
foreach(name X86 X64)
    file(READ "${${name}}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
    string(APPEND text "const unsigned char ${name}[] = {\n${bytes}\n};\n")
endforeach()
string(APPEND text "}  // namespace\n\nBytes BuiltLauncher(LauncherArchitecture architecture)\n{\n"
    "    if (architecture == LauncherArchitecture::X64)\n        return Bytes(X64, X64 + sizeof X64);\n"
    "    return Bytes(X86, X86 + sizeof X86);\n}\n")
file(WRITE "${OUTPUT}.new" "${text}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
