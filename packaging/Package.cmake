# The Debian package, built by CPack from the install rules:
#   cpack --config <build>/CPackConfig.cmake -G DEB
# It installs under /usr what `cmake --install` installs, with the Debian copyright file and
# changelog in place of the bare licence, and a manual page.

set(package_name zelvo)
set(maintainer "Zelvo developers <zelvo@users.noreply.invalid>")
set(debian_docdir "${CMAKE_INSTALL_DATAROOTDIR}/doc/${package_name}")

# Compressed without a time stamp, so that the same sources give the same package.
function(zelvo_gzip source output)
    add_custom_command(OUTPUT "${output}"
        COMMAND gzip -9 -n -c "${source}" > "${output}"
        DEPENDS "${source}"
        COMMENT "Compressing ${source}"
        VERBATIM)
endfunction()

set(man_page "${CMAKE_CURRENT_BINARY_DIR}/zelvo.1.gz")
set(changelog "${CMAKE_CURRENT_BINARY_DIR}/changelog.gz")
configure_file(zelvo.1.in zelvo.1 @ONLY)
configure_file(changelog.in changelog @ONLY)
zelvo_gzip("${CMAKE_CURRENT_BINARY_DIR}/zelvo.1" "${man_page}")
zelvo_gzip("${CMAKE_CURRENT_BINARY_DIR}/changelog" "${changelog}")
add_custom_target(zelvo_package_files ALL DEPENDS "${man_page}" "${changelog}")
install(FILES "${man_page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

# The machine-readable copyright file carries the licence's own text.
file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" licence_lines)
list(SUBLIST licence_lines 4 -1 licence_lines)
set(copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Zelvo
Upstream-Contact: ${maintainer}

Files: *
Copyright: 2026 The Zelvo authors
License: Expat

License: Expat
")
foreach(line IN LISTS licence_lines)
    if(line STREQUAL "")
        string(APPEND copyright " .\n")
    else()
        string(APPEND copyright " ${line}\n")
    endif()
endforeach()
file(CONFIGURE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/copyright" CONTENT "${copyright}" @ONLY)

# Only in the package: Debian's own places for the licence and the history, and the one
# lintian note that does not apply: the help document under share/zelvo is the program's own
# data, which its Help button opens there, not documentation that a system may leave out.
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/copyright" "${changelog}"
    DESTINATION "${debian_docdir}" COMPONENT debian EXCLUDE_FROM_ALL)
file(CONFIGURE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/lintian-overrides/${package_name}"
    CONTENT "${package_name}: package-contains-documentation-outside-usr-share-doc [usr/share/zelvo/Zelvo.html]\n")
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/lintian-overrides/${package_name}"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides" COMPONENT debian EXCLUDE_FROM_ALL)
# Stripped as Debian strips: without the compilers' notes either.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:zelvo>\")
endif()" COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${package_name})
set(CPACK_PACKAGE_VENDOR "The Zelvo authors")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${maintainer}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "see how a picture looks as a tiled background")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The program's own files and the Debian ones; the bare licence stays out, the copyright file
# holds it.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${maintainer}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries found that way: Qt's readers of WebP and TIFF pictures, plugins; and Qt
# SVG, which draws SVG pictures, named as well although the program links to it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, libqt6svg6")
# The Wayland platform of Qt, and the opener that shows the help document.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
# The summary above is its first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zelvo shows how a picture looks when it is repeated edge to edge as a tiled
background. Pick a folder and it lists its pictures (Windows bitmap, JPEG, GIF,
icon, PNG, WebP, TIFF and SVG files, as chosen in the options). Click a name to
see a preview; press the preview and a window opens covered with copies of the
picture at its natural size, laid side by side from the top-left corner, or in
a half-drop, brick or mirror repeat, over a ground of your choice. That view
can be printed as one page on the default printer. An icon in the notification
area hides the main window there and brings it back.")

include(CPack)
