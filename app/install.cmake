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
# Every program that exists in this build; the Debian package takes whatever
# is installed here, with a manual page for each.
set(_programs orvane)
foreach(program orvane-sim orvane-cli)
  if(TARGET ${program})
    list(APPEND _programs ${program})
  endif()
endforeach()
install(TARGETS ${_programs} RUNTIME DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR})
install(FILES ${ORVANE_HELP_FILE} DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR})
# An example unit for recording without a window, one instance per device.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/examples/orvane-record@.service
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvane/examples)
install(DIRECTORY ${ORVANE_HELP_PAGES_DIR}/ DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR}/help)
# The alarm sound lies beside the program too, in the build tree as well.
configure_file(${CMAKE_CURRENT_LIST_DIR}/resources/alarm.wav ${CMAKE_BINARY_DIR}/app/alarm.wav
  COPYONLY)
install(FILES ${CMAKE_BINARY_DIR}/app/alarm.wav DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR})

# Relative links, so that the tree can be installed under any prefix.
file(RELATIVE_PATH _bin_to_programs ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_LIBDIR}/orvane)
if(IS_ABSOLUTE ${CMAKE_INSTALL_BINDIR})
  set(_bin_dest "\$ENV{DESTDIR}${CMAKE_INSTALL_BINDIR}")
else()
  set(_bin_dest "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}")
endif()
foreach(program IN LISTS _programs)
  install(CODE "
    set(_bin \"${_bin_dest}\")
    message(STATUS \"Installing: \${_bin}/${program} -> ${_bin_to_programs}/${program}\")
    file(MAKE_DIRECTORY \"\${_bin}\")
    file(REMOVE \"\${_bin}/${program}\")
    file(CREATE_LINK \"${_bin_to_programs}/${program}\" \"\${_bin}/${program}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_bin}/${program}\")
  ")
endforeach()

install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/orvane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${_icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
# The data files' type, so that file managers offer the program for them.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/orvane-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME orvane.xml)
# What software centres show, with the release of this version.
set(_metainfo ${CMAKE_BINARY_DIR}/app/org.orvane.orvane.metainfo.xml)
configure_file(${CMAKE_CURRENT_LIST_DIR}/resources/orvane.metainfo.xml.in ${_metainfo} @ONLY)
install(FILES ${_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
