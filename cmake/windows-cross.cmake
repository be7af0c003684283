# GoogleTest from Debian's source package, built with the cross compiler.
set(MESHFORGE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${MESHFORGE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# (GoogleTest defines GTest::gtest and GTest::gtest_main itself.)

# CLI11 is header-only: its folder is copied so that no host include folder is searched.
find_path(MESHFORGE_CLI11_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
file(COPY ${MESHFORGE_CLI11_DIR}/CLI DESTINATION ${CMAKE_BINARY_DIR}/cli11)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/cli11)

set(MESHFORGE_CLI_ADAPTERS OFF)
add_subdirectory(tests/core)
add_subdirectory(src/cli)
