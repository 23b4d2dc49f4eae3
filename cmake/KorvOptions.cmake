# Compile options shared by every target of the suite.
#
# -ffp-contract=off: stored files hold single-precision results that must
# match bit for bit, so no fused multiply-add may change a rounding.
# -Werror=unused-result: a [[nodiscard]] result (a refused job, say) is
# handled, never dropped.
add_compile_options(-Wall -Wextra -Werror=unused-result -ffp-contract=off)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

set(KORV_SANITIZE "" CACHE STRING "Sanitizer build: empty, 'address' (with undefined) or 'thread'")
set_property(CACHE KORV_SANITIZE PROPERTY STRINGS "" address thread)

if(KORV_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(KORV_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT KORV_SANITIZE STREQUAL "")
  message(FATAL_ERROR "KORV_SANITIZE must be empty, 'address' or 'thread', not '${KORV_SANITIZE}'")
endif()
