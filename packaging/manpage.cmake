# cmake -DPROGRAM=... -DHELP2MAN=... -DNAME=... -DINCLUDE=... -DVERSION=... -DOUT=...
#       [-DCOMMANDS=1] -P manpage.cmake
# A program's man page: help2man over the program's --help, the sections of INCLUDE, and,
# with COMMANDS, the --help of every command that the program's --help lists.
file(READ ${INCLUDE} include)
set(commands)
if(COMMANDS)
  execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
  string(REGEX MATCHALL "\n  [a-z][a-z-]*" lines "${help}")
  foreach(line ${lines})
    string(STRIP "${line}" command)
    list(APPEND commands ${command})
  endforeach()
  if(NOT rc EQUAL 0 OR NOT commands)
    message(FATAL_ERROR "${PROGRAM} --help lists no commands: ${rc}")
  endif()
  string(APPEND include "\n[COMMANDS]\n")
endif()
foreach(command ${commands})
  execute_process(COMMAND ${PROGRAM} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${command} --help failed: ${rc}")
  endif()
  # The exit statuses are in the page once already.
  string(REGEX REPLACE "\nExit status:.*" "\n" help "${help}")
  string(REPLACE "\\" "\\e" help "${help}")
  string(REPLACE "-" "\\-" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(APPEND include ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
get_filename_component(dir ${OUT} DIRECTORY)
get_filename_component(program ${PROGRAM} NAME)
set(page ${dir}/${program}.1)
file(WRITE ${page}.h2m "${include}")
# The version is given rather than asked for: --version of the window and the CLI also
# names their files' folder, here the build folder.
execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --version-string=${VERSION} "--name=${NAME}"
          --include=${page}.h2m --output=${page} ${PROGRAM}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed: ${rc}")
endif()
execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed: ${rc}")
endif()
