# Copies PROGRAM (vorlindo-build) into FOLDER, as a user would install it,
# runs it there (through EMULATOR when given) and checks that it writes its
# page from the header template beside it and prints the page's path.
#   cmake -DPROGRAM=... -DFOLDER=... [-DEMULATOR=...] -P run_in_folder.cmake
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
file(COPY "${PROGRAM}" DESTINATION "${FOLDER}")
get_filename_component(name "${PROGRAM}" NAME)
file(WRITE "${FOLDER}/koptekst.txt" "<title>Prijs in €</title>\r\n")

execute_process(COMMAND ${EMULATOR} "${FOLDER}/${name}"
                RESULT_VARIABLE status OUTPUT_VARIABLE printed ERROR_VARIABLE reason)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${name} in ${FOLDER} ended with ${status}: ${reason}")
endif()
if(NOT printed MATCHES "Programma €[/\\\\]mijnstart\\.html")
  message(FATAL_ERROR "${name} printed \"${printed}\" instead of the page's path")
endif()
file(READ "${FOLDER}/mijnstart.html" page)
string(FIND "${page}" "<title>Prijs in €</title>" found)
if(NOT found EQUAL 0)
  message(FATAL_ERROR "the page in ${FOLDER} does not begin with the header: ${page}")
endif()
file(REMOVE_RECURSE "${FOLDER}")
