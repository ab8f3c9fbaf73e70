# Runs one conformance script with sq and compares its output with the expected files.
# Arguments: SQ (interpreter), SCRIPT (file name), DIR (folder of the script and expected files).
get_filename_component(name ${SCRIPT} NAME_WE)
execute_process(COMMAND ${SQ} ${SCRIPT}
    WORKING_DIRECTORY ${DIR}
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    RESULT_VARIABLE rc)
file(READ ${DIR}/${name}.expected expected)
if(NOT out STREQUAL expected)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual "${out}")
    message(FATAL_ERROR "standard output differs from ${name}.expected\n"
        "--- expected\n${expected}\n--- actual\n${out}\n--- standard error\n${err}")
endif()
if(EXISTS ${DIR}/${name}.expected-stderr)
    file(READ ${DIR}/${name}.expected-stderr expectedErr)
    if(rc EQUAL 0)
        message(FATAL_ERROR "the script was expected to fail but exited with 0")
    endif()
    if(NOT err STREQUAL expectedErr)
        message(FATAL_ERROR "standard error differs from ${name}.expected-stderr\n"
            "--- expected\n${expectedErr}\n--- actual\n${err}")
    endif()
elseif(NOT rc EQUAL 0)
    message(FATAL_ERROR "sq exited with ${rc}\n${err}")
endif()
