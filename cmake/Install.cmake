# Installation (`cmake --install`, and the Debian package of
# cmake/DebianPackage.cmake): the programs in bin/, the files they look for in
# share/zavuv/, the documents in share/doc/zavuv/, and the desktop integration
# in the desktop's usual share/ folders. The programs find share/
# from their own folder (../share/zavuv, ../share/doc/zavuv), so any prefix
# works; that is why the folders are fixed here instead of taken from
# GNUInstallDirs.

set(ZAVUV_PACKAGING_SOURCE "${PROJECT_SOURCE_DIR}/packaging")
set(ZAVUV_PACKAGING_BINARY "${PROJECT_BINARY_DIR}/packaging")
set(ZAVUV_SHARE_DIR share/zavuv)
set(ZAVUV_DOC_DIR share/doc/zavuv)
set(ZAVUV_MAN_DIR share/man/man1)
set(ZAVUV_ICON_DIR share/icons/hicolor)

# The project has no web address of its own yet: these placeholders (in the
# reserved .example domain) name it in the AppStream metadata and the package.
set(ZAVUV_HOMEPAGE "https://zavuv.example/" CACHE STRING "The project's web page")
set(ZAVUV_MAINTAINER "ZAVUV developers <maintainers@zavuv.example>"
    CACHE STRING "The package maintainer, as 'Name <address>'")
set(ZAVUV_APPSTREAM_ID example.zavuv.Zavuv)
# The AppStream screenshots are web addresses: the repository's docs/screenshots.
set(ZAVUV_SCREENSHOT_URL "${ZAVUV_HOMEPAGE}docs/screenshots")

# Files made at build time: compressed manual pages, the PNG icons drawn from
# the SVG, the compressed changelog.
set(zavuv_generated)

# zavuv_gzip(SOURCE OUTPUT): OUTPUT is SOURCE compressed without a time stamp.
function(zavuv_gzip source output)
    get_filename_component(uncompressed "${output}" NAME_WLE)
    get_filename_component(folder "${output}" DIRECTORY)
    add_custom_command(OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${folder}/${uncompressed}"
        COMMAND gzip -9nf "${folder}/${uncompressed}"
        DEPENDS "${source}" VERBATIM)
endfunction()

foreach(program IN ITEMS zavuv zavuv-cli zavuv-boardsim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION bin)
        set(page "${ZAVUV_PACKAGING_BINARY}/man/${program}.1.gz")
        zavuv_gzip("${ZAVUV_PACKAGING_SOURCE}/man/${program}.1" "${page}")
        list(APPEND zavuv_generated "${page}")
        install(FILES "${page}" DESTINATION ${ZAVUV_MAN_DIR})
    endif()
endforeach()

if(TARGET zavuv-cli)
    install(FILES "${ZAVUV_PACKAGING_SOURCE}/zavuv-cli.bash"
        DESTINATION share/bash-completion/completions RENAME zavuv-cli)
endif()

# The firmware folder serves the CLI and the GUI alike; its README says what
# goes there.
if(TARGET zavuv-cli OR TARGET zavuv)
    install(FILES "${ZAVUV_PACKAGING_SOURCE}/firmware/README"
        DESTINATION ${ZAVUV_SHARE_DIR}/firmware)
endif()

# The desktop program: its help page and its place on the desktop.
if(TARGET zavuv)
    install(DIRECTORY "${PROJECT_SOURCE_DIR}/help/" DESTINATION ${ZAVUV_SHARE_DIR}/help)
    install(FILES "${ZAVUV_PACKAGING_SOURCE}/zavuv.desktop" DESTINATION share/applications)
    install(FILES "${ZAVUV_PACKAGING_SOURCE}/zavuv-mime.xml"
        DESTINATION share/mime/packages RENAME zavuv.xml)
    configure_file("${ZAVUV_PACKAGING_SOURCE}/zavuv.metainfo.xml.in"
        "${ZAVUV_PACKAGING_BINARY}/${ZAVUV_APPSTREAM_ID}.metainfo.xml" @ONLY)
    install(FILES "${ZAVUV_PACKAGING_BINARY}/${ZAVUV_APPSTREAM_ID}.metainfo.xml"
        DESTINATION share/metainfo)

    set(icon "${ZAVUV_PACKAGING_SOURCE}/zavuv.svg")
    install(FILES "${icon}" DESTINATION ${ZAVUV_ICON_DIR}/scalable/apps)
    # Desktops that take no SVG get PNGs, drawn from the SVG when rsvg-convert
    # (librsvg2-bin) is there.
    find_program(ZAVUV_RSVG_CONVERT rsvg-convert)
    if(ZAVUV_RSVG_CONVERT)
        foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
            set(png "${ZAVUV_PACKAGING_BINARY}/icons/${size}x${size}/zavuv.png")
            file(MAKE_DIRECTORY "${ZAVUV_PACKAGING_BINARY}/icons/${size}x${size}")
            add_custom_command(OUTPUT "${png}"
                COMMAND ${ZAVUV_RSVG_CONVERT} -w ${size} -h ${size} -o "${png}" "${icon}"
                DEPENDS "${icon}" VERBATIM)
            list(APPEND zavuv_generated "${png}")
            install(FILES "${png}" DESTINATION ${ZAVUV_ICON_DIR}/${size}x${size}/apps)
        endforeach()
    else()
        message(STATUS "rsvg-convert not found: the PNG icons are not built, only the SVG one")
    endif()
endif()

# The documents: the README's links to docs/ and the screenshots work in the
# installed copy too.
install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
    DESTINATION ${ZAVUV_DOC_DIR})
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/" DESTINATION ${ZAVUV_DOC_DIR}/docs
    FILES_MATCHING PATTERN "*.md" PATTERN "*.png")

include("${CMAKE_CURRENT_LIST_DIR}/DebianPackage.cmake")

add_custom_target(zavuv_installed_files ALL DEPENDS ${zavuv_generated})
