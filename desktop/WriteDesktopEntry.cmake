# Runs at install time (cmake --install), when the prefix is final: writes the desktop entry
# with the full path of the installed program, so the menu entry starts this very program
# whether or not its folder is on the PATH of the desktop session. Expects TEMPLATE (the
# entry with @EXEC@ and @TRY_EXEC@), STAGING (a folder of the build to write it in first),
# BINDIR (absolute, or relative to the prefix) and APPLICATIONS_DIR (likewise). The entry is
# installed like every other file (DESTDIR, the list of installed files).

# A key file's string value: a backslash is written as "\\" and control characters as escapes.
function(desktop_string value out)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\n" "\\n" value "${value}")
  string(REPLACE "\t" "\\t" value "${value}")
  string(REPLACE "\r" "\\r" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# One argument of the Exec key: "%" stands for itself only doubled; an argument with a character
# the launcher treats specially goes in double quotes, inside which ", `, $ and \ are escaped.
function(desktop_exec_argument value out)
  string(REPLACE "%" "%%" value "${value}")
  if(value MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" value "${value}")
    string(REPLACE "\"" "\\\"" value "${value}")
    string(REPLACE "`" "\\`" value "${value}")
    string(REPLACE "$" "\\$" value "${value}")
    set(value "\"${value}\"")
  endif()
  desktop_string("${value}" value)
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(under_prefix dir out)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

under_prefix("${BINDIR}" bindir)
under_prefix("${APPLICATIONS_DIR}" applications)
set(program "${bindir}/mernolex")
desktop_exec_argument("${program}" EXEC)
desktop_string("${program}" TRY_EXEC)

configure_file("${TEMPLATE}" "${STAGING}/mernolex.desktop" @ONLY)
file(INSTALL DESTINATION "${applications}" TYPE FILE FILES "${STAGING}/mernolex.desktop")
