# Warnings every target of the project compiles with; errors when BVR_WERROR is on.
function(bvr_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Wnon-virtual-dtor -Woverloaded-virtual)
  if(BVR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
