# Header-only libraries from Debian's packages (CLI11, nlohmann/json, stb_image, toml++), made
# visible to every build, the Windows cross builds included.
#
# The cross compilers must not search the host's /usr/include (its C library headers would
# shadow mingw-w64's), so each library's folder is linked into a folder of its own in the
# build tree and only that folder is put on the include path.

set(THIRD_PARTY_INCLUDE_DIR "${CMAKE_BINARY_DIR}/third-party-include")
foreach(library CLI nlohmann stb toml++)
    set(source "/usr/include/${library}")
    if(NOT IS_DIRECTORY "${source}")
        message(FATAL_ERROR "${source} is missing: scripts/install-dependencies installs libcli11-dev, nlohmann-json3-dev, libstb-dev and libtomlplusplus-dev")
    endif()
    file(MAKE_DIRECTORY "${THIRD_PARTY_INCLUDE_DIR}")
    file(CREATE_LINK "${source}" "${THIRD_PARTY_INCLUDE_DIR}/${library}" SYMBOLIC)
endforeach()

add_library(third_party_headers INTERFACE)
target_include_directories(third_party_headers SYSTEM INTERFACE "${THIRD_PARTY_INCLUDE_DIR}")
