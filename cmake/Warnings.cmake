# Warnings for the project's own targets; third-party headers come in as system headers.
function(vintrel_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                           -Wnon-virtual-dtor -Wcast-align -Wformat=2)
  if(VINTREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# GCC 12 reports false -Wrestrict warnings from inside std::string when optimising
# (assignments of short literals); GCC 13 no longer does.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
