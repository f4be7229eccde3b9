# Every library names the headers it offers, and a target sees only the headers of the libraries
# it links: for each library the build tree holds links to just its headers under their names
# from the source root ("platform/dialogs.h"), and that folder is the library's include directory.
# An include across a layer that is not linked therefore fails to build.
#
# vexo_headers(target [DIRS dir...] [FILES file...])
#   DIRS:  folders relative to the source root whose *.h all belong to the target;
#   TREES: the same with the subfolders (tests, benchmarks);
#   FILES: single headers, relative to the current source folder.
# A target may call it more than once. The links are made anew at each configure run, so a
# header moved to another library stops being seen through the old one.
file(REMOVE_RECURSE ${CMAKE_BINARY_DIR}/headers)

function(vexo_headers target)
  cmake_parse_arguments(H "" "" "DIRS;TREES;FILES" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/headers/${target})
  set(names)
  foreach(d ${H_DIRS})
    file(GLOB found CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${d}/*.h)
    list(APPEND names ${found})
  endforeach()
  foreach(d ${H_TREES})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${d}/*.h)
    list(APPEND names ${found})
  endforeach()
  foreach(f ${H_FILES})
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${f})
    list(APPEND names ${rel})
  endforeach()
  foreach(rel ${names})
    get_filename_component(dir ${root}/${rel} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${rel} ${root}/${rel} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
