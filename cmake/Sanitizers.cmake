# SPDX-License-Identifier: MIT
# Applied to everything, so libraries and tests share one instrumented runtime.
if(KESTROVA_SANITIZE)
  add_compile_options(-fsanitize=${KESTROVA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all -g)
  add_link_options(-fsanitize=${KESTROVA_SANITIZE})
endif()
