# What a Linux desktop and Debian expect of an installed program besides the
# programs: the menu entry with its icon and metadata, the manual pages, and
# the copyright and changelog in the package's documentation folder.
set(linux_folder ${CMAKE_CURRENT_SOURCE_DIR}/linux)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/linux)

if(TARGET vorlindo)
  install(FILES ${linux_folder}/vorlindo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The metadata gives the screenshot's size, read from its PNG header: the
  # width and height are the first two numbers after the 16 bytes of the
  # signature and the header chunk's length and kind.
  file(READ ${CMAKE_CURRENT_SOURCE_DIR}/screenshot.png png_header LIMIT 24 HEX)
  string(SUBSTRING ${png_header} 32 8 width)
  string(SUBSTRING ${png_header} 40 8 height)
  math(EXPR VORLINDO_SCREENSHOT_WIDTH 0x${width})
  math(EXPR VORLINDO_SCREENSHOT_HEIGHT 0x${height})
  configure_file(${linux_folder}/example.qelmora.vorlindo.metainfo.xml.in
                 ${generated}/example.qelmora.vorlindo.metainfo.xml @ONLY)
  install(FILES ${generated}/example.qelmora.vorlindo.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The icon theme's sizes, all drawn by tools/make-icon from the drawing of
  # the Windows icon.
  set(icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES icons/vorlindo.svg DESTINATION ${icon_theme}/scalable/apps)
  foreach(size IN ITEMS 16 24 32 48 64 128 256)
    install(FILES icons/vorlindo-${size}.png DESTINATION ${icon_theme}/${size}x${size}/apps
            RENAME vorlindo.png)
  endforeach()
endif()

# Manual pages, written in scdoc and compressed as Debian wants them; without
# scdoc the installation goes without them.
find_program(VORLINDO_SCDOC scdoc)
find_program(VORLINDO_GZIP gzip)
if(VORLINDO_SCDOC AND VORLINDO_GZIP)
  set(manuals)
  foreach(program IN LISTS programs)
    set(source ${linux_folder}/${program}.1.scd)
    set(manual ${generated}/${program}.1.gz)
    add_custom_command(
      OUTPUT ${manual}
      COMMAND ${CMAKE_COMMAND} -DSCDOC=${VORLINDO_SCDOC} -DGZIP=${VORLINDO_GZIP}
              -DSOURCE=${source} -DMANUAL=${manual} -DVERSION=${PROJECT_VERSION}
              -DRELEASE_DATE=${VORLINDO_RELEASE_DATE} -P ${linux_folder}/make-manual.cmake
      DEPENDS ${source} ${linux_folder}/make-manual.cmake
      COMMENT "Writing the manual page of ${program}")
    list(APPEND manuals ${manual})
  endforeach()
  add_custom_target(vorlindo_manuals ALL DEPENDS ${manuals})
  install(FILES ${manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "No scdoc or gzip: the installation has no manual pages")
endif()

# Debian's documentation folder is named after the package; the changelog's
# entry is dated as Debian's tools write it.
set(debian_doc_folder ${CMAKE_INSTALL_DATAROOTDIR}/doc/${VORLINDO_PACKAGE_NAME})
execute_process(COMMAND date -u -R -d ${VORLINDO_RELEASE_DATE}
                OUTPUT_VARIABLE VORLINDO_RELEASE_TIME OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${linux_folder}/changelog.in ${generated}/changelog @ONLY)
if(VORLINDO_GZIP)
  add_custom_command(
    OUTPUT ${generated}/changelog.gz
    COMMAND ${VORLINDO_GZIP} -9nkf ${generated}/changelog
    DEPENDS ${generated}/changelog
    COMMENT "Compressing the package's changelog")
  add_custom_target(vorlindo_changelog ALL DEPENDS ${generated}/changelog.gz)
  install(FILES ${generated}/changelog.gz DESTINATION ${debian_doc_folder})
endif()
install(FILES ${linux_folder}/copyright DESTINATION ${debian_doc_folder})
install(FILES ${linux_folder}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ${VORLINDO_PACKAGE_NAME})
