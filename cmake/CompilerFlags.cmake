# Compiler settings shared by every target: warnings, and floating point that
# gives the same results on every build (no fused multiply-adds, no fast-math).
add_library(morvessan_flags INTERFACE)
target_compile_options(morvessan_flags INTERFACE
  -Wall -Wextra
  -ffp-contract=off
  -fno-fast-math)
# The native builds treat warnings as errors, so none creeps in unseen; the
# cross builds keep them as warnings (their headers are not ours to mend).
option(MORVESSAN_WERROR "Treat compiler warnings as errors" OFF)
if(MORVESSAN_WERROR)
  target_compile_options(morvessan_flags INTERFACE -Werror)
endif()
# Every target platform (x86-64, and mingw-w64's x86-64) computes doubles in SSE2
# registers, so there is no x87 excess precision to guard against.
