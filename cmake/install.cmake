# Installation: the library, its header, the tool, a CMake package and a pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(lumoidl_tool PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS lumoidl EXPORT LumoIDLTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS lumoidl_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/lumoidl/lumoidl.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lumoidl)

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/LumoIDL)
install(EXPORT LumoIDLTargets NAMESPACE LumoIDL:: DESTINATION ${package_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/LumoIDLConfig.cmake.in
  ${PROJECT_BINARY_DIR}/LumoIDLConfig.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LumoIDLConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LumoIDLConfig.cmake ${PROJECT_BINARY_DIR}/LumoIDLConfigVersion.cmake
  DESTINATION ${package_dir})

configure_file(${PROJECT_SOURCE_DIR}/cmake/lumoidl.pc.in ${PROJECT_BINARY_DIR}/lumoidl.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/lumoidl.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
