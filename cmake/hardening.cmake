# vantor_hardening: what the code of the installed programs is built with.
# Release builds on Linux get the hardening that Debian asks of a package:
# fortified libc calls, stack protector and stack-clash probes, control-flow
# protection on x86-64, read-only relocations bound at start, and PIE.
# The sanitizer and fuzz builds check memory their own way and go without;
# the tests and tools that are not installed need none.
add_library(vantor_hardening INTERFACE)
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR VANTOR_SANITIZE OR VANTOR_FUZZ)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckPIESupported)

check_pie_supported()
set_target_properties(vantor_hardening PROPERTIES INTERFACE_POSITION_INDEPENDENT_CODE ON)

set(hardening_configs "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")

# Level 3 needs the compiler's dynamic object sizes (GCC 12, clang 9).
set(CMAKE_REQUIRED_FLAGS -O2)
check_cxx_source_compiles("
  int main(int argc, char **) { char b[8]; return int(__builtin_dynamic_object_size(b + argc, 0)); }"
  VANTOR_HAS_DYNAMIC_OBJECT_SIZE)
unset(CMAKE_REQUIRED_FLAGS)
if(VANTOR_HAS_DYNAMIC_OBJECT_SIZE)
  set(hardening_fortify 3)
else()
  set(hardening_fortify 2)
endif()

set(hardening_flags -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=${hardening_fortify} -fstack-protector-strong)
check_cxx_compiler_flag(-fstack-clash-protection VANTOR_HAS_STACK_CLASH_PROTECTION)
if(VANTOR_HAS_STACK_CLASH_PROTECTION)
  list(APPEND hardening_flags -fstack-clash-protection)
endif()
set(hardening_link_flags -z,relro,-z,now)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  list(APPEND hardening_flags -fcf-protection)
  # The linker marks a program as protected only when every object in it is.
  # Debian 12's C library start files (crt1.o, crti.o, crtn.o) carry no
  # marking, though they only call and return; all of Vantor's code is built
  # with -fcf-protection, so the marking is stated for the program.
  include(CheckLinkerFlag)
  check_linker_flag(CXX "LINKER:-z,ibt,-z,shstk" VANTOR_LINKER_MARKS_CET)
  if(VANTOR_LINKER_MARKS_CET)
    string(APPEND hardening_link_flags ",-z,ibt,-z,shstk")
  endif()
endif()

target_compile_options(vantor_hardening INTERFACE "$<${hardening_configs}:${hardening_flags}>")
target_link_options(vantor_hardening INTERFACE "$<${hardening_configs}:LINKER:${hardening_link_flags}>")
