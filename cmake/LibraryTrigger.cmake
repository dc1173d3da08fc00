# Run by cpack once the packages are built (CPACK_POST_BUILD_SCRIPTS). CPack
# has the library package call ldconfig from postinst and postrm, where
# Debian asks for a trigger instead, and writes the shlibs file only for
# every package at once (warning about the programs' module, which has no
# soname); the library package is rebuilt with the trigger and its shlibs
# file, and without those scripts.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "/libhuecode([0-9]+)_[^/]*\\.deb$")
    continue()
  endif()
  set(soversion "${CMAKE_MATCH_1}")
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")
  file(WRITE "${tree}/DEBIAN/triggers" "activate-noawait ldconfig\n")
  file(WRITE "${tree}/DEBIAN/shlibs"
    "libhuecode ${soversion} libhuecode${soversion} (>= ${CPACK_PACKAGE_VERSION})\n")
  execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${deb}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
