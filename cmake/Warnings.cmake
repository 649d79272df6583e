# One place for the project's warning flags.
function(tickerlux_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion $<$<BOOL:${TICKERLUX_WERROR}>:-Werror>)
endfunction()
