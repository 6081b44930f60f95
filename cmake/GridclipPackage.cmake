# Install rules and the CMake package, when GRIDCLIP_INSTALL is on:
#   bin/gridclip, lib/libgridclip.a, include/gridclip/*.h, share/man/man1/gridclip.1,
#   lib/cmake/gridclip/ (config, version and targets files: imported target gridclip::gridclip),
#   lib/pkgconfig/gridclip.pc.
# The build tree gets a package of its own as well, so a project can use the library
# straight from a build with -Dgridclip_DIR=<build dir>.
if(NOT GRIDCLIP_INSTALL)
  return()
endif()

include(CMakePackageConfigHelpers)

set(GRIDCLIP_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/gridclip"
    CACHE STRING "Where the CMake package files are installed, below the prefix")
set(GRIDCLIP_INSTALL_PKGCONFIGDIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
    CACHE STRING "Where gridclip.pc is installed, below the prefix")
mark_as_advanced(GRIDCLIP_INSTALL_CMAKEDIR GRIDCLIP_INSTALL_PKGCONFIGDIR)

file(GLOB GRIDCLIP_PUBLIC_HEADERS CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/*.h")

install(
  TARGETS gridclip_lib
  EXPORT gridclipTargets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT gridclip_development)
install(FILES ${GRIDCLIP_PUBLIC_HEADERS} DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/gridclip"
        COMPONENT gridclip_development)
install(TARGETS gridclip RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT gridclip_runtime)
install(FILES "${PROJECT_SOURCE_DIR}/doc/gridclip.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1"
        COMPONENT gridclip_runtime)

# The CMake package: config and version files and the exported target gridclip::gridclip.
# Before 1.0 a minor release may change the interface, so only the same minor version matches.
install(
  EXPORT gridclipTargets
  NAMESPACE gridclip::
  DESTINATION "${GRIDCLIP_INSTALL_CMAKEDIR}"
  COMPONENT gridclip_development)
configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/gridclipConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/package/gridclipConfig.cmake"
  INSTALL_DESTINATION "${GRIDCLIP_INSTALL_CMAKEDIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/gridclipConfigVersion.cmake"
                                 COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/package/gridclipConfig.cmake"
              "${PROJECT_BINARY_DIR}/gridclipConfigVersion.cmake"
        DESTINATION "${GRIDCLIP_INSTALL_CMAKEDIR}" COMPONENT gridclip_development)

# The build tree's package: the same config file, targets that point into the build tree.
export(
  EXPORT gridclipTargets
  NAMESPACE gridclip::
  FILE "${PROJECT_BINARY_DIR}/gridclipTargets.cmake")
configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/gridclipConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/gridclipConfig.cmake"
  INSTALL_DESTINATION "${PROJECT_BINARY_DIR}"
  INSTALL_PREFIX "${PROJECT_BINARY_DIR}")

# pkg-config: the prefix is found from the .pc file's own place, so the file stays right when
# the tree is installed with `cmake --install --prefix` or moved as a whole.
file(RELATIVE_PATH GRIDCLIP_PC_UP "/prefix/${GRIDCLIP_INSTALL_PKGCONFIGDIR}" "/prefix")
string(REGEX REPLACE "/$" "" GRIDCLIP_PC_UP "${GRIDCLIP_PC_UP}")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(GRIDCLIP_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  set(GRIDCLIP_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(GRIDCLIP_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/gridclip")
else()
  set(GRIDCLIP_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}/gridclip")
endif()
configure_file("${PROJECT_SOURCE_DIR}/cmake/gridclip.pc.in" "${PROJECT_BINARY_DIR}/gridclip.pc"
               @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/gridclip.pc" DESTINATION "${GRIDCLIP_INSTALL_PKGCONFIGDIR}"
        COMPONENT gridclip_development)
