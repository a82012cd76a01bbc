# Runs at install time: the first-run flag and the user's menu entry and icons.
get_filename_component(_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(_root "$ENV{DESTDIR}${_prefix}")

# A fresh folder starts as a first run; installing again over a used one keeps its flag.
if(NOT EXISTS "${_root}/Config.ini")
  message(STATUS "Installing: ${_root}/Config.ini")
  file(WRITE "${_root}/Config.ini" "0\r\n")
else()
  message(STATUS "Up-to-date: ${_root}/Config.ini (kept: it holds the first-run flag)")
endif()
file(CHMOD "${_root}/Config.ini" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(CHMOD "${_root}" "${_root}/Data" DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Relative values of XDG_DATA_HOME are to be ignored.
set(_data "$ENV{XDG_DATA_HOME}")
if(NOT IS_ABSOLUTE "${_data}")
  if("$ENV{HOME}" STREQUAL "")
    message(FATAL_ERROR "Neither XDG_DATA_HOME nor HOME is set: no place for the menu entry")
  endif()
  set(_data "$ENV{HOME}/.local/share")
endif()
set(_data "$ENV{DESTDIR}${_data}")

file(INSTALL "${KORVANE_ICON_DIR}/hicolor" DESTINATION "${_data}/icons")

# The entry's Exec is one quoted argument: inside quotes \ " ` $ are escaped with a
# backslash, % is doubled, and then the whole value gets the string escapes (\ -> \\).
set(_exe "${_prefix}/korvane")
if(_exe MATCHES "[\n\r\t]")
  message(FATAL_ERROR "The install prefix holds a line break or tab, which a menu entry cannot name")
endif()
string(REPLACE [[\]] [[\\]] _arg "${_exe}")
string(REPLACE [["]] [[\"]] _arg "${_arg}")
string(REPLACE [[`]] [[\`]] _arg "${_arg}")
string(REPLACE [[$]] [[\$]] _arg "${_arg}")
string(REPLACE [[%]] [[%%]] _arg "${_arg}")
string(REPLACE [[\]] [[\\]] _exec "\"${_arg}\"")
string(REPLACE [[\]] [[\\]] _tryexec "${_exe}")

set(_entry "${_data}/applications/korvane.desktop")
message(STATUS "Installing: ${_entry}")
file(WRITE "${_entry}" "[Desktop Entry]
Type=Application
Version=1.5
Name=Korvane 2.1
GenericName=Music and file copier
Comment=Move music and other files between the computer and a removable drive
Exec=${_exec}
TryExec=${_tryexec}
Icon=korvane
Terminal=false
Categories=AudioVideo;Utility;
Keywords=MP3;player;flash drive;USB;copy;
")
