# Writes the Windows resource script that gives the program file its icon and version record.
# The author's name and notice are taken from src/layouts/Author.h, where the windows get them too.
function(zelvo_windows_version_resource out_var)
    set(author_header "${PROJECT_SOURCE_DIR}/src/layouts/Author.h")
    file(STRINGS "${author_header}" notice_line REGEX "CopyrightNotice\\[\\] *= *\"")
    if(NOT notice_line MATCHES "\"([^\"]+)\"")
        message(FATAL_ERROR "No CopyrightNotice found in ${author_header}")
    endif()
    set(ZELVO_COPYRIGHT "${CMAKE_MATCH_1}")
    # "Copyright (C) 2026 The Zelvo authors" names the authors after the year.
    if(NOT ZELVO_COPYRIGHT MATCHES "[0-9][0-9][0-9][0-9][ ,]+(.+)$")
        message(FATAL_ERROR "No author name after the year in \"${ZELVO_COPYRIGHT}\"")
    endif()
    set(ZELVO_COMPANY_NAME "${CMAKE_MATCH_1}")

    # The project's version, as figures and as the program reports it.
    set(ZELVO_VERSION_COMMAS
        "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
    set(ZELVO_VERSION_TEXT "${PROJECT_VERSION}")

    file(TO_NATIVE_PATH "${PROJECT_SOURCE_DIR}/resources/zelvo.ico" icon_file)
    string(REPLACE "\\" "\\\\" ZELVO_ICON_FILE "${icon_file}")

    set(rc_file "${CMAKE_CURRENT_BINARY_DIR}/zelvo.rc")
    configure_file("${PROJECT_SOURCE_DIR}/packaging/zelvo.rc.in" "${rc_file}" @ONLY)
    set(${out_var} "${rc_file}" PARENT_SCOPE)
endfunction()
