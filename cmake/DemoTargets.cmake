# demo_warnings(TARGET): the project's warnings, as errors, for one target of ours (third-party
# code built into the tree is left alone).
function(demo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# demo_library(NAME DIR [EXCLUDE file...] [DEPS target...]): a static library of every .cpp in DIR
# (an interface library while DIR has none), with src/ as its include root.
function(demo_library name dir)
  cmake_parse_arguments(arg "" "" "EXCLUDE;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
  foreach(excluded IN LISTS arg_EXCLUDE)
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${dir}/${excluded})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    demo_warnings(${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${arg_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${arg_DEPS})
  endif()
endfunction()

# demo_embed(NAME VARIABLE FILE [VARIABLE FILE]...): a library that defines each VARIABLE as an
# EmbeddedFile holding the bytes of FILE (relative to the source tree).
function(demo_embed name)
  set(sources)
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args variable input)
    set(output ${CMAKE_BINARY_DIR}/embedded/${variable}.cpp)
    set(input_path ${PROJECT_SOURCE_DIR}/${input})
    # A file that appears later re-runs the configure step through this glob.
    get_filename_component(input_dir ${input_path} DIRECTORY)
    get_filename_component(input_ext ${input_path} LAST_EXT)
    file(GLOB unused CONFIGURE_DEPENDS ${input_dir}/*${input_ext})
    set(input_dependency)
    if(EXISTS ${input_path})
      set(input_dependency ${input_path})
    endif()
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${input_path} -DOUTPUT=${output} -DVARIABLE=${variable}
              -P ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
      DEPENDS ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake ${input_dependency}
      COMMENT "Embedding ${input}")
    list(APPEND sources ${output})
  endwhile()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
