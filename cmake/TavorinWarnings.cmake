# Settings every target of the project itself gets: the warnings, as errors
# when TAVORIN_WARNINGS_AS_ERRORS is on, and, when asked for, the sanitizers.
function(tavorin_project_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(TAVORIN_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(TAVORIN_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()
