# Regenerates the data into WORKDIR with the given artgen and compares each
# file byte for byte with the committed one under REPO.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
if(NOT LAME)
    message(FATAL_ERROR "lame is needed to regenerate DATA/main.mp3")
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ARTGEN=${ARTGEN} bash ${SOURCEDIR}/regenerate.sh unused ${WORKDIR}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "regeneration failed: ${result}")
endif()
# Every file the regeneration wrote must be the committed one, and every
# data file among them one the game ships.
file(GLOB_RECURSE files RELATIVE ${WORKDIR} ${WORKDIR}/*)
file(STRINGS ${REPO}/dist/datafiles.txt shipped)
set(differ "")
set(unlisted "")
foreach(f IN LISTS files)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${REPO}/${f} ${WORKDIR}/${f}
        RESULT_VARIABLE same)
    if(NOT same EQUAL 0)
        list(APPEND differ ${f})
    endif()
    if(f MATCHES "^DATA/" AND NOT f IN_LIST shipped)
        list(APPEND unlisted ${f})
    endif()
endforeach()
if(differ)
    message(FATAL_ERROR "regenerated files differ from the committed ones: ${differ}")
endif()
if(unlisted)
    message(FATAL_ERROR "regenerated data files missing from dist/datafiles.txt: ${unlisted}")
endif()
list(LENGTH files made)
message(STATUS "${made} regenerated files are the committed ones")
