# Copies PROGRAM (vorlindo-import) into FOLDER/Programma €, as a user would
# install it, with settings that name the Favorites folder FOLDER/Favoriten €,
# and imports the bookmarks file "Lesezeichen €.html", named relative to the
# folder it runs in, through EMULATOR when given. Checks the folder the
# import fills, and what a second, dry run prints into a pipe: UTF-8.
#   cmake -DPROGRAM=... -DFOLDER=... [-DEMULATOR=...] -P import_in_folder.cmake
file(REMOVE_RECURSE "${FOLDER}")
set(program_folder "${FOLDER}/Programma €")
set(favorites "${FOLDER}/Favoriten €")
file(MAKE_DIRECTORY "${program_folder}" "${favorites}")
file(COPY "${PROGRAM}" DESTINATION "${program_folder}")
get_filename_component(name "${PROGRAM}" NAME)

# The settings name the folder as the program sees it: under Wine the root
# of this system is the drive Z:.
set(setting "${favorites}")
if(EMULATOR)
  string(REPLACE "/" "\\" setting "Z:${favorites}")
endif()
file(WRITE "${program_folder}/ins.txt"
     "#009933\r\n#FFCC99\r\n#003399\r\n#FFFFF0\r\nTitel\r\n\r\nIk\r\n${setting}\r\n")
file(WRITE "${FOLDER}/Lesezeichen €.html"
     "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Bookmarks</H1>\n<DL><p>\n"
     "<DT><A HREF=\"https://example.org/\">Beispiel €</A>\n</DL><p>\n")

function(import)
  execute_process(COMMAND ${EMULATOR} "${program_folder}/${name}" ${ARGN} "Lesezeichen €.html"
                  WORKING_DIRECTORY "${FOLDER}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE printed ERROR_VARIABLE reason)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name} ${ARGN} ended with ${status}: ${reason}${printed}")
  endif()
  set(printed "${printed}" PARENT_SCOPE)
endfunction()

import()
if(NOT EXISTS "${favorites}/Bookmarks/Beispiel €.url")
  message(FATAL_ERROR "the import wrote no \"Bookmarks/Beispiel €.url\" into ${favorites}: ${printed}")
endif()
import(--dry-run)
foreach(line "Bookmarks: Lesezeichen €.html" "Favorites folder: .*Favoriten €[/\\\\]"
             "0 to add, 0 to change, 0 to remove, 1 unchanged")
  if(NOT printed MATCHES "${line}")
    message(FATAL_ERROR "${name} --dry-run printed \"${printed}\", without \"${line}\"")
  endif()
endforeach()
file(REMOVE_RECURSE "${FOLDER}")
