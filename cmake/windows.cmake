# The Windows side of the build: the plug-in DLL, its static core, tests under Wine.

# GoogleTest cross-built from its sources; its own warnings are not ours. Debian ships the
# sources in the googletest package (its CMake package describes the native libraries only);
# another copy can be named with -DQUILL_GOOGLETEST_SOURCE_DIR=<folder>.
find_path(QUILL_GOOGLETEST_SOURCE_DIR googletest/include/gtest/gtest.h
          PATHS /usr/src/googletest NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
          DOC "GoogleTest's source tree, cross-built for the tests")
if(NOT QUILL_GOOGLETEST_SOURCE_DIR)
    message(FATAL_ERROR "GoogleTest's sources were not found: install Debian's googletest "
                        "package (script/setup does) or set QUILL_GOOGLETEST_SOURCE_DIR.")
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUILL_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Everything we build links the runtime statically, so the DLL and the test programs
# need nothing but system DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_options(-Wall -Wextra -Werror)
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX
                        STRICT)
target_compile_options(quillcheck_pure PRIVATE -Wall -Wextra -Werror)

# The JSON package's header folder is the build machine's /usr/include, which must not be
# on the cross include path (its native C headers would shadow MinGW's): so the package's
# target is not linked, and its headers are reached through a folder of their own.
get_target_property(QUILL_JSON_PACKAGE_INCLUDE nlohmann_json::nlohmann_json
                    INTERFACE_INCLUDE_DIRECTORIES)
find_path(NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS ${QUILL_JSON_PACKAGE_INCLUDE}
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(QUILL_JSON_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${QUILL_JSON_INCLUDE})
file(CREATE_LINK ${NLOHMANN_JSON_INCLUDE}/nlohmann ${QUILL_JSON_INCLUDE}/nlohmann SYMBOLIC)
add_library(nlohmann_json_headers INTERFACE)
target_include_directories(nlohmann_json_headers SYSTEM INTERFACE ${QUILL_JSON_INCLUDE})

# All plug-in logic; the DLL and the tests link it.
add_library(quillcheck_core STATIC)
target_include_directories(quillcheck_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quillcheck_core PUBLIC quillcheck_pure nlohmann_json_headers
    comctl32 comdlg32 shlwapi gdi32 user32 kernel32)

# The module's resources, as an object library so that window tests can link them into
# their own executable.
add_library(quillcheck_resources OBJECT resources/quillcheck.rc)
target_include_directories(quillcheck_resources PRIVATE ${CMAKE_SOURCE_DIR})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

add_subdirectory(common)
add_subdirectory(process)
add_subdirectory(config)
add_subdirectory(mail)
add_subdirectory(checks)
add_subdirectory(lint)
add_subdirectory(view)
add_subdirectory(plugin)
add_subdirectory(tools)

enable_testing()
add_subdirectory(tests)
add_subdirectory(bench)
