# Checks that PROGRAM, a Windows executable, loads libraries of the system
# alone, so that it runs from its folder with nothing beside it: no C++
# library, libgcc or threads library of the compiler.
#   cmake -DPROGRAM=... -DOBJDUMP=... -P system_libraries_only.cmake
cmake_policy(VERSION 3.22)
set(system_libraries advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt normaliz ole32 oleaut32
    shell32 shlwapi user32 uxtheme version)
execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" RESULT_VARIABLE status
                OUTPUT_VARIABLE headers ERROR_VARIABLE reason)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read ${PROGRAM}: ${reason}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
if(NOT imports)
  message(FATAL_ERROR "${PROGRAM} names no libraries at all")
endif()
foreach(import IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: (.*)\\.[dD][lL][lL]$" "\\1" library "${import}")
  string(TOLOWER "${library}" library)
  if(NOT library IN_LIST system_libraries)
    message(FATAL_ERROR "${PROGRAM} needs ${library}.dll, which Windows does not bring")
  endif()
endforeach()
