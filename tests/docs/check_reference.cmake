# Runs Doxygen on the configured Doxyfile into OUT_DIR and fails when it logs any warning.
# Usage: cmake -DDOXYGEN=... -DDOXYFILE=... -DOUT_DIR=... -P check_reference.cmake
foreach(var DOXYGEN DOXYFILE OUT_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_reference.cmake: ${var} is not set")
  endif()
endforeach()

# A fresh output folder, so a warning log of an earlier run can never make the test pass or fail.
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
set(log ${OUT_DIR}/warnings.log)
file(WRITE ${OUT_DIR}/Doxyfile
     "@INCLUDE = \"${DOXYFILE}\"\n"
     "OUTPUT_DIRECTORY = \"${OUT_DIR}\"\n"
     "WARN_LOGFILE = \"${log}\"\n")

execute_process(COMMAND ${DOXYGEN} ${OUT_DIR}/Doxyfile
                WORKING_DIRECTORY ${OUT_DIR}
                RESULT_VARIABLE status
                OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "doxygen failed (${status}):\n${output}${errors}")
endif()
if(NOT EXISTS ${log})
  message(FATAL_ERROR "doxygen wrote no warning log at ${log}")
endif()
if(NOT EXISTS ${OUT_DIR}/html/index.html)
  message(FATAL_ERROR "doxygen wrote no ${OUT_DIR}/html/index.html")
endif()

file(READ ${log} warnings)
string(STRIP "${warnings}${errors}" warnings)
if(NOT warnings STREQUAL "")
  string(REGEX MATCHALL "is not documented" undocumented "${warnings}")
  list(LENGTH undocumented undocumentedCount)
  string(REGEX MATCHALL "\n" lines "${warnings}\n")
  list(LENGTH lines lineCount)
  # Printed as they are: a fatal message would rewrap the lines.
  message(NOTICE "${warnings}")
  message(FATAL_ERROR "The API reference has ${lineCount} warning line(s), "
                      "${undocumentedCount} of them undocumented declarations (listed above).")
endif()
message(STATUS "API reference built without warnings")
