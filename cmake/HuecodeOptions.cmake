option(HUECODE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(HUECODE_FUZZ "Build the libFuzzer targets in tests/fuzz (clang only)" OFF)
option(HUECODE_BENCHMARKS "Build the Google Benchmark programs in bench/" OFF)
option(HUECODE_WERROR "Treat compiler warnings as errors" OFF)
option(HUECODE_PACKAGING
  "Manual pages, shell completions and changelog for installing and packaging (needs help2man and gzip)"
  ON)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(huecode_gnu_flags ON)
else()
  set(huecode_gnu_flags OFF)
endif()

if((HUECODE_SANITIZE OR HUECODE_FUZZ) AND NOT huecode_gnu_flags)
  message(FATAL_ERROR "HUECODE_SANITIZE and HUECODE_FUZZ need GCC or clang, "
    "not ${CMAKE_CXX_COMPILER_ID}")
endif()

if(HUECODE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(HUECODE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "HUECODE_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  # Everything the fuzz targets link is instrumented for coverage and checked by
  # the sanitizers; only the fuzz executables themselves link the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

include(HuecodeWarnings)

# A library that huecode-cli's picture module, a shared object, links into
# itself where the program loads it at run time (see cli/CMakeLists.txt).
function(huecode_module_library target)
  if(NOT UNIX)
    return()
  endif()
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  if(huecode_gnu_flags)
    # Position-independent code would otherwise stop GCC from inlining the
    # library's functions into each other, as if a library loaded later could
    # replace them.
    target_compile_options(${target} PRIVATE -fno-semantic-interposition)
  endif()
endfunction()
