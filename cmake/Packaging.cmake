# The Debian package (cpack -G DEB) and what a system install carries beside
# the programs: manual pages, AppStream metadata, shell completions, and the
# copyright file and changelog that Debian expects.

set(HUECODE_PACKAGE_MAINTAINER "The huecode developers <huecode@example.invalid>"
  CACHE STRING "Maintainer of the Debian package, \"Name <address>\"; set by whoever publishes it")
set(HUECODE_HOMEPAGE "https://huecode.example.invalid"
  CACHE STRING "Where huecode is published; the AppStream screenshot is docs/screenshot.png below it")
set(HUECODE_APPSTREAM_ID "org.huecode.huecode" CACHE STRING "AppStream component id")
if(HUECODE_PACKAGE_MAINTAINER MATCHES "\\.invalid>$" OR HUECODE_HOMEPAGE MATCHES "\\.invalid$")
  message(STATUS "Packaging: HUECODE_PACKAGE_MAINTAINER and HUECODE_HOMEPAGE are placeholders; "
    "set them before publishing a package")
endif()

# SOURCE_DATE_EPOCH, when set, fixes these for a reproducible package.
string(TIMESTAMP HUECODE_RELEASE_TIME "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP HUECODE_RELEASE_DATE "%Y-%m-%d" UTC)

# The C library's packages are named as Debian names libraries: the runtime
# after its soname, the development files with -dev.
set(huecode_library_package "libhuecode${PROJECT_VERSION_MAJOR}")
set(huecode_development_package "libhuecode-dev")

set(huecode_packaging_source "${PROJECT_SOURCE_DIR}/packaging")
set(huecode_packaging_build "${PROJECT_BINARY_DIR}/packaging")
configure_file("${huecode_packaging_source}/huecode.metainfo.xml.in"
  "${huecode_packaging_build}/${HUECODE_APPSTREAM_ID}.metainfo.xml" @ONLY)
install(FILES "${huecode_packaging_build}/${HUECODE_APPSTREAM_ID}.metainfo.xml"
  DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${huecode_packaging_source}/copyright" DESTINATION "${CMAKE_INSTALL_DOCDIR}")
if(HUECODE_PACKAGING)
  include(PackagingFiles)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME huecode)
set(CPACK_PACKAGE_CONTACT "${HUECODE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${HUECODE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# dpkg shows the description as it stands, so it is wrapped here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "huecode turns a text into HTML, UBB or Brelvin colour markup in which every"
  "character, or every group of characters, has its own colour on a gradient."
  "The window shows the gradient and a preview; huecode-cli does the same on the"
  "command line, with more dialects, colour stops and OKLab blending.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The window needs Qt's xcb or wayland platform plugin, and a CJK font for its captions.
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME huecode)
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programs)
if(TARGET huecode_library)
  include(PackagingLibrary)
endif()
include(CPack)
