# Third-party libraries: libpng and libjpeg for the image readers, GoogleTest and
# Google Benchmark for the test and benchmark programs.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
if(MORVESSAN_TESTS AND NOT TARGET GTest::gtest)
  find_package(GTest REQUIRED)
endif()
if(MORVESSAN_BENCH)
  find_package(benchmark REQUIRED)
endif()
