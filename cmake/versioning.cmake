# The library's version from project(): the soname liblumoidl.so.MAJOR with its symlinks, and the
# VERSIONINFO resource of lumoidl.dll.
set_target_properties(lumoidl PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
if(WIN32)
  enable_language(RC)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/version.rc.in ${PROJECT_BINARY_DIR}/version.rc @ONLY)
  target_sources(lumoidl PRIVATE ${PROJECT_BINARY_DIR}/version.rc)
endif()
