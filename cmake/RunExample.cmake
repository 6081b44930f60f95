# Runs an example program and checks it: exit status 0 and standard output equal to the
# expected text; optionally a PNG file of the expected size.
#   cmake -DPROGRAM=path -DARGS="a|b|c" -DEXPECTED=file [-DPNG=file -DPNG_WIDTH=w -DPNG_HEIGHT=h]
#         -P RunExample.cmake
string(REPLACE "|" ";" VecArgs "${ARGS}")
if(DEFINED PNG)
  file(REMOVE "${PNG}")
endif()
execute_process(
  COMMAND "${PROGRAM}" ${VecArgs}
  RESULT_VARIABLE IntResult
  OUTPUT_VARIABLE StgOutput
  ERROR_VARIABLE StgErrors)
if(NOT IntResult EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ended with ${IntResult}\n${StgOutput}${StgErrors}")
endif()
file(READ "${EXPECTED}" StgExpected)
if(NOT StgOutput STREQUAL StgExpected)
  message(FATAL_ERROR "${PROGRAM} printed\n${StgOutput}\nexpected (${EXPECTED})\n${StgExpected}")
endif()
if(DEFINED PNG)
  # Signature, IHDR chunk length and type, then width and height as 32-bit big-endian numbers.
  file(READ "${PNG}" StgHead LIMIT 24 HEX)
  math(EXPR StgWidth "${PNG_WIDTH}" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR StgHeight "${PNG_HEIGHT}" OUTPUT_FORMAT HEXADECIMAL)
  string(REGEX REPLACE "^0x" "" StgWidth "${StgWidth}")
  string(REGEX REPLACE "^0x" "" StgHeight "${StgHeight}")
  string(REPEAT "0" 8 StgZeros)
  string(PREPEND StgWidth "${StgZeros}")
  string(PREPEND StgHeight "${StgZeros}")
  string(LENGTH "${StgWidth}" IntLength)
  math(EXPR IntStart "${IntLength} - 8")
  string(SUBSTRING "${StgWidth}" ${IntStart} 8 StgWidth)
  string(LENGTH "${StgHeight}" IntLength)
  math(EXPR IntStart "${IntLength} - 8")
  string(SUBSTRING "${StgHeight}" ${IntStart} 8 StgHeight)
  string(TOLOWER "89504e470d0a1a0a0000000d49484452${StgWidth}${StgHeight}" StgWant)
  if(NOT StgHead STREQUAL StgWant)
    message(FATAL_ERROR "${PNG}: header ${StgHead}, expected ${StgWant}")
  endif()
endif()
