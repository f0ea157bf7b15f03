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

foreach(expected
        "bin/numbrook-riza"
        "bin/Resources/CustomBlueBkg.png"
        "bin/Resources/right1.wav"
        "bin/NBQ Quick Start Guide.rtf"
        "bin/NBQ_Help/nbq_play.html"
        "share/applications/numbrook-riza.desktop"
        "share/icons/hicolor/32x32/apps/numbrook-riza.png"
        "share/icons/hicolor/32x32/mimetypes/application-x-numbrook-riza-set.png"
        "share/mime/packages/numbrook-riza.xml")
    if(NOT EXISTS "${PREFIX}/${expected}")
        finish("missing after install: ${expected}")
    endif()
endforeach()

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
