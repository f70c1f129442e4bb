# What `cmake --install` puts under the prefix on Linux, laid out as distributions
# expect, and the Debian package made from it (target `package`).
include(GNUInstallDirs)

# The program finds these through its own location (PREFIX/bin/../share/morvessan),
# so an installed prefix still works when it is moved.
set(MORVESSAN_DATA_DESTINATION share/morvessan)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/presets/ DESTINATION ${MORVESSAN_DATA_DESTINATION}/presets
  FILES_MATCHING PATTERN "*.txt")
install(DIRECTORY ${CMAKE_BINARY_DIR}/resources/textures/ DESTINATION ${MORVESSAN_DATA_DESTINATION}/textures
  FILES_MATCHING PATTERN "*.png")
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION share/doc/morvessan)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION share/doc/morvessan RENAME copyright)

# The bash completion comes from the program itself, so it always knows its options.
set(completion ${CMAKE_BINARY_DIR}/completion/morvessan)
add_custom_command(OUTPUT ${completion}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:morvessan> -DOUTPUT=${completion}
    -P ${CMAKE_SOURCE_DIR}/cmake/WriteCompletion.cmake
  DEPENDS morvessan ${CMAKE_SOURCE_DIR}/cmake/WriteCompletion.cmake VERBATIM)
add_custom_target(morvessan_completion ALL DEPENDS ${completion})
install(FILES ${completion} DESTINATION share/bash-completion/completions)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvessan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Morvessan developers")
set(CPACK_PACKAGE_CONTACT "The Morvessan developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "procedural textures (clouds, fire, marble, wood) from the command line")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Renders seeded multi-octave Perlin-noise textures into new pictures or over\n the pixels of PNG, JPEG and bitmap files, with a library of presets.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the program links come from dpkg-shlibdeps, never a list kept by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(MORVESSAN_PYTHON)
  # The Python module is built for Debian's interpreter and hands out NumPy arrays.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}), python3-numpy")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
