# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a fresh PREFIX and fails unless every file of the
# desktop application is there. Run by CTest as: cmake -DBUILD_DIR=...
# -DPREFIX=... -DWITH_GUI=ON|OFF -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(id io.github.tarnwell.Tarnwell)
set(expected bin/tarnwell-cli share/man/man1/tarnwell-cli.1.gz share/doc/tarnwell/copyright
    share/doc/tarnwell/changelog.gz)
if(WITH_GUI)
    list(APPEND expected
        bin/tarnwell
        share/man/man1/tarnwell.1.gz
        share/applications/${id}.desktop
        share/metainfo/${id}.metainfo.xml
        share/mime/packages/${id}.xml
        share/icons/hicolor/scalable/apps/${id}.svg)
    foreach(size IN ITEMS 16 32 48 64 128 256)
        list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${id}.png)
    endforeach()
endif()
set(missing)
foreach(file IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${file}")
        list(APPEND missing "${file}")
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "not installed: ${missing}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "installed: ${expected}")
