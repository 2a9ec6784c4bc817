# Warnings for the project's own targets; third-party headers come in as system headers.
function(vintrel_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                           -Wnon-virtual-dtor -Wcast-align -Wformat=2)
  if(VINTREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
