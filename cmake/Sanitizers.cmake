# Applies AddressSanitizer and UndefinedBehaviorSanitizer to every target when
# GRIDCLIP_SANITIZE is on. Undefined behaviour aborts instead of printing and going on.
if(GRIDCLIP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# GRIDCLIP_BUILD_FUZZERS instruments every target for libFuzzer's coverage feedback and runs it
# under the same sanitizers; the fuzz targets themselves link libFuzzer's main (tests/fuzz).
if(GRIDCLIP_BUILD_FUZZERS)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  # Text blocks of 61 bytes instead of 1 MB: the short fuzz inputs then cross block ends.
  add_compile_definitions(GRIDCLIP_FUZZ_BLOCK_SIZE=61)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
