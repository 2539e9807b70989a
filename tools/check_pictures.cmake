# The pictures test: the controls the configuration window's pictures show, as
# config_screenshots finds them now, against docs/pictures.txt, written with the pictures.
#     cmake -DTOOL=... -DWORK=... -DMANIFEST=... -P check_pictures.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/docs" "${WORK}/help")
execute_process(COMMAND "${TOOL}" "${WORK}/docs" "${WORK}/help" RESULT_VARIABLE result
                OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "config_screenshots failed (${result})")
endif()
file(READ "${MANIFEST}" committed)
file(READ "${WORK}/docs/pictures.txt" now)
if(NOT committed STREQUAL now)
    message(FATAL_ERROR "The window's controls differ from those its pictures show "
                        "(docs/pictures.txt against ${WORK}/docs/pictures.txt): run "
                        "tools/make_pictures.sh BUILD-FOLDER and commit the pictures.")
endif()
