# Applies AddressSanitizer and UndefinedBehaviorSanitizer to every target when
# GRIDCLIP_SANITIZE is on. Undefined behaviour aborts instead of printing and going on.
if(GRIDCLIP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
