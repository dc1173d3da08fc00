option(HUECODE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(HUECODE_FUZZ "Build the libFuzzer targets in tests/fuzz (clang only)" OFF)

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

option(HUECODE_BENCHMARKS "Build the Google Benchmark programs in bench/" OFF)
option(HUECODE_WERROR "Treat compiler warnings as errors" OFF)

add_compile_options(-Wall -Wextra -Wshadow -Wpedantic)
if(HUECODE_WERROR)
  add_compile_options(-Werror)
endif()
