# Regenerates the data into WORKDIR with the given artgen and compares each
# file byte for byte with the committed one under REPO.
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
set(files
    DATA/player.tga DATA/playerl.tga DATA/tonttu.tga DATA/tonttul.tga
    DATA/vauva.tga DATA/vauval.tga DATA/ruumiit.tga DATA/kirves.tga
    DATA/message.tga DATA/fontti.tga DATA/main.mp3 DATA/hit1.wav docs/sprites.png
    dist/icons/16x16.png dist/icons/32x32.png dist/icons/48x48.png
    dist/icons/64x64.png dist/icons/128x128.png dist/icons/256x256.png)
set(differ "")
foreach(f IN LISTS files)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${REPO}/${f} ${WORKDIR}/${f}
        RESULT_VARIABLE same)
    if(NOT same EQUAL 0)
        list(APPEND differ ${f})
    endif()
endforeach()
if(differ)
    message(FATAL_ERROR "regenerated files differ from the committed ones: ${differ}")
endif()
