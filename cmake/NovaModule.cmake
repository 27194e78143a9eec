# A module library: the .cpp files listed after SOURCES, or else every .cpp file of the
# folder but main.cpp.
function(nova_module name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES")
  if(arg_SOURCES)
    set(sources ${arg_SOURCES})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  endif()
  if(NOT sources)
    # A folder whose code is still to come still configures.
    set(sources ${PROJECT_BINARY_DIR}/nova_empty.cpp)
    file(WRITE ${sources} "")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
