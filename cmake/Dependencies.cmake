# The libraries every build needs. A cross build (Windows) finds no fmt, CLI11,
# JSON or GoogleTest package for its target; it uses the host's headers of the
# header-only ones and builds GoogleTest from Debian's sources.
set(ZAVUV_HOST_INCLUDE /usr/include CACHE PATH
    "Where a cross build finds the header-only libraries (fmt, CLI11, nlohmann JSON)")
set(ZAVUV_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
    "Where a cross build finds GoogleTest's sources")

# zavuv_host_headers(TARGET HEADER_FOLDER [DEFINITION]): TARGET as an interface
# library on the host's HEADER_FOLDER alone, not the whole of the host's include
# folder, whose C library headers are not the target's.
function(zavuv_host_headers target folder)
    set(staged "${PROJECT_BINARY_DIR}/host-headers/${folder}")
    if(NOT EXISTS "${ZAVUV_HOST_INCLUDE}/${folder}")
        message(FATAL_ERROR "${target}: no ${ZAVUV_HOST_INCLUDE}/${folder}")
    endif()
    if(NOT EXISTS "${staged}")
        file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/host-headers")
        file(CREATE_LINK "${ZAVUV_HOST_INCLUDE}/${folder}" "${staged}" SYMBOLIC)
    endif()
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    target_include_directories(${target} SYSTEM INTERFACE "${PROJECT_BINARY_DIR}/host-headers")
    if(ARGC GREATER 2)
        target_compile_definitions(${target} INTERFACE ${ARGV2})
    endif()
endfunction()

if(CMAKE_CROSSCOMPILING)
    zavuv_host_headers(fmt::fmt fmt FMT_HEADER_ONLY)
    zavuv_host_headers(CLI11::CLI11 CLI)
    zavuv_host_headers(nlohmann_json::nlohmann_json nlohmann)
    if(BUILD_TESTING)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        # Defines GTest::gtest, GTest::gtest_main and GTest::gmock as the package does.
        add_subdirectory("${ZAVUV_GOOGLETEST_SOURCE}" googletest EXCLUDE_FROM_ALL SYSTEM)
    endif()
else()
    find_package(fmt REQUIRED)
    find_package(CLI11 REQUIRED)
    # zavuv-cli --json (Debian's nlohmann-json3-dev, header only).
    find_package(nlohmann_json 3 REQUIRED)
    if(BUILD_TESTING)
        find_package(GTest REQUIRED)
    endif()
endif()
