# Checks the note button pictures: for every editor note name but the last, "S_" (treble) and
# "H_" (bass) + name + ".png", each a 104 x 224 PNG, and nothing else in the folder.
# Usage: cmake -DNOTES_DIR=<folder> -DPHRASE_HEADER=<phrase_builder.h> -P check_note_pictures.cmake
cmake_minimum_required(VERSION 3.25)

# Editor note names, read from the cdArr initialiser; the buttons stop before the last one.
include(${CMAKE_CURRENT_LIST_DIR}/read_quoted_names.cmake)
read_quoted_names(names ${PHRASE_HEADER} cdArr "[A-G][0-9]#?" 24)
list(REMOVE_AT names 23)

file(GLOB pngs "${NOTES_DIR}/*.png")
list(LENGTH pngs png_count)
if(NOT png_count EQUAL 46)
  message(FATAL_ERROR "${NOTES_DIR} holds ${png_count} pictures, expected 46")
endif()
foreach(n ${names})
  foreach(prefix S_ H_)
    set(png "${NOTES_DIR}/${prefix}${n}.png")
    if(NOT EXISTS "${png}")
      message(FATAL_ERROR "missing picture ${png}")
    endif()
    # The PNG signature, then the IHDR chunk with width and height as 32-bit big-endian.
    file(READ "${png}" head LIMIT 24 HEX)
    string(SUBSTRING "${head}" 0 16 signature)
    string(SUBSTRING "${head}" 32 8 width_hex)
    string(SUBSTRING "${head}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL 104 OR NOT height EQUAL 224)
      message(FATAL_ERROR "${png} is no 104 x 224 PNG (${width} x ${height})")
    endif()
  endforeach()
endforeach()
