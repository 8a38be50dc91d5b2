# Lossless recompression of the generated PNGs with optipng (run by the "skins" target).
file(GLOB _pngs ${RESOURCES}/themes/*.png ${RESOURCES}/fallback/*.png)
list(APPEND _pngs ${SHEET})
execute_process(COMMAND ${OPTIPNG} -quiet -o2 -strip all ${_pngs} RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
    message(WARNING "optipng failed (${_rc}); the images are correct but larger")
endif()
