# TARVOSEN_SANITIZE=address,undefined (or thread) instruments every target.
if(TARVOSEN_SANITIZE)
  add_compile_options(-fsanitize=${TARVOSEN_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${TARVOSEN_SANITIZE})
endif()
