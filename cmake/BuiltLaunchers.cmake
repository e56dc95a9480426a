# Both launchers, each built by a build tree of its own with its mingw-w64 toolchain, embedded
# in launcher-stamp so that `make` needs no other file, whichever system the tool is built for.
# The embedded launchers are built exactly as the Windows presets build launcher.exe, with the
# default launch directory (make stores its own).
#
# Defines BUILT_LAUNCHERS_SOURCE, a generated C++ file defining BuiltLauncher().

include(ExternalProject)
set(BUILT_LAUNCHERS_SOURCE "${CMAKE_BINARY_DIR}/built_launchers.cpp")
foreach(arch x86 x64)
    if(arch STREQUAL "x86")
        set(toolchain "${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake")
    else()
        set(toolchain "${PROJECT_SOURCE_DIR}/cmake/mingw-x86_64.cmake")
    endif()
    set(tree "${CMAKE_BINARY_DIR}/built-launchers/${arch}")
    ExternalProject_Add(built_launcher_${arch}
        SOURCE_DIR "${PROJECT_SOURCE_DIR}"
        BINARY_DIR "${tree}"
        CMAKE_CACHE_ARGS -DCMAKE_TOOLCHAIN_FILE:FILEPATH=${toolchain} -DCMAKE_BUILD_TYPE:STRING=Release
                         -DLAUNCHER_ONLY:BOOL=ON
        BUILD_COMMAND ${CMAKE_COMMAND} --build "${tree}" --target launcher
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        BUILD_BYPRODUCTS "${tree}/launcher.exe"
        EXCLUDE_FROM_ALL ON)
endforeach()

add_custom_command(OUTPUT "${BUILT_LAUNCHERS_SOURCE}"
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${BUILT_LAUNCHERS_SOURCE}"
            "-DX86=${CMAKE_BINARY_DIR}/built-launchers/x86/launcher.exe"
            "-DX64=${CMAKE_BINARY_DIR}/built-launchers/x64/launcher.exe"
            -P "${PROJECT_SOURCE_DIR}/cmake/embed_launchers.cmake"
    DEPENDS built_launcher_x86 built_launcher_x64 "${CMAKE_BINARY_DIR}/built-launchers/x86/launcher.exe"
            "${CMAKE_BINARY_DIR}/built-launchers/x64/launcher.exe"
            "${PROJECT_SOURCE_DIR}/cmake/embed_launchers.cmake"
    COMMENT "Embedding the built launchers" VERBATIM)
