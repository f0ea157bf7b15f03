# Installs the build into a prefix of its own and checks that a school's menu and file manager would
# find what they need. Run by CTest with BUILD_DIR; the prefix is a temporary folder, never the build.
if(DEFINED ENV{TMPDIR})
    set(temp "$ENV{TMPDIR}")
else()
    set(temp "/tmp")
endif()
string(RANDOM LENGTH 10 tag)
set(PREFIX "${temp}/nbr-install-${tag}")
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
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
        message(FATAL_ERROR "missing after install: ${expected}")
    endif()
endforeach()

file(READ "${PREFIX}/share/applications/numbrook-riza.desktop" entry)
foreach(line "Exec=numbrook-riza" "Icon=numbrook-riza" "Type=Application")
    string(FIND "${entry}" "${line}" at)
    if(at LESS 0)
        message(FATAL_ERROR "the desktop entry lacks ${line}")
    endif()
endforeach()
file(READ "${PREFIX}/share/mime/packages/numbrook-riza.xml" mime)
string(FIND "${mime}" "<glob pattern=\"*.nbx\"/>" at)
if(at LESS 0)
    message(FATAL_ERROR "the file type does not claim *.nbx")
endif()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/numbrook-riza.desktop"
                    RESULT_VARIABLE valid OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT valid EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate: ${out}")
    endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
