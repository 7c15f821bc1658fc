# The native side: platform-free text logic, built either with sanitizers and libFuzzer
# (QUILLCHECK_FUZZ=ON, clang) or optimised for the benchmarks.
option(QUILLCHECK_FUZZ "Build the fuzz targets with ASan and UBSan" OFF)
target_compile_options(quillcheck_pure PRIVATE -Wall -Wextra -Werror)

if(QUILLCHECK_FUZZ)
    add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -g)
    add_link_options(-fsanitize=address,undefined)
endif()

add_subdirectory(common)
add_subdirectory(config)
add_subdirectory(mail)
add_subdirectory(lint)
add_subdirectory(view)

if(QUILLCHECK_FUZZ)
    add_subdirectory(tests/fuzz)
else()
    add_subdirectory(bench)
endif()
