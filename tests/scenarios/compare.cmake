# Runs the driver on SCRIPT and fails, showing the difference, unless its output equals EXPECTED.
# The driver runs in WORKDIR, emptied first and given a copy of the folder FILES.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
file(COPY ${FILES} DESTINATION ${WORKDIR})
execute_process(COMMAND ${DRIVER} ${SCRIPT} OUTPUT_VARIABLE actual ERROR_VARIABLE errors
                RESULT_VARIABLE status WORKING_DIRECTORY ${WORKDIR})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dieprofile-replay exited with ${status}: ${errors}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  get_filename_component(name ${SCRIPT} NAME_WE)
  set(actual_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
  file(WRITE ${actual_file} "${actual}")
  execute_process(COMMAND diff -u ${EXPECTED} ${actual_file} OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "output differs from ${EXPECTED}:\n${difference}")
endif()
