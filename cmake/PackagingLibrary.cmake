# The C library's two Debian packages: the shared object alone (libhuecode0),
# and the header, the link, pkg-config's file and CMake's package
# (libhuecode-dev), as Debian splits a library.
list(APPEND CPACK_COMPONENTS_ALL library development)

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME "${huecode_library_package}")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# Its ldconfig trigger and its shlibs file, which tells packages built
# against it which version to depend on.
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/LibraryTrigger.cmake")
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
  "The C library of huecode's conversion.\n${CPACK_PACKAGE_DESCRIPTION}\nThis package holds the shared library, for programs that convert texts\nthrough its C interface.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "${huecode_development_package}")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "${huecode_library_package} (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "The C library of huecode's conversion: development files.\n${CPACK_PACKAGE_DESCRIPTION}\nThis package holds the C header, the pkg-config file and the CMake\npackage for building programs with libhuecode.")
