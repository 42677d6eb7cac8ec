# The command-line manners of a program (vorlindo-build, vorlindo-import,
# vorlindo), run as a user runs it from a folder of its own (through EMULATOR
# when given): --help prints the usage to standard output with status 0,
# --version the name and VERSION, an unknown option the usage to the error
# stream with status 2; none of them writes anything beside the program.
#   cmake -DPROGRAM=... -DNAME=... -DVERSION=... -DFOLDER=... [-DEMULATOR=...] -P command_line.cmake
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
file(COPY "${PROGRAM}" DESTINATION "${FOLDER}")
get_filename_component(program_file "${PROGRAM}" NAME)
file(GLOB before RELATIVE "${FOLDER}" "${FOLDER}/*")

function(expect arguments status out_pattern err_pattern)
  separate_arguments(arguments)
  execute_process(COMMAND ${EMULATOR} "${FOLDER}/${program_file}" ${arguments}
                  RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # Wine may say something of its own on the error stream; the program's
  # words are what counts.
  if(NOT got EQUAL status OR NOT out MATCHES "${out_pattern}" OR NOT err MATCHES "${err_pattern}")
    message(FATAL_ERROR "${NAME} ${arguments}: status ${got} (not ${status}),\n"
                        "printed \"${out}\",\nsaid \"${err}\"")
  endif()
endfunction()

expect("--help" 0 "^usage: ${NAME} .*--version" "^$|wine")
expect("--version" 0 "^${NAME} ${VERSION}\r?\n$" "^$|wine")
expect("--no-such-option" 2 "^$" "usage: ${NAME} ")

file(GLOB after RELATIVE "${FOLDER}" "${FOLDER}/*")
if(NOT before STREQUAL after)
  message(FATAL_ERROR "${NAME} left files beside itself: ${after}")
endif()
file(REMOVE_RECURSE "${FOLDER}")
