# The program is built in layers, each a library that links only the layers
# below it. A layer's headers are reached as "<layer>/<name>.h" through an
# include root of its own that holds nothing but a link to the layer's folder,
# so a file can include the headers of its own layer and of the layers it
# links, and no others: a wrong include fails to build. tests/layers proves it.
function(vorlindo_layer target)
  set(root ${CMAKE_BINARY_DIR}/include_roots/${target})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC vorlindo_options)
endfunction()
