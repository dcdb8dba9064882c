# cmake -DPLANT=ON|OFF -DBUILD=DIR -P check.cmake: configures the planted project in DIR and
# expects it stopped with the check's message when PLANT is ON, and through when it is OFF.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR} -B ${BUILD} -DPLANT=${PLANT}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
string(FIND "${output}" "program links the tests' code (dieprofile_testkit)" message)
if(PLANT AND (result EQUAL 0 OR message EQUAL -1))
  message(FATAL_ERROR "the planted link to the tests' code went through:\n${output}")
elseif(NOT PLANT AND NOT result EQUAL 0)
  message(FATAL_ERROR "a chain without the tests' code was refused:\n${output}")
endif()
