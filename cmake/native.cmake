# The native side: platform-free text logic, built either with sanitizers and libFuzzer
# (QUILLCHECK_FUZZ=ON, clang) or optimised for the benchmarks.
option(QUILLCHECK_FUZZ "Build the fuzz targets with ASan and UBSan" OFF)
target_compile_options(quillcheck_pure PRIVATE -Wall -Wextra -Werror)
target_link_libraries(quillcheck_pure PUBLIC nlohmann_json::nlohmann_json)

if(QUILLCHECK_FUZZ)
    set(QUILL_SANITIZE -fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -g)
    add_compile_options(${QUILL_SANITIZE})
    add_link_options(-fsanitize=address,undefined)
    # quillcheck_pure was created before these directory options: give it them itself, so
    # the parsers the fuzz targets link are instrumented too.
    target_compile_options(quillcheck_pure PRIVATE ${QUILL_SANITIZE})
endif()

add_subdirectory(common)
add_subdirectory(process)
add_subdirectory(config)
add_subdirectory(mail)
add_subdirectory(checks)
add_subdirectory(lint)
add_subdirectory(view)

if(QUILLCHECK_FUZZ)
    add_subdirectory(tests/fuzz)
else()
    add_subdirectory(bench)
endif()
