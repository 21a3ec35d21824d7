# Compiles the help project with chmcmd and checks the result before it
# replaces OUTPUT. Run with cmake -P; inputs:
#   CHMCMD      the chmcmd program
#   SOURCE_DIR  folder of the project, its pages and contents files
#   SOURCES     the files to compile (the .hhp first), relative to SOURCE_DIR
#   PAGES       the HTML pages that must end up in the file
#   STAGE_DIR   a scratch folder
#   OUTPUT      where the finished help.chm goes

cmake_minimum_required(VERSION 3.25)

foreach(var CHMCMD SOURCE_DIR SOURCES PAGES STAGE_DIR OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "compilechm.cmake: ${var} is not set")
  endif()
endforeach()

# chmcmd writes next to the project file, so compile a copy.
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})
foreach(f IN LISTS SOURCES)
  file(COPY ${SOURCE_DIR}/${f} DESTINATION ${STAGE_DIR})
endforeach()
list(GET SOURCES 0 project)

execute_process(
  COMMAND ${CHMCMD} ${project}
  WORKING_DIRECTORY ${STAGE_DIR}
  RESULT_VARIABLE rc
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
# chmcmd reports broken links and missing files as warnings and still writes a
# file; a help file with dead links is not one to ship.
if(NOT rc EQUAL 0 OR out MATCHES "(Warning|Error):")
  message(FATAL_ERROR "chmcmd did not compile the help cleanly (exit ${rc}):\n${out}${err}")
endif()

set(chm ${STAGE_DIR}/help.chm)
if(NOT EXISTS ${chm})
  message(FATAL_ERROR "chmcmd wrote no help.chm:\n${out}${err}")
endif()

# An ITSF file of version 3: the signature, the version, and the directory
# section (whose offset the header gives) starting with its own signature.
file(SIZE ${chm} size)
if(size LESS 1024)
  message(FATAL_ERROR "${chm} is only ${size} bytes long")
endif()
file(READ ${chm} header LIMIT 96 HEX)
string(SUBSTRING "${header}" 0 8 magic)
string(SUBSTRING "${header}" 8 8 version)
if(NOT magic STREQUAL "49545346" OR NOT version STREQUAL "03000000")
  message(FATAL_ERROR "${chm} is not a compiled help file (signature ${magic}, version ${version})")
endif()
# Offset of header section 1 (the directory): 8 bytes little-endian at 0x48.
set(dir_offset 0)
foreach(i RANGE 7 0 -1)
  math(EXPR pos "(72 + ${i}) * 2")
  string(SUBSTRING "${header}" ${pos} 2 byte)
  math(EXPR dir_offset "${dir_offset} * 256 + 0x${byte}")
endforeach()
if(dir_offset GREATER_EQUAL size)
  message(FATAL_ERROR "${chm}: directory offset ${dir_offset} lies beyond the file (${size} bytes)")
endif()
file(READ ${chm} dir_magic OFFSET ${dir_offset} LIMIT 4 HEX)
if(NOT dir_magic STREQUAL "49545350")
  message(FATAL_ERROR "${chm}: no directory at offset ${dir_offset}")
endif()

# Every page is listed in the directory: its name, preceded by its length
# (one byte for names shorter than 128 bytes).
file(READ ${chm} content HEX)
foreach(page IN LISTS PAGES)
  string(LENGTH "/${page}" name_length)
  math(EXPR name_length "${name_length}" OUTPUT_FORMAT HEXADECIMAL)
  string(REGEX REPLACE "^0x" "" length_hex "${name_length}")
  string(LENGTH "${length_hex}" digits)
  if(digits EQUAL 1)
    set(length_hex "0${length_hex}")
  endif()
  string(HEX "/${page}" name_hex)
  set(entry "${length_hex}${name_hex}")
  # A match must start on a byte, not in the middle of one.
  set(found FALSE)
  set(offset 0)
  while(NOT found)
    string(SUBSTRING "${content}" ${offset} -1 rest)
    string(FIND "${rest}" "${entry}" at)
    if(at LESS 0)
      break()
    endif()
    math(EXPR offset "${offset} + ${at}")
    math(EXPR odd "${offset} % 2")
    if(odd EQUAL 0)
      set(found TRUE)
    else()
      math(EXPR offset "${offset} + 1")
    endif()
  endwhile()
  if(NOT found)
    message(FATAL_ERROR "${chm} does not contain ${page}")
  endif()
endforeach()

get_filename_component(out_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
file(COPY_FILE ${chm} ${OUTPUT})
