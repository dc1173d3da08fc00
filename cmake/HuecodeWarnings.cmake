# The warnings every huecode build compiles with, the page's WebAssembly
# included; HUECODE_WERROR makes them errors.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wshadow -Wpedantic)
elseif(MSVC)
  add_compile_options(/W4 /utf-8)
endif()
set(CMAKE_COMPILE_WARNING_AS_ERROR ${HUECODE_WERROR})
