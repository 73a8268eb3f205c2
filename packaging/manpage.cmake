# cmake -DCLI=... -DHELP2MAN=... -DINCLUDE=... -DVERSION=... -DOUT=... -P manpage.cmake
# The CLI's man page: help2man over the CLI's --help, the sections of INCLUDE, and every
# command's own --help under COMMANDS.
set(commands dump diff read write export-csv import-csv print)
file(READ ${INCLUDE} include)
string(APPEND include "\n[COMMANDS]\n")
foreach(command ${commands})
  execute_process(COMMAND ${CLI} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CLI} ${command} --help failed: ${rc}")
  endif()
  # The exit statuses are in the page once already.
  string(REGEX REPLACE "\nExit status:.*" "\n" help "${help}")
  string(REPLACE "\\" "\\e" help "${help}")
  string(REPLACE "-" "\\-" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(APPEND include ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
get_filename_component(dir ${OUT} DIRECTORY)
set(page ${dir}/qx7420-cli.1)
file(WRITE ${page}.h2m "${include}")
execute_process(
  COMMAND ${HELP2MAN} --no-info --version-string=${VERSION}
          "--name=read and write a QX-7420 radio and its image files"
          --include=${page}.h2m --output=${page} ${CLI}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed: ${rc}")
endif()
execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed: ${rc}")
endif()
