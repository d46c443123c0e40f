# AddressSanitizer and UBSan, for the sanitizer build and the fuzz targets alike.
# The library's own checks catch a span or vector read past its end even where
# the memory behind it belongs to a larger array.
set(TRELVANO_SANITIZER_COMPILE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
                                     -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS)
set(TRELVANO_SANITIZER_LINK_FLAGS -fsanitize=address,undefined)

# Warnings are set per target, never through CMAKE_CXX_FLAGS, so that third-party
# code pulled in later is not forced to compile cleanly under our rules.
function(trelvano_target_defaults target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive-)
    if(TRELVANO_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(TRELVANO_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
  if(TRELVANO_SANITIZE)
    target_compile_options(${target} PRIVATE ${TRELVANO_SANITIZER_COMPILE_FLAGS})
    target_link_options(${target} PRIVATE ${TRELVANO_SANITIZER_LINK_FLAGS})
  endif()
  if(TRELVANO_TSAN)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
endfunction()
