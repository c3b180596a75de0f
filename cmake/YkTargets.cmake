# Compile settings shared by every target of our own, and helpers to declare them.

add_library(yk_options INTERFACE)
target_compile_definitions(yk_options INTERFACE
  UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
  _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
target_include_directories(yk_options INTERFACE ${CMAKE_SOURCE_DIR})
if(MSVC)
  target_compile_options(yk_options INTERFACE /W4 /WX /utf-8 /permissive-)
else()
  target_compile_options(yk_options INTERFACE
    $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wpedantic -Wshadow -Werror -finput-charset=UTF-8 -fexec-charset=UTF-8>)
  # Release programs ship without symbols: a statically linked runtime
  # otherwise more than triples the size of the program file.
  target_link_options(yk_options INTERFACE -municode $<$<CONFIG:Release>:-s>)
  if(YK_SANITIZE)
    target_compile_options(yk_options INTERFACE
      $<$<COMPILE_LANGUAGE:C,CXX>:-fsanitize=undefined -fsanitize-undefined-trap-on-error -D_GLIBCXX_ASSERTIONS>
      # GCC 12's overflow warnings misfire on the instrumented inline vector
      # code ("writing 1 byte into a region of size 0"); the trap itself
      # catches real overflows of the kind the warning is about.
      $<$<COMPILE_LANGUAGE:CXX>:-Wno-stringop-overflow>)
  endif()
endif()

# yk_library(name SOURCES... [LIBS ...]): one static library per subsystem.
function(yk_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC yk_options ${ARG_LIBS})
endfunction()
