# cmake -DLUPDATE=... "-DLUPDATE_ARGS=..." "-DTRANSLATIONS=a.ts;b.ts" -DWORK_DIR=... -P check.cmake
#
# Fails when a text of the sources is missing from a translation, or is there
# without its translation: each .ts file is brought up to date with the
# sources in a copy, and the copy may then hold no unfinished message.

set(_failed 0)
foreach(ts IN LISTS TRANSLATIONS)
  get_filename_component(_name ${ts} NAME)
  set(_copy ${WORK_DIR}/${_name})
  file(MAKE_DIRECTORY ${WORK_DIR})
  file(COPY_FILE ${ts} ${_copy})
  execute_process(COMMAND ${LUPDATE} ${LUPDATE_ARGS} -ts ${_copy} RESULT_VARIABLE _status
    OUTPUT_QUIET ERROR_QUIET)
  if(NOT _status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${_name}")
  endif()
  file(READ ${_copy} _text)
  # A ";" in a text would split CMake's list of matches: kept aside meanwhile.
  string(ASCII 1 _semicolon)
  string(REPLACE ";" "${_semicolon}" _text "${_text}")
  string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*(<comment>[^<]*</comment>[ \n]*)?<translation type=\"unfinished\""
    _unfinished "${_text}")
  foreach(entry IN LISTS _unfinished)
    string(REGEX REPLACE "^<source>([^<]*)</source>.*" "\\1" _source "${entry}")
    string(REPLACE "${_semicolon}" ";" _source "${_source}")
    message(SEND_ERROR "${_name}: not translated: \"${_source}\"")
    set(_failed 1)
  endforeach()
endforeach()
if(_failed)
  message(FATAL_ERROR "Translate the texts above in translations/ (cmake --build build --target "
    "orvane_lupdate adds new texts to the .ts files).")
endif()
