# embed_files(TARGET name FILES a b c)
# Compiles the given files into the target as byte arrays, reachable at run
# time through the toolkit's resource table by their file names.
function(embed_files target)
  cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${out} "-DINPUTS=${ARG_FILES}"
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedWrite.cmake
    DEPENDS ${ARG_FILES} ${PROJECT_SOURCE_DIR}/cmake/EmbedWrite.cmake
    COMMENT "Embedding resources into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
