# Compiles every source of a target with Debian's MinGW-w64 cross compiler, syntax only,
# with Debian's own Qt headers: the code's Windows branches then build, without a warning,
# although no Qt for Windows is here to link against.
find_program(TOLVANE_MINGW_CXX x86_64-w64-mingw32-g++-posix REQUIRED)

function(tolvane_windows_syntax_check target)
    get_target_property(sources ${target} SOURCES)
    # A platform's own files: the Windows ones in place of the others.
    get_target_property(unix_sources ${target} TOLVANE_UNIX_SOURCES)
    get_target_property(windows_sources ${target} TOLVANE_WINDOWS_SOURCES)
    if(unix_sources)
        list(REMOVE_ITEM sources ${unix_sources})
        list(APPEND sources ${windows_sources})
    endif()
    get_target_property(folder ${target} SOURCE_DIR)
    # Qt's own folders only: the system's would mix Linux C headers into the Windows ones.
    set(qt_headers ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS})
    set(includes -I${PROJECT_SOURCE_DIR}/src/platform -I${PROJECT_SOURCE_DIR}/src/core
        -I${PROJECT_SOURCE_DIR}/src/widgets
        -I${PROJECT_SOURCE_DIR}/src/cli -I${qt_headers})
    foreach(module Core Gui Widgets PrintSupport)
        list(APPEND includes -I${qt_headers}/Qt${module})
    endforeach()
    set(stamps)
    foreach(source IN LISTS sources)
        get_filename_component(name ${source} NAME)
        set(stamp ${CMAKE_CURRENT_BINARY_DIR}/windows-syntax/${target}/${name}.checked)
        add_custom_command(OUTPUT ${stamp}
            COMMAND ${TOLVANE_MINGW_CXX} -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic
                    -Werror -Wno-attributes -DQT_NO_CONTEXTLESS_CONNECT -DQT_NO_KEYWORDS
                    -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII -DTOLVANE_VERSION="0" ${includes}
                    ${folder}/${source}
            COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
            DEPENDS ${folder}/${source}
            COMMENT "Windows syntax check of ${name}"
            VERBATIM)
        list(APPEND stamps ${stamp})
    endforeach()
    add_custom_target(${target}_windows_syntax ALL DEPENDS ${stamps})
endfunction()
