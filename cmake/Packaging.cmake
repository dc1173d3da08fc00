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

set(huecode_packaging_source "${PROJECT_SOURCE_DIR}/packaging")
set(huecode_packaging_build "${PROJECT_BINARY_DIR}/packaging")
configure_file("${huecode_packaging_source}/huecode.1.in" "${huecode_packaging_build}/huecode.1" @ONLY)
configure_file("${huecode_packaging_source}/changelog.in" "${huecode_packaging_build}/changelog" @ONLY)
configure_file("${huecode_packaging_source}/huecode.metainfo.xml.in"
  "${huecode_packaging_build}/${HUECODE_APPSTREAM_ID}.metainfo.xml" @ONLY)

# huecode-cli's page is made from its own --help and --version, so it lists
# the options the program has.
find_program(HUECODE_HELP2MAN help2man REQUIRED)
add_custom_command(
  OUTPUT "${huecode_packaging_build}/huecode-cli.1"
  COMMAND "${HUECODE_HELP2MAN}" --no-info --section=1
    "--name=turn a text into colour-gradient markup for forum posts"
    "--include=${huecode_packaging_source}/huecode-cli.h2m"
    "--output=${huecode_packaging_build}/huecode-cli.1" $<TARGET_FILE:huecode-cli>
  DEPENDS huecode-cli "${huecode_packaging_source}/huecode-cli.h2m"
  VERBATIM)

# Debian keeps manual pages and changelogs compressed at the highest level,
# without a time stamp.
set(huecode_compressed)
foreach(file huecode-cli.1 huecode.1 changelog)
  set(plain "${huecode_packaging_build}/${file}")
  add_custom_command(
    OUTPUT "${plain}.gz"
    COMMAND gzip -9nc "${plain}" > "${plain}.gz"
    DEPENDS "${plain}")
  list(APPEND huecode_compressed "${plain}.gz")
endforeach()

# Debian's zsh looks in vendor-completions below /usr, and every zsh in
# site-functions below /usr/local; the choice is made when the prefix is known.
install(CODE [[
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(huecode_zsh_completions "share/zsh/vendor-completions")
  else()
    set(huecode_zsh_completions "share/zsh/site-functions")
  endif()
]])

# Each shell's script, and the folder it is installed in below the prefix.
set(huecode_completions
  "bash|huecode-cli|share/bash-completion/completions"
  "zsh|_huecode-cli|\${huecode_zsh_completions}"
  "fish|huecode-cli.fish|share/fish/vendor_completions.d")
set(huecode_completion_files)
foreach(row IN LISTS huecode_completions)
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 shell)
  list(GET row 1 name)
  list(GET row 2 folder)
  set(script "${huecode_packaging_build}/completions/${name}")
  add_custom_command(
    OUTPUT "${script}"
    COMMAND $<TARGET_FILE:huecode-cli> --completion ${shell} > "${script}"
    DEPENDS huecode-cli)
  list(APPEND huecode_completion_files "${script}")
  install(FILES "${script}" DESTINATION "${folder}")
endforeach()

add_custom_target(huecode_packaging_files ALL
  DEPENDS ${huecode_compressed} ${huecode_completion_files})

install(FILES "${huecode_packaging_build}/huecode-cli.1.gz" "${huecode_packaging_build}/huecode.1.gz"
  DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${huecode_packaging_build}/${HUECODE_APPSTREAM_ID}.metainfo.xml"
  DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${huecode_packaging_build}/changelog.gz" "${huecode_packaging_source}/copyright"
  DESTINATION "${CMAKE_INSTALL_DOCDIR}")

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
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
include(CPack)
