# The fuzz build: every library is built with the coverage hooks libFuzzer
# steers by and with the address and undefined-behaviour checks, so that a
# fault anywhere below a fuzz target stops it with a report. Only clang
# provides libFuzzer; tools/fuzz configures a build folder of its own.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VORLINDO_FUZZ needs clang (CXX=clang++); tools/fuzz sets it up")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
