# Unpacks the release ZIP into a fresh folder, checks that it holds exactly the files a user
# needs, and runs the package check on that folder under Wine.
#   cmake -DZIP=... -DFOLDER=... -DVERSION=... -DRUNNER=... -DCHECK=... -P unpack_and_check.cmake
file(REMOVE_RECURSE ${FOLDER})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${FOLDER})
file(GLOB tops RELATIVE ${FOLDER} ${FOLDER}/*)
if(NOT tops STREQUAL "zt9-font-editor-${VERSION}-win64")
    message(FATAL_ERROR "the package holds ${tops}, not one folder named after its version")
endif()
set(root ${FOLDER}/${tops})
file(GLOB files RELATIVE ${root} ${root}/*)
list(SORT files)
set(expected LICENSE.txt README.txt demo.geo geotool.exe zt9edit.exe)
if(NOT files STREQUAL expected)
    message(FATAL_ERROR "the package holds ${files}, expected ${expected}")
endif()
# Wine shows the whole Unix tree as drive Z:.
string(REPLACE "/" "\\" windows_root "Z:${root}")
execute_process(COMMAND ${RUNNER} ${CHECK} ${windows_root} ${VERSION} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the packaged editor failed its check")
endif()
