# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=… -DPREFIX=… -DAPP_ID=… -DDATADIR=share -DBINDIR=bin
#       -DMANDIR=share/man -DLIBDIR=lib -DSOURCE_DIR=… -P checkinstall.cmake
# Installs the build tree into PREFIX (emptied first), checks that every file
# of an installation is there, and validates the desktop entry, the
# software-centre description and the file types with the desktop's own
# tools when they are present.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(share "${PREFIX}/${DATADIR}")
set(expected
    "${PREFIX}/${BINDIR}/lorva"
    "${PREFIX}/${BINDIR}/lorva-exercice"
    "${PREFIX}/${MANDIR}/fr/man1/lorva-exercice.1.gz"
    "${PREFIX}/${MANDIR}/fr/man1/lorva.1.gz"
    "${PREFIX}/${BINDIR}/lorva-mesures"
    "${PREFIX}/${LIBDIR}/lorva-avec-frottement/lorva-video.so"
    "${PREFIX}/${MANDIR}/fr/man1/lorva-mesures.1.gz"
    "${share}/lorva-avec-frottement/aide/lorva.html"
    "${share}/applications/${APP_ID}.desktop"
    "${share}/metainfo/${APP_ID}.metainfo.xml"
    "${share}/mime/packages/${APP_ID}.xml"
    "${share}/icons/hicolor/scalable/apps/${APP_ID}.svg")
foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND expected "${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()
# Every shipped exercise: its texts and measurement files, and what its
# manifest gives.
set(exercises_dir "${share}/lorva-avec-frottement/exercices")
file(GLOB texts RELATIVE "${SOURCE_DIR}/data/exercices" "${SOURCE_DIR}/data/exercices/*.rtf"
    "${SOURCE_DIR}/data/exercices/*.txt")
foreach(text IN LISTS texts)
    list(APPEND expected "${exercises_dir}/${text}")
endforeach()
file(GLOB manifests "${SOURCE_DIR}/data/exercices/*.exo")
foreach(manifest IN LISTS manifests)
    get_filename_component(name "${manifest}" NAME_WE)
    list(APPEND expected "${exercises_dir}/${name}.P18")
    file(STRINGS "${manifest}" moved REGEX "^descripteur")
    if(NOT moved)
        list(APPEND expected "${exercises_dir}/${name}.E40")
    endif()
endforeach()
if(manifests)
    list(APPEND expected "${share}/lorva-avec-frottement/LORVA.PEM")
endif()
foreach(path IN LISTS expected)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "missing after installation: ${path}")
    endif()
endforeach()
execute_process(COMMAND test -x "${PREFIX}/${BINDIR}/lorva" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the installed program cannot be run")
endif()
# The program starts without FFmpeg's libraries, not even through another
# library (readelf: what it names; ldd: everything mapped with it); its video
# module, loaded on demand, brings them.
find_program(READELF readelf REQUIRED)
find_program(LDD ldd REQUIRED)
set(module "${PREFIX}/${LIBDIR}/lorva-avec-frottement/lorva-video.so")
foreach(command "${READELF};-d" "${LDD}")
    execute_process(COMMAND ${command} "${PREFIX}/${BINDIR}/lorva"
        RESULT_VARIABLE result OUTPUT_VARIABLE program_libraries)
    if(NOT result EQUAL 0 OR program_libraries MATCHES "lib(av|sw)[a-z]*\\.so")
        message(FATAL_ERROR "${command} lorva: ${result}\n${program_libraries}")
    endif()
    execute_process(COMMAND ${command} "${module}"
        RESULT_VARIABLE result OUTPUT_VARIABLE module_libraries)
    if(NOT result EQUAL 0 OR NOT module_libraries MATCHES "libavcodec\\.so")
        message(FATAL_ERROR "${command} ${module}: ${result}\n${module_libraries}")
    endif()
endforeach()
# The teachers' tool runs and explains its use.
execute_process(COMMAND "${PREFIX}/${BINDIR}/lorva-exercice"
    RESULT_VARIABLE result ERROR_VARIABLE usage)
if(NOT result EQUAL 2 OR NOT usage MATCHES "usage : lorva-exercice")
    message(FATAL_ERROR "lorva-exercice without arguments: ${result} ${usage}")
endif()
# The manual pages are well-formed groff.
find_program(GROFF groff)
if(GROFF)
    file(GLOB pages "${SOURCE_DIR}/data/man/*.1")
    foreach(page IN LISTS pages)
        execute_process(COMMAND "${GROFF}" -man -z -ww -K utf8 "${page}"
            RESULT_VARIABLE result ERROR_VARIABLE warnings)
        if(NOT result EQUAL 0 OR warnings)
            message(FATAL_ERROR "${page}: ${warnings}")
        endif()
    endforeach()
endif()
# Nothing of the build's own (tests, tools, build scripts) is installed.
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
foreach(path IN LISTS installed)
    if(path MATCHES "tst_|rendericon|CMakeLists|\\.cmake$|/desktop/")
        message(FATAL_ERROR "installed by mistake: ${path}")
    endif()
endforeach()

# Each icon bitmap has the size its folder names.
foreach(size 16 256)
    file(READ "${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png" header
        LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 16 dimensions)
    math(EXPR hex_size "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" hex_size "${hex_size}")
    string(LENGTH "${hex_size}" length)
    while(length LESS 8)
        string(PREPEND hex_size "0")
        string(LENGTH "${hex_size}" length)
    endwhile()
    if(NOT dimensions STREQUAL "${hex_size}${hex_size}")
        message(FATAL_ERROR "icon ${size}: PNG header gives ${dimensions}")
    endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${share}/applications/${APP_ID}.desktop"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    # Hints are advice (two main categories, Education and Science, are
    # meant); errors and warnings fail.
    if(NOT result EQUAL 0 OR output MATCHES "error:|warning:")
        message(FATAL_ERROR "desktop-file-validate:\n${output}")
    endif()
else()
    message(STATUS "desktop-file-validate absent: desktop entry not validated")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net
            "${share}/metainfo/${APP_ID}.metainfo.xml"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "appstreamcli validate:\n${output}")
    endif()
else()
    message(STATUS "appstreamcli absent: description not validated")
endif()

# The file types compile into a MIME database that maps both extensions.
find_program(UPDATE_MIME_DATABASE update-mime-database)
if(UPDATE_MIME_DATABASE)
    execute_process(COMMAND "${UPDATE_MIME_DATABASE}" "${share}/mime"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR output MATCHES "[Ee]rror|[Ww]arning")
        message(FATAL_ERROR "update-mime-database:\n${output}")
    endif()
    file(READ "${share}/mime/globs2" globs)
    foreach(pattern "application/x-lorva-configuration:\\*\\.P18"
            "application/x-lorva-configuration:\\*\\.p18"
            "application/x-lorva-exercise:\\*\\.E40")
        if(NOT globs MATCHES "${pattern}")
            message(FATAL_ERROR "MIME database lacks ${pattern}:\n${globs}")
        endif()
    endforeach()
else()
    message(STATUS "update-mime-database absent: file types not compiled")
endif()
message(STATUS "installation in ${PREFIX} complete")
