# cmake --install lays out the program folder at the prefix (the program, Config.ini,
# Data/) and gives the user a menu entry and icon under $XDG_DATA_HOME (or
# ~/.local/share). The program rewrites Config.ini and Data/Path.ini, so everything
# it writes stays writable by the person who installed it.

set(KORVANE_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(_iconargs)
set(_icons)
foreach(size 48 128)
  set(_png ${KORVANE_ICON_DIR}/hicolor/${size}x${size}/apps/korvane.png)
  list(APPEND _iconargs ${size} ${_png})
  list(APPEND _icons ${_png})
endforeach()
add_custom_command(OUTPUT ${_icons}
  COMMAND korvane_iconart ${_iconargs}
  DEPENDS korvane_iconart
  COMMENT "Drawing the menu icons"
  VERBATIM)
add_custom_target(korvane_icons ALL DEPENDS ${_icons})

set(_dirs OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS korvane RUNTIME DESTINATION . PERMISSIONS ${_dirs})
# Path.ini is the person's remembered folder from running the build, not part of a fresh folder.
install(DIRECTORY ${KORVANE_PROGRAM_DIR}/Data DESTINATION .
  DIRECTORY_PERMISSIONS ${_dirs}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  PATTERN Path.ini EXCLUDE)
install(CODE "set(KORVANE_ICON_DIR \"${KORVANE_ICON_DIR}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install-user.cmake)
