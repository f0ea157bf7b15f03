# Installs the build into a prefix of its own and checks that a school's menu and file manager would
# find what they need. Run by CTest with BUILD_DIR; the prefix is a temporary folder, never the build.
# The install also writes its list of installed files into the build folder: the list a developer's
# own install left there is put back as it was, and one made by this test alone is removed.
if(DEFINED ENV{TMPDIR})
    set(temp "$ENV{TMPDIR}")
else()
    set(temp "/tmp")
endif()
string(RANDOM LENGTH 10 tag)
set(PREFIX "${temp}/nbr-install-${tag}")
file(REMOVE_RECURSE "${PREFIX}")

set(manifest "${BUILD_DIR}/install_manifest.txt")
file(GLOB manifestsBefore "${BUILD_DIR}/install_manifest*.txt")
if(EXISTS "${manifest}")
    file(READ "${manifest}" keptManifest)
endif()

# Leaves the build folder as it was and removes the prefix, then stops with the failure, if any.
function(finish failure)
    if(DEFINED keptManifest)
        file(WRITE "${manifest}" "${keptManifest}")
    else()
        file(REMOVE "${manifest}")
    endif()
    file(REMOVE_RECURSE "${PREFIX}")
    file(GLOB manifestsAfter "${BUILD_DIR}/install_manifest*.txt")
    if(failure STREQUAL "" AND NOT manifestsAfter STREQUAL manifestsBefore)
        set(failure "the install left files in the build folder: ${manifestsAfter}")
    endif()
    if(NOT failure STREQUAL "")
        message(FATAL_ERROR "${failure}")
    endif()
endfunction()

execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    finish("cmake --install failed: ${result}")
endif()

# The program in bin/ and nothing else there; what it reads in share/numbrook-riza/.
foreach(expected
        "bin/numbrook-riza"
        "share/numbrook-riza/Resources/CustomBlueBkg.png"
        "share/numbrook-riza/Resources/right1.wav"
        "share/numbrook-riza/NBQ Quick Start Guide.rtf"
        "share/numbrook-riza/NBQ_Help/nbq_play.html"
        "share/applications/numbrook-riza.desktop"
        "share/icons/hicolor/32x32/apps/numbrook-riza.png"
        "share/icons/hicolor/32x32/mimetypes/application-x-numbrook-riza-set.png"
        "share/mime/packages/numbrook-riza.xml")
    if(NOT EXISTS "${PREFIX}/${expected}")
        finish("missing after install: ${expected}")
    endif()
endforeach()
file(GLOB inBin RELATIVE "${PREFIX}/bin" "${PREFIX}/bin/*")
if(NOT inBin STREQUAL "numbrook-riza")
    finish("bin/ holds more than the program: ${inBin}")
endif()

# Starts the installed program once, offscreen, from the prefix (not the build tree) with a home of
# its own, and keeps what its start-up said. It does not end by itself: it is stopped after a while.
function(start_installed outVar)
    file(MAKE_DIRECTORY "${PREFIX}/home")
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env --unset=NBR_RESOURCES_DIR --unset=NBR_HELP_DIR
                --unset=NBR_PROGRAM_DIR "HOME=${PREFIX}/home" "XDG_CONFIG_HOME=${PREFIX}/home/config"
                "XDG_DATA_HOME=${PREFIX}/home/data" "XDG_CONFIG_DIRS=${PREFIX}/home/etc"
                "XDG_RUNTIME_DIR=${PREFIX}/home" QT_QPA_PLATFORM=offscreen
                "QT_LOGGING_RULES=nbr.startup.debug=true" "${PREFIX}/bin/numbrook-riza"
        WORKING_DIRECTORY "${PREFIX}"
        TIMEOUT 6
        OUTPUT_VARIABLE out ERROR_VARIABLE out)
    set(${outVar} "${out}" PARENT_SCOPE)
endfunction()

start_installed(said)
string(FIND "${said}" "pictures and sounds in ${PREFIX}/share/numbrook-riza/Resources | help pages in ${PREFIX}/share/numbrook-riza/NBQ_Help" found)
string(FIND "${said}" "open step: preferences" wentOn)
if(found LESS 0 OR wentOn LESS 0)
    finish("the installed program did not find what it ships with, or stopped at it:\n${said}")
endif()

# A share folder half copied, then missing: the program says what is missing and where it looked.
file(REMOVE "${PREFIX}/share/numbrook-riza/Resources/right1.wav")
start_installed(said)
string(FIND "${said}" "Some of Numbrook Riza's pictures and sounds are missing." told)
string(FIND "${said}" "\"right1.wav\", are not in ${PREFIX}/share/numbrook-riza/Resources" named)
if(told LESS 0 OR named LESS 0)
    finish("a half-copied install was not told:\n${said}")
endif()
file(REMOVE_RECURSE "${PREFIX}/share/numbrook-riza")
start_installed(said)
string(FIND "${said}" "Numbrook Riza cannot find its pictures and sounds." told)
string(FIND "${said}" "${PREFIX}/bin/Resources" lookedBeside)
string(FIND "${said}" "${PREFIX}/share/numbrook-riza/Resources" lookedShare)
if(told LESS 0 OR lookedBeside LESS 0 OR lookedShare LESS 0)
    finish("an install without its share folder was not told where the program looked:\n${said}")
endif()

file(READ "${PREFIX}/share/applications/numbrook-riza.desktop" entry)
foreach(line "Exec=numbrook-riza" "Icon=numbrook-riza" "Type=Application")
    string(FIND "${entry}" "${line}" at)
    if(at LESS 0)
        finish("the desktop entry lacks ${line}")
    endif()
endforeach()
file(READ "${PREFIX}/share/mime/packages/numbrook-riza.xml" mime)
string(FIND "${mime}" "<glob pattern=\"*.nbx\"/>" at)
if(at LESS 0)
    finish("the file type does not claim *.nbx")
endif()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/numbrook-riza.desktop"
                    RESULT_VARIABLE valid OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT valid EQUAL 0)
        finish("desktop-file-validate: ${out}")
    endif()
endif()
finish("")
