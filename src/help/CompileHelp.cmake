# Compiles the help project in the current folder into Zentavo.chm and
# copies it to HELP_FILE (run with cmake -P, CHMCMD and HELP_FILE set).
# The compiler prints its banner and a progress line on every run and may
# end with 0 although it wrote nothing: only what it says beyond those two
# reaches the build's output, and a missing help file fails the build.
file(REMOVE Zentavo.chm)
execute_process(COMMAND ${CHMCMD} --verbosity 1 Zentavo.hhp
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)

string(REPLACE "\n" ";" lines "${output}")
set(said "")
foreach(line IN LISTS lines)
  if(line MATCHES "^chmcmd, a CHM compiler" OR line MATCHES "^Writing CHM " OR line MATCHES "^[ \t\r]*$")
    continue()
  endif()
  string(APPEND said "${line}\n")
endforeach()

if(NOT result EQUAL 0 OR NOT EXISTS Zentavo.chm)
  message(FATAL_ERROR "The help file could not be compiled (chmcmd ended with ${result}):\n${output}")
endif()
if(said)
  message(NOTICE "${said}")
endif()
file(COPY_FILE Zentavo.chm ${HELP_FILE})
