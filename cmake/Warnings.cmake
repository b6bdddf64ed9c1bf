# Every target of the project is built with these warnings.
function(tarvosen_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
