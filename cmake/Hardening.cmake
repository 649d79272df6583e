# Every program and library, whatever the build: a read-only relocation table bound at start-up
# (no lazy binding to overwrite), a stack canary in functions with arrays or addresses taken, and
# glibc's checked variants of the string and memory calls where their buffer sizes are known.

# The checked calls need the optimiser, so a configure that names no build type gets an
# optimised one rather than one without them.
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING
      "Build type (Debug, Release, RelWithDebInfo, MinSizeRel)" FORCE)
endif()

# glibc warns about _FORTIFY_SOURCE without optimisation (Debug builds at -O0). -U first, so that
# a compiler which defines it itself does not report a redefinition.
set(_tickerlux_optimised $<NOT:$<CONFIG:Debug>>)
add_compile_options(-fstack-protector-strong
  $<${_tickerlux_optimised}:-U_FORTIFY_SOURCE> $<${_tickerlux_optimised}:-D_FORTIFY_SOURCE=2>)
add_link_options(LINKER:-z,relro,-z,now)
