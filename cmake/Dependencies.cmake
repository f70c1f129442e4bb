# Third-party libraries: libpng and libjpeg for the image readers, libexif for the
# EXIF blocks pictures carry, libdeflate for small PNGs, GoogleTest and Google
# Benchmark for the test and benchmark programs.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_path(MORVESSAN_EXIF_INCLUDE_DIR libexif/exif-data.h REQUIRED)
find_library(MORVESSAN_EXIF_LIBRARY NAMES exif REQUIRED)
add_library(Exif::Exif UNKNOWN IMPORTED)
set_target_properties(Exif::Exif PROPERTIES IMPORTED_LOCATION "${MORVESSAN_EXIF_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${MORVESSAN_EXIF_INCLUDE_DIR}")
# libdeflate for the smallest PNG level (its whole-buffer encoder on each strip).
find_path(MORVESSAN_DEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
find_library(MORVESSAN_DEFLATE_LIBRARY NAMES deflate REQUIRED)
add_library(Deflate::Deflate UNKNOWN IMPORTED)
set_target_properties(Deflate::Deflate PROPERTIES IMPORTED_LOCATION "${MORVESSAN_DEFLATE_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${MORVESSAN_DEFLATE_INCLUDE_DIR}")
if(MORVESSAN_TESTS AND NOT TARGET GTest::gtest)
  find_package(GTest REQUIRED)
endif()
if(MORVESSAN_BENCH)
  find_package(benchmark REQUIRED)
endif()
