if(SONGPICKER_SANITIZE)
  set(sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${sanitize_flags})
  add_link_options(${sanitize_flags})
endif()

# The fuzz build gives every library libFuzzer's coverage hooks and the sanitizers,
# so that the fuzz targets are guided by, and check, the code they call.
if(SONGPICKER_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(fuzz_instrumentation -fsanitize=fuzzer-no-link,address,undefined
      -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${fuzz_instrumentation})
  add_link_options(-fsanitize=address,undefined)
endif()
