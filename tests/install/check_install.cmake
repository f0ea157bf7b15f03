# Installs the build into a prefix of its own and checks that a school's menu, file manager, software
# centre and manual would find what they need. Run by CTest with BUILD_DIR and SOURCE_DIR; the prefix
# is a temporary folder, never the build.
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

# Fails unless the text holds every one of the parts; `what` names the file in the failure.
function(require_parts text what)
    foreach(part ${ARGN})
        string(FIND "${text}" "${part}" at)
        if(at LESS 0)
            finish("${what} lacks ${part}")
        endif()
    endforeach()
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
        "share/icons/hicolor/48x48/apps/numbrook-riza.png"
        "share/icons/hicolor/64x64/apps/numbrook-riza.png"
        "share/icons/hicolor/128x128/apps/numbrook-riza.png"
        "share/icons/hicolor/256x256/apps/numbrook-riza.png"
        "share/icons/hicolor/32x32/mimetypes/application-x-numbrook-riza-set.png"
        "share/mime/packages/numbrook-riza.xml"
        "share/metainfo/com.orlavo.numbrookriza.metainfo.xml"
        "share/man/man1/numbrook-riza.1")
    if(NOT EXISTS "${PREFIX}/${expected}")
        finish("missing after install: ${expected}")
    endif()
endforeach()
file(GLOB inBin RELATIVE "${PREFIX}/bin" "${PREFIX}/bin/*")
if(NOT inBin STREQUAL "numbrook-riza")
    finish("bin/ holds more than the program: ${inBin}")
endif()

# Each icon is a PNG drawn at its folder's size (a PNG's width and height follow its 8-byte signature
# and the IHDR chunk's length and type), and the sizes the program never loads stay out of its folder.
foreach(size 32 48 64 128 256)
    set(icon "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/numbrook-riza.png")
    file(READ "${icon}" head LIMIT 24 HEX)
    string(SUBSTRING "${head}" 0 16 signature)
    string(SUBSTRING "${head}" 24 8 chunk)
    string(SUBSTRING "${head}" 32 8 width)
    string(SUBSTRING "${head}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452" OR NOT width EQUAL size
       OR NOT height EQUAL size)
        finish("the ${size}x${size} icon is not a PNG of that size: ${head}")
    endif()
endforeach()
file(GLOB strayIcons "${PREFIX}/share/numbrook-riza/Resources/NBQProxyIcon[0-9]*.png")
if(strayIcons)
    finish("the desktop's icon sizes were copied among the program's pictures: ${strayIcons}")
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
require_parts("${entry}" "the desktop entry" "Exec=numbrook-riza" "Icon=numbrook-riza" "Type=Application")
file(READ "${PREFIX}/share/mime/packages/numbrook-riza.xml" mime)
string(FIND "${mime}" "<glob pattern=\"*.nbx\"/>" at)
if(at LESS 0)
    finish("the file type does not claim *.nbx")
endif()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/numbrook-riza.desktop"
                    RESULT_VARIABLE valid OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT valid EQUAL 0 OR NOT out STREQUAL "")
        finish("desktop-file-validate: ${out}")
    endif()
endif()

# The software centre's description launches the desktop entry installed beside it, under its own id.
set(metainfo "${PREFIX}/share/metainfo/com.orlavo.numbrookriza.metainfo.xml")
file(READ "${metainfo}" component)
require_parts("${component}" "the metainfo file" "<id>com.orlavo.numbrookriza</id>"
              "<launchable type=\"desktop-id\">numbrook-riza.desktop</launchable>" "<binary>numbrook-riza</binary>"
              "<mediatype>application/x-numbrook-riza-set</mediatype>")
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    # The file alone, then the installed tree: its name against its id, the desktop entry it launches.
    foreach(check "validate;${metainfo}" "validate-tree;${PREFIX}")
        list(GET check 0 command)
        list(GET check 1 what)
        execute_process(COMMAND "${APPSTREAMCLI}" ${command} --no-net "${what}"
                        RESULT_VARIABLE valid OUTPUT_VARIABLE out ERROR_VARIABLE out)
        if(NOT valid EQUAL 0)
            finish("appstreamcli ${command}: ${out}")
        endif()
    endforeach()
endif()

# The manual page: what the program is, the files it uses and every environment variable the program
# itself reads (found in its sources, so that a new one cannot be left out), in a page groff reads
# without a warning.
set(manual "${PREFIX}/share/man/man1/numbrook-riza.1")
file(READ "${manual}" page)
require_parts("${page}" "the manual page" ".SH NAME\nnumbrook-riza \\- " ".SH FILES" "com.orlavo.vavava.plist"
              "nbq10.pref" "OVR/NB_Data.rbd" "NBQ_InputSets" ".SH ENVIRONMENT" "XDG_CONFIG_HOME" "XDG_CONFIG_DIRS"
              "XDG_DATA_HOME")
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h")
set(variables "")
foreach(source ${sources})
    file(STRINGS "${source}" reads REGEX "(qEnvironmentVariable[A-Za-z]*|qgetenv|getenv)\\(\"[A-Z_0-9]+\"")
    foreach(line ${reads})
        string(REGEX MATCHALL "\\(\"[A-Z_0-9]+\"" names "${line}")
        foreach(name ${names})
            string(REGEX REPLACE "[(\"]" "" name "${name}")
            list(APPEND variables "${name}")
        endforeach()
    endforeach()
endforeach()
if(NOT variables)
    finish("no environment variable found in ${SOURCE_DIR}/src: the search no longer reads the sources")
endif()
foreach(variable ${variables})
    string(FIND "${page}" ".B ${variable}\n" at)
    if(at LESS 0)
        finish("the manual page does not explain ${variable}, which the program reads")
    endif()
endforeach()
find_program(GROFF groff)
if(GROFF)
    execute_process(COMMAND "${GROFF}" -man -ww -z "${manual}" RESULT_VARIABLE read ERROR_VARIABLE said)
    if(NOT read EQUAL 0 OR NOT said STREQUAL "")
        finish("groff reads the manual page with warnings: ${said}")
    endif()
endif()
finish("")
