# Writes one compressed manual page: the scdoc SOURCE with its @VERSION@
# filled in, dated RELEASE_DATE rather than today so that the same sources
# give the same page, compressed without a name or time stamp.
#   cmake -DSCDOC=... -DGZIP=... -DSOURCE=x.1.scd -DMANUAL=x.1.gz -DVERSION=...
#         -DRELEASE_DATE=YYYY-MM-DD -P make-manual.cmake
cmake_policy(VERSION 3.22)
get_filename_component(name ${MANUAL} NAME_WLE)
get_filename_component(folder ${MANUAL} DIRECTORY)
set(filled ${folder}/${name}.scd)
set(page ${folder}/${name})
configure_file(${SOURCE} ${filled} @ONLY)

execute_process(COMMAND date -u -d ${RELEASE_DATE} +%s OUTPUT_VARIABLE epoch
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "The release date ${RELEASE_DATE} is no date")
endif()
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
execute_process(COMMAND ${SCDOC} INPUT_FILE ${filled} OUTPUT_FILE ${page} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "scdoc could not read ${SOURCE}")
endif()
execute_process(COMMAND ${GZIP} -9nf ${page} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip could not compress ${page}")
endif()
