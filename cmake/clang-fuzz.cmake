# The host configuration for the fuzz targets: clang with libFuzzer's
# coverage in every library, the sanitizers of the host build on top.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_FLAGS_INIT "-fsanitize=fuzzer-no-link")
set(CMAKE_CXX_FLAGS_INIT "-fsanitize=fuzzer-no-link")
set(SOMV_FUZZ ON CACHE BOOL "Build the fuzz targets instead of the tests")
