# Holds the floors of the source tree: each folder includes only the folders below it. The data layer
# stands on nothing of ours; the pictures, sounds and menus (app) on the data; the controls on both;
# the windows on those three and on each other; only the start-up and the routes between windows
# (main) know every window, and nothing includes them. Run by CTest with SOURCE_DIR.
set(allowed_data "data")
set(allowed_app "data;app")
set(allowed_controls "data;app;controls")
set(windows signin round settings progress classes preferences games setmaker help support)
foreach(window ${windows})
    set(allowed_${window} "data;app;controls;${windows}")
endforeach()
set(allowed_main "data;app;controls;${windows};main")
# Every folder of ours, whether or not this tree holds it yet.
set(ours ${allowed_main})

set(broken "")
file(GLOB folders RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*")
foreach(folder ${folders})
    if(NOT IS_DIRECTORY "${SOURCE_DIR}/src/${folder}")
        continue()
    endif()
    if(NOT DEFINED allowed_${folder})
        string(APPEND broken "\n  src/${folder}/ is a folder the floors do not name: give it its place here")
        continue()
    endif()
    file(GLOB_RECURSE files "${SOURCE_DIR}/src/${folder}/*.cpp" "${SOURCE_DIR}/src/${folder}/*.h")
    foreach(file ${files})
        # src/ is a public include folder, so <main/routes.h> builds as well as "main/routes.h": both
        # forms are read. A bracketed include of a folder that is not ours (<QtCore/QString>,
        # <sys/stat.h>) is the system's business; a quoted one is always held to the floors.
        file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">/]+/")
        foreach(line ${includes})
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">/]+)/.*" "\\1;\\2" parts "${line}")
            list(GET parts 0 bracket)
            list(GET parts 1 target)
            list(FIND allowed_${folder} "${target}" at)
            list(FIND ours "${target}" isOurs)
            if(at LESS 0 AND (bracket STREQUAL "\"" OR isOurs GREATER_EQUAL 0))
                file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
                string(APPEND broken "\n  ${shown}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(NOT broken STREQUAL "")
    message(FATAL_ERROR "includes that run up a floor (see README, \"For developers\"):${broken}")
endif()
