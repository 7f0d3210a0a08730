# depth_family_plugin(Name bits): one member of the bit-depth family, built
# from the shared source and panel in this folder with DEPTH_OUT_BITS=bits.
# Included by Dither16/, Dither8/ and Bits24/ (each keeps its own .def).
set(DEPTH_FAMILY_DIR ${CMAKE_CURRENT_LIST_DIR})
function(depth_family_plugin name bits)
  if(NOT WIN32)
    return()
  endif()
  if(bits EQUAL 24)
    set(description "conversion to 24 bits")
  else()
    set(description "conversion to ${bits} bits with dither")
  endif()
  cb_plugin(${name} DESCRIPTION "${description}"
    SOURCES ${DEPTH_FAMILY_DIR}/depth_plugin.cpp ${DEPTH_FAMILY_DIR}/depth_panel.rc
    DEF ${CMAKE_CURRENT_SOURCE_DIR}/${name}.def
    LIBS bit_depth_core)
  target_compile_definitions(${name} PRIVATE DEPTH_OUT_BITS=${bits})
  target_include_directories(${name} PRIVATE ${DEPTH_FAMILY_DIR})
endfunction()
