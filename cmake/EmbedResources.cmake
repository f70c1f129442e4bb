# Compiles the pictures listed in a manifest into a program outside Windows (where
# the resource compiler does this). Manifest lines: "<id> <TYPE> <file>", files
# relative to the manifest; blank lines and lines starting with # are ignored.

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode: write OUTPUT (a .cpp with the bytes and the table) from MANIFEST.
  get_filename_component(base ${MANIFEST} DIRECTORY)
  file(STRINGS ${MANIFEST} lines)
  set(arrays "")
  set(entries "")
  set(n 0)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    separate_arguments(fields UNIX_COMMAND "${line}")
    list(GET fields 0 id)
    list(GET fields 1 type)
    list(GET fields 2 file)
    file(READ ${base}/${file} hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const std::uint8_t kResource${n}[] = {${bytes}};\n")
    string(APPEND entries "    {${id}, \"${type}\", kResource${n}, ${size}},\n")
    math(EXPR n "${n} + 1")
  endforeach()
  if(n EQUAL 0)
    set(table "std::span<const VXBuiltInResource> vxBuiltInResources() {\n    return {};\n}\n")
  else()
    set(table "const VXBuiltInResource kTable[] = {\n${entries}};\n\n} // namespace\n\nstd::span<const VXBuiltInResource> vxBuiltInResources() {\n    return kTable;\n}\n")
    set(arrays "namespace {\n\n${arrays}\n")
  endif()
  file(WRITE ${OUTPUT}.new "// Generated at build time from resources/images.list: the pictures compiled\n// into the program.\n#include \"VXLib/VXResources.h\"\n\nnamespace morvessan {\n\n${arrays}${table}\n} // namespace morvessan\n")
  file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
  file(REMOVE ${OUTPUT}.new)
  return()
endif()

# morvessan_embed_resources(<target> <manifest>): adds the generated table to <target>.
function(morvessan_embed_resources target manifest)
  set(output ${CMAKE_BINARY_DIR}/generated/BuiltInResources.cpp)
  get_filename_component(base ${manifest} DIRECTORY)
  file(STRINGS ${manifest} lines)
  set(depends ${manifest})
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    separate_arguments(fields UNIX_COMMAND "${line}")
    list(GET fields 2 file)
    list(APPEND depends ${base}/${file})
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manifest})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -DOUTPUT=${output} -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${depends} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Compiling listed resources into the program"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
