# Runs the floor check (check_includes.cmake, given as CHECK) on small source trees planted in a
# temporary folder, one for each case below, so that the check itself is seen to fail where a floor
# is broken and to pass where it is not. Run by CTest.
if(DEFINED ENV{TMPDIR})
    set(temp "$ENV{TMPDIR}")
else()
    set(temp "/tmp")
endif()
string(RANDOM LENGTH 10 tag)
set(root "${temp}/nbr-floors-${tag}")

# Each case: a name, the file planted (under src/), its include lines separated by "|", and what the
# check must say: "pass", or the line it must name as running up a floor.
set(cases
    "bracketed, data reaching the start-up code"
    "data/prefs.cpp" "#include <main/routes.h>" "src/data/prefs.cpp: #include <main/routes.h>"
    "quoted, data reaching the start-up code"
    "data/prefs.cpp" "#include \"main/routes.h\"" "src/data/prefs.cpp: #include \"main/routes.h\""
    "bracketed with blanks, pictures reaching a control"
    "app/media.h" "#  include   <controls/newcnvbtn.h>" "src/app/media.h: #  include   <controls/newcnvbtn.h>"
    "bracketed, a window reaching the routes"
    "signin/namescrn.cpp" "#include <QString>|#include <main/routes.h>"
    "src/signin/namescrn.cpp: #include <main/routes.h>"
    "bracketed, deep in a game's folder"
    "games/basket/rules.h" "#include <main/application.h>"
    "src/games/basket/rules.h: #include <main/application.h>"
    "bracketed, down the floors"
    "controls/knob.cpp" "#include <data/globals.h>|#include <app/menus.h>|#include \"controls/knob.h\"" "pass"
    "a window beside another"
    "round/gamescrn.cpp" "#include <progress/newdatascrn.h>|#include \"settings/numbercombo.h\"" "pass"
    "system and Qt headers in the data layer"
    "data/outsidefile.cpp" "#include <QtCore/QString>|#include <sys/stat.h>|#include <version.h>" "pass"
    "the start-up code knows every window"
    "main/routes.cpp" "#include <signin/namescrn.h>|#include <games/common/gamewindow.h>" "pass")

set(failures "")
list(LENGTH cases count)
math(EXPR last "${count} - 1")
foreach(at RANGE 0 ${last} 4)
    math(EXPR fileAt "${at} + 1")
    math(EXPR linesAt "${at} + 2")
    math(EXPR expectAt "${at} + 3")
    list(GET cases ${at} name)
    list(GET cases ${fileAt} planted)
    list(GET cases ${linesAt} lines)
    list(GET cases ${expectAt} expected)

    file(REMOVE_RECURSE "${root}")
    # Every floor's folder is there, as in the real tree, with one harmless file each.
    foreach(folder data app controls signin round games main)
        file(WRITE "${root}/src/${folder}/keep.h" "#pragma once\n#include <QString>\n")
    endforeach()
    string(REPLACE "|" "\n" text "${lines}")
    file(WRITE "${root}/src/${planted}" "${text}\n")

    execute_process(COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${root} -P "${CHECK}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(expected STREQUAL "pass")
        if(NOT result EQUAL 0)
            string(APPEND failures "\n${name}: the check failed on a tree that keeps its floors:\n${out}")
        endif()
    else()
        string(FIND "${out}" "${expected}" named)
        if(result EQUAL 0)
            string(APPEND failures "\n${name}: the check passed ${expected}")
        elseif(named LESS 0)
            string(APPEND failures "\n${name}: the check failed without naming ${expected}:\n${out}")
        endif()
    endif()
endforeach()
file(REMOVE_RECURSE "${root}")
if(NOT failures STREQUAL "")
    message(FATAL_ERROR "the floor check is wrong:${failures}")
endif()
