# Installation: the library, its header, the host kit, the tool, a CMake package, a pkg-config file
# and the documentation.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The installed host kit is one archive holding the kit with the errors and platform parts it needs
# (lumora_error's texts among them), compiled without link-time optimisation so that any linker
# can use it; its headers install under lumoidl/host/.
get_target_property(kit_errors lumoidl_errors SOURCES)
get_target_property(kit_platform lumoidl_platform SOURCES)
list(TRANSFORM kit_errors PREPEND ${PROJECT_SOURCE_DIR}/src/)
list(TRANSFORM kit_platform PREPEND ${PROJECT_SOURCE_DIR}/src/)
add_library(lumoidl_host_kit STATIC $<TARGET_OBJECTS:lumoidl_host> ${kit_errors} ${kit_platform})
target_include_directories(lumoidl_host_kit PRIVATE ${PROJECT_SOURCE_DIR}/src
  INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/lumoidl>)
target_link_libraries(lumoidl_host_kit PUBLIC lumoidl ${CMAKE_DL_LIBS})
set_target_properties(lumoidl_host_kit PROPERTIES OUTPUT_NAME lumoidl_host EXPORT_NAME host)
file(GLOB kit_headers ${PROJECT_SOURCE_DIR}/host/*.h)

set_target_properties(lumoidl_tool PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS lumoidl lumoidl_host_kit EXPORT LumoIDLTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS lumoidl_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/lumoidl/lumoidl.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lumoidl)
install(FILES ${kit_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lumoidl/host)

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/LumoIDL)
install(EXPORT LumoIDLTargets NAMESPACE LumoIDL:: DESTINATION ${package_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/LumoIDLConfig.cmake.in
  ${PROJECT_BINARY_DIR}/LumoIDLConfig.cmake INSTALL_DESTINATION ${package_dir})
# The soname changes with the major version, and so does what the package accepts.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LumoIDLConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LumoIDLConfig.cmake ${PROJECT_BINARY_DIR}/LumoIDLConfigVersion.cmake
  DESTINATION ${package_dir})

configure_file(${PROJECT_SOURCE_DIR}/cmake/lumoidl.pc.in ${PROJECT_BINARY_DIR}/lumoidl.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/lumoidl.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(FILES README.md CHANGELOG.md LICENSE NOTICE DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(DIRECTORY examples DESTINATION ${CMAKE_INSTALL_DOCDIR})
