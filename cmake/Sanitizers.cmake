# AddressSanitizer and UndefinedBehaviorSanitizer for every target of the
# build (option ZEDEDE_SANITIZERS). Undefined behaviour stops the program at
# the first report, as a memory error does. Tests get the run-time options in
# ZEDEDE_SANITIZER_TEST_ENV (see zedede_qtests).

set(_zedede_sanitize -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
add_compile_options(${_zedede_sanitize} -O1 -g1)
add_link_options(${_zedede_sanitize})

# Leaks are reported; the suppressions name only leaks inside system
# libraries (see the file).
set(_supp ${CMAKE_SOURCE_DIR}/tests/sanitizers/lsan.supp)
set(ZEDEDE_SANITIZER_TEST_ENV
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
    "LSAN_OPTIONS=suppressions=${_supp}:print_suppressions=0"
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
    CACHE INTERNAL "")
