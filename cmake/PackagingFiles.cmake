# The files a system install and the package carry that are made from the
# built huecode-cli or compressed as Debian wants them: manual pages, the
# changelog and the shell completions.

find_program(HUECODE_HELP2MAN help2man)
find_program(HUECODE_GZIP gzip)
set(huecode_missing_tools)
foreach(tool HUECODE_HELP2MAN HUECODE_GZIP)
  if(NOT ${tool})
    string(REPLACE "HUECODE_" "" name "${tool}")
    string(TOLOWER "${name}" name)
    list(APPEND huecode_missing_tools ${name})
  endif()
endforeach()
if(huecode_missing_tools)
  list(JOIN huecode_missing_tools " and " missing)
  message(FATAL_ERROR "HUECODE_PACKAGING: ${missing} not found. The manual pages, completions "
    "and changelog need them: install them (Debian: apt install help2man gzip), point "
    "HUECODE_HELP2MAN or HUECODE_GZIP at them, or configure with -DHUECODE_PACKAGING=OFF "
    "to build and install without these files.")
endif()

file(MAKE_DIRECTORY "${huecode_packaging_build}/completions")
configure_file("${huecode_packaging_source}/huecode.1.in" "${huecode_packaging_build}/huecode.1" @ONLY)
configure_file("${huecode_packaging_source}/changelog.in" "${huecode_packaging_build}/changelog" @ONLY)

# huecode-cli's page is made from its own --help and --version, so it lists
# the options the program has.
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
    COMMAND "${HUECODE_GZIP}" -9nc "${plain}" > "${plain}.gz"
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
install(FILES "${huecode_packaging_build}/changelog.gz" DESTINATION "${CMAKE_INSTALL_DOCDIR}")
# Every package carries its own copyright file and changelog.
if(TARGET huecode_library)
  foreach(component library development)
    install(FILES "${huecode_packaging_build}/changelog.gz" "${huecode_packaging_source}/copyright"
      DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${huecode_${component}_package}"
      COMPONENT ${component})
  endforeach()
endif()
