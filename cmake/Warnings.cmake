# One place for the project's warning flags.
function(tickerlux_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wcast-qual -Wformat=2 -Wnull-dereference -Wundef
    # Faults of class hierarchies only C++ has; old-style declarations only C allows.
    $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Woverloaded-virtual>
    $<$<COMPILE_LANGUAGE:C>:-Wstrict-prototypes>
    $<$<BOOL:${TICKERLUX_WERROR}>:-Werror>)
endfunction()
