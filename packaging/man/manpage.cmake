# cmake -DHELP2MAN=... -DPROGRAM=... [-DCOMMANDS="a;b" | -DCOMMANDS=*] -DINCLUDE=... -DVERSION=...
#       -DSOURCE_DIR=... -DOUTPUT=... -P manpage.cmake
#
# Writes the manual page of PROGRAM from its --help with help2man. With
# COMMANDS, the help of each command (PROGRAM COMMAND --help) follows as a
# section of its own. The help is the one any user sees on a computer without
# a configuration (defaults, ~ for the home folder), in English, without a
# display; the date is SOURCE_DATE_EPOCH's, or the last commit's.

get_filename_component(_name ${PROGRAM} NAME)
set(ENV{HOME} "~")
unset(ENV{XDG_CONFIG_HOME})
unset(ENV{XDG_STATE_HOME})
unset(ENV{LANGUAGE})
set(ENV{LC_ALL} C.UTF-8)
set(ENV{QT_QPA_PLATFORM} offscreen)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE _git)
  if(_git EQUAL 0 AND _epoch)
    set(ENV{SOURCE_DATE_EPOCH} ${_epoch})
  endif()
endif()

get_filename_component(_work ${OUTPUT}.d ABSOLUTE)
file(REMOVE_RECURSE ${_work})
file(MAKE_DIRECTORY ${_work})

# help2man reads the help of a stand-in of the same name that prints the
# program's help and those of its commands.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE _help ERROR_QUIET
  RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${_status}")
endif()
# With COMMANDS "*", the commands are those the help lists under "Commands:".
set(_commands ${COMMANDS})
if(COMMANDS STREQUAL "*")
  set(_commands)
  string(REGEX MATCH "\nCommands:\n(  [^\n]*\n)+" _list "${_help}")
  string(REGEX MATCHALL "\n  [a-z][a-z-]*  " _names "${_list}")
  foreach(entry IN LISTS _names)
    string(STRIP "${entry}" entry)
    list(APPEND _commands ${entry})
  endforeach()
  if(NOT _commands)
    message(FATAL_ERROR "${PROGRAM} --help lists no commands")
  endif()
endif()
foreach(command IN LISTS _commands)
  execute_process(COMMAND ${PROGRAM} ${command} --help OUTPUT_VARIABLE _command_help
    ERROR_QUIET RESULT_VARIABLE _status)
  if(NOT _status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${command} --help failed: ${_status}")
  endif()
  # A section per command ("*name*" is one to help2man), its usage a
  # paragraph of its own, and its lists named after it; the help option is
  # the program's own.
  string(REGEX REPLACE "^Usage: [^\n]*\n" "Usage: ${_name} ${command} [options]\n\n"
    _command_help "${_command_help}")
  string(REGEX REPLACE "\n  -h, --help[^\n]*\n" "\n" _command_help "${_command_help}")
  string(REGEX REPLACE "\n(Options|Arguments):\n" "\n\\1 of ${command}:\n" _command_help
    "${_command_help}")
  string(APPEND _help "\n*${_name} ${command}*\n${_command_help}")
endforeach()
file(WRITE ${_work}/help.txt "${_help}")
file(WRITE ${_work}/${_name}
  "#!/bin/sh\n"
  "[ \"$1\" = --version ] && exec '${PROGRAM}' --version\n"
  "exec cat '${_work}/help.txt'\n")
file(CHMOD ${_work}/${_name} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

set(_include)
if(EXISTS ${INCLUDE})
  set(_include --include ${INCLUDE})
endif()
execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --version-string=${VERSION} --section=1
    --source=Orvane\ ${VERSION} ${_include} --output=${OUTPUT} ${_work}/${_name}
  RESULT_VARIABLE _status)
file(REMOVE_RECURSE ${_work})
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${PROGRAM}")
endif()
