# cmake -DTOOL=validator [-DARGS=a;b] -DFILE=file -P Validate.cmake
cmake_minimum_required(VERSION 3.25)
# A missing validator fails the check rather than skipping it: scripts/test
# installs both, so the menu entry and its metadata are checked every run.
find_program(validator ${TOOL})
if(NOT validator)
    message(FATAL_ERROR "${TOOL} is not installed (scripts/test installs it)")
endif()
execute_process(COMMAND ${validator} ${ARGS} ${FILE} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} finds ${FILE} wrong")
endif()
