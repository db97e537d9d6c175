# winscout_pack_texts(TARGET TEXTS NAME)
#
# Packs the texts of TEXTS (a file beside the calling CMakeLists.txt) at build
# time with cmake/pack_text.py into generated/<dir>/<TEXTS' stem>.inc, which
# the target's sources include as "<dir>/<stem>.inc": a table of NAME entries
# and the packed bytes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(winscout_pack_texts target texts name)
  get_filename_component(stem ${texts} NAME_WE)
  get_filename_component(dir ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
  set(packed ${generated}/${dir}/${stem}.inc)
  add_custom_command(OUTPUT ${packed}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/pack_text.py
            ${CMAKE_CURRENT_SOURCE_DIR}/${texts} ${packed} ${name}
    DEPENDS ${texts} ${PROJECT_SOURCE_DIR}/cmake/pack_text.py
    COMMENT "Packing ${texts}"
    VERBATIM)
  target_sources(${target} PRIVATE ${packed})
  target_include_directories(${target} PRIVATE ${generated})
endfunction()
