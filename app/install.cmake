# Installation: the programs live in a folder of their own together with the
# help file (the program looks for help.chm beside itself), with links to them
# in the bin folder; the desktop finds the entry and the icon in share/.
# Included from the top-level CMakeLists.txt after every subsystem and the
# help file, so that all targets exist.

include(GNUInstallDirs)

# The program's icon in the hicolor layout, drawn by the same code as the
# window's icon.
add_executable(orvane-icons ${CMAKE_CURRENT_LIST_DIR}/writeicons.cpp)
target_link_libraries(orvane-icons PRIVATE orvane_ui)
set(_icon_dir ${CMAKE_BINARY_DIR}/app/icons/hicolor)
set(_icon_files)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND _icon_files ${_icon_dir}/${size}x${size}/apps/orvane.png)
endforeach()
add_custom_command(
  OUTPUT ${_icon_files}
  COMMAND orvane-icons ${_icon_dir}
  DEPENDS orvane-icons
  COMMENT "Drawing the program's icon"
  VERBATIM)
add_custom_target(orvane_icons ALL DEPENDS ${_icon_files})

# Building the program also builds the help file beside it.
add_dependencies(orvane orvane_help)

set(ORVANE_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/orvane)
# Two parts, one Debian package each: orvane-cli (the programs that need no
# display: QtCore, the serial port and the MQTT client) and orvane (the window
# with its help, sound, desktop entry and icons). What names no component
# belongs to the window.
set(_programs orvane)
set(_cli_programs)
foreach(program orvane-cli orvane-sim)
  if(TARGET ${program})
    list(APPEND _cli_programs ${program})
  endif()
endforeach()
install(TARGETS orvane RUNTIME DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR} COMPONENT orvane)
if(_cli_programs)
  install(TARGETS ${_cli_programs} RUNTIME DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR}
    COMPONENT orvane-cli)
endif()
install(FILES ${ORVANE_HELP_FILE} DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR} COMPONENT orvane)
install(DIRECTORY ${ORVANE_HELP_PAGES_DIR}/ DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR}/help
  COMPONENT orvane)
# The alarm sound lies beside the program too, in the build tree as well.
configure_file(${CMAKE_CURRENT_LIST_DIR}/resources/alarm.wav ${CMAKE_BINARY_DIR}/app/alarm.wav
  COPYONLY)
install(FILES ${CMAKE_BINARY_DIR}/app/alarm.wav DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR}
  COMPONENT orvane)

# The recording service, one instance per adapter, the user it runs as, and the
# udev rule that starts it for the adapters marked for recording.
if(TARGET orvane-cli)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvane-record@.service
    DESTINATION lib/systemd/system COMPONENT orvane-cli)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/79-orvane-record.rules
    DESTINATION lib/udev/rules.d COMPONENT orvane-cli)
  install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/orvane-record-instance
    DESTINATION lib/orvane COMPONENT orvane-cli)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvane-cli.sysusers
    DESTINATION lib/sysusers.d RENAME orvane-cli.conf
    COMPONENT orvane-cli)
endif()

# Relative links, so that the tree can be installed under any prefix.
file(RELATIVE_PATH _bin_to_programs ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_LIBDIR}/orvane)
if(IS_ABSOLUTE ${CMAKE_INSTALL_BINDIR})
  set(_bin_dest "\$ENV{DESTDIR}${CMAKE_INSTALL_BINDIR}")
else()
  set(_bin_dest "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}")
endif()
foreach(program IN LISTS _programs _cli_programs)
  set(_component orvane)
  if(program IN_LIST _cli_programs)
    set(_component orvane-cli)
  endif()
  install(CODE "
    set(_bin \"${_bin_dest}\")
    message(STATUS \"Installing: \${_bin}/${program} -> ${_bin_to_programs}/${program}\")
    file(MAKE_DIRECTORY \"\${_bin}\")
    file(REMOVE \"\${_bin}/${program}\")
    file(CREATE_LINK \"${_bin_to_programs}/${program}\" \"\${_bin}/${program}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_bin}/${program}\")
  " COMPONENT ${_component})
endforeach()

# A manual page for every program, made from its --help when it is built (so
# that every option is in it), with the sections of packaging/man/<program>.h2m.
# orvane-cli's takes the help of each command its help lists too.
find_program(ORVANE_HELP2MAN help2man)
if(ORVANE_HELP2MAN)
  set(_man_pages)
  foreach(program IN LISTS _programs _cli_programs)
    set(_page ${CMAKE_BINARY_DIR}/man/${program}.1)
    set(_commands)
    if(program STREQUAL "orvane-cli")
      set(_commands "*")
    endif()
    add_custom_command(
      OUTPUT ${_page}
      COMMAND ${CMAKE_COMMAND}
        -DHELP2MAN=${ORVANE_HELP2MAN}
        -DPROGRAM=$<TARGET_FILE:${program}>
        "-DCOMMANDS=${_commands}"
        -DINCLUDE=${CMAKE_SOURCE_DIR}/packaging/man/${program}.h2m
        -DVERSION=${PROJECT_VERSION}
        -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
        -DOUTPUT=${_page}
        -P ${CMAKE_SOURCE_DIR}/packaging/man/manpage.cmake
      DEPENDS ${program} ${CMAKE_SOURCE_DIR}/packaging/man/${program}.h2m
        ${CMAKE_SOURCE_DIR}/packaging/man/manpage.cmake
      COMMENT "Writing the manual page of ${program}"
      VERBATIM)
    list(APPEND _man_pages ${_page})
    set(_component orvane)
    if(program IN_LIST _cli_programs)
      set(_component orvane-cli)
    endif()
    install(FILES ${_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${_component})
  endforeach()
  add_custom_target(orvane_man_pages ALL DEPENDS ${_man_pages})
else()
  message(STATUS "help2man was not found: no manual pages (apt-get install help2man)")
endif()

install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/orvane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT orvane)
install(DIRECTORY ${_icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
  COMPONENT orvane)
# The data files' type, so that file managers offer the program for them.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/orvane-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME orvane.xml COMPONENT orvane)
# What software centres show, with the release of this version.
set(_metainfo ${CMAKE_BINARY_DIR}/app/org.orvane.orvane.metainfo.xml)
configure_file(${CMAKE_CURRENT_LIST_DIR}/resources/orvane.metainfo.xml.in ${_metainfo} @ONLY)
install(FILES ${_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT orvane)
