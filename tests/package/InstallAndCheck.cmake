# Installs the build tree into a fresh scratch prefix and checks what landed there: the
# command (which must run), the library, every public header, the manual page, the CMake
# package and the pkg-config file.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DCONFIG=... -DSOURCE_DIR=... -DCOMMAND_FILE=gridclip
#         -DLIBRARY_FILE=libgridclip.a -DLIBDIR=... -DBINDIR=... -DINCLUDEDIR=... -DMANDIR=...
#         -DCMAKEDIR=... -DPKGCONFIGDIR=... -P InstallAndCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" --config "${CONFIG}"
  RESULT_VARIABLE IntResult
  OUTPUT_VARIABLE StgOutput
  ERROR_VARIABLE StgOutput)
if(NOT IntResult EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${StgOutput}")
endif()

set(VecExpected
    "${BINDIR}/${COMMAND_FILE}"
    "${LIBDIR}/${LIBRARY_FILE}"
    "${MANDIR}/man1/gridclip.1"
    "${CMAKEDIR}/gridclipConfig.cmake"
    "${CMAKEDIR}/gridclipConfigVersion.cmake"
    "${CMAKEDIR}/gridclipTargets.cmake"
    "${PKGCONFIGDIR}/gridclip.pc")
file(GLOB VecHeaders RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h")
foreach(StgHeader IN LISTS VecHeaders)
  list(APPEND VecExpected "${INCLUDEDIR}/gridclip/${StgHeader}")
endforeach()
foreach(StgFile IN LISTS VecExpected)
  if(NOT EXISTS "${PREFIX}/${StgFile}")
    message(FATAL_ERROR "not installed: ${StgFile}")
  endif()
endforeach()

# The installed command does the whole job on the sample grids.
set(StgOut "${PREFIX}/../installed-run")
file(REMOVE_RECURSE "${StgOut}")
file(MAKE_DIRECTORY "${StgOut}")
execute_process(
  COMMAND "${PREFIX}/${BINDIR}/${COMMAND_FILE}" "${SOURCE_DIR}/examples/west.asc"
          "${SOURCE_DIR}/examples/east.asc" "${StgOut}/west_clip.asc" "${StgOut}/east_clip.asc"
  RESULT_VARIABLE IntResult
  OUTPUT_VARIABLE StgOutput
  ERROR_VARIABLE StgErrors)
if(NOT IntResult EQUAL 0 OR NOT StgOutput STREQUAL "" OR NOT StgErrors STREQUAL "")
  message(FATAL_ERROR "installed gridclip: status ${IntResult}, printed '${StgOutput}${StgErrors}'")
endif()
foreach(StgName IN ITEMS west_clip east_clip)
  file(STRINGS "${StgOut}/${StgName}.asc" VecLines LIMIT_COUNT 2)
  if(NOT VecLines STREQUAL "ncols 8;nrows 7")
    message(FATAL_ERROR "${StgName}.asc starts with '${VecLines}'")
  endif()
endforeach()
message(STATUS "installed into ${PREFIX}")
