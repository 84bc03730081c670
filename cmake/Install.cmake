# Installation in the places the filesystem hierarchy expects, and a .deb:
#   bin/                      the programs
#   lib/pagewick/             the About library, the help component and the
#                             printer support library
#   share/pagewick/           the install folder: sample pages, the help file,
#                             and a link to the About library, which is
#                             looked up there
#   share/applications, share/icons/hicolor, share/mime/packages,
#   share/thumbnailers, share/man/man1
include(GNUInstallDirs)

set(pw_programs pagewick pagewick-convert pagewick-capture pagewick-reg emfplay pagewick-thumbnailer)
install(TARGETS ${pw_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The printer support library is linked by the programs, which find it
# through their run path ($ORIGIN/../lib/pagewick).
install(TARGETS pwAbout pwHtmlHelp pw_prnsupport LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/pagewick)
install(DIRECTORY "${PAGEWICK_SHARE_DIR}/emf" DESTINATION ${CMAKE_INSTALL_DATADIR}/pagewick)
install(FILES "${PAGEWICK_SHARE_DIR}/Snaplet.chm" DESTINATION ${CMAKE_INSTALL_DATADIR}/pagewick)
# The link is relative, so the tree can be moved or packaged whole.
file(RELATIVE_PATH pw_about_link "/${CMAKE_INSTALL_DATADIR}/pagewick" "/${CMAKE_INSTALL_LIBDIR}/pagewick/libpwAbout.so")
install(CODE "file(CREATE_LINK \"${pw_about_link}\"
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/pagewick/libpwAbout.so\" SYMBOLIC)")

set(desktop "${CMAKE_SOURCE_DIR}/res/desktop")
install(FILES "${desktop}/pagewick.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${desktop}/pagewick.thumbnailer" DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES "${desktop}/pagewick-mime.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME pagewick.xml)
install(FILES "${desktop}/pagewick.svg" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The icon at the usual sizes, drawn from the scalable one.
find_program(PAGEWICK_CONVERT_IMAGE convert REQUIRED)
set(pw_icons)
foreach(size 16 22 24 32 48 64 128 256)
  set(icon "${CMAKE_BINARY_DIR}/share/icons/${size}/pagewick.png")
  add_custom_command(OUTPUT "${icon}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/share/icons/${size}"
    COMMAND "${PAGEWICK_CONVERT_IMAGE}" -background none -density 384 "${desktop}/pagewick.svg"
            -resize ${size}x${size} -depth 8 "PNG32:${icon}"
    DEPENDS "${desktop}/pagewick.svg" VERBATIM)
  list(APPEND pw_icons "${icon}")
  install(FILES "${icon}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# A manual page per program, made from its --help.
find_program(PAGEWICK_HELP2MAN help2man REQUIRED)
set(pw_manuals)
set(pw_summary_pagewick "turn printed or copied pages into page images")
set(pw_summary_pagewick-convert "convert EMF spool files and EMF pages to images, a PDF or an HTML gallery")
set(pw_summary_pagewick-capture "print or copy pages into Pagewick's capture printer and clipboard")
set(pw_summary_pagewick-reg "read and write Pagewick's settings store")
set(pw_summary_emfplay "render one EMF page to PNG")
set(pw_summary_pagewick-thumbnailer "draw a thumbnail of an EMF or EMF spool file")
foreach(program IN LISTS pw_programs)
  set(manual "${CMAKE_BINARY_DIR}/share/man/man1/${program}.1")
  add_custom_command(OUTPUT "${manual}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/share/man/man1"
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            "${PAGEWICK_HELP2MAN}" --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
            --name=${pw_summary_${program}} --output=${manual} $<TARGET_FILE:${program}>
    DEPENDS ${program} VERBATIM)
  list(APPEND pw_manuals "${manual}")
endforeach()
install(FILES ${pw_manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
add_custom_target(pw_desktop_files ALL DEPENDS ${pw_icons} ${pw_manuals})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pagewick)
set(CPACK_PACKAGE_VENDOR "Tavrin")
set(CPACK_PACKAGE_CONTACT "Pagewick developers <pagewick@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turns printed or copied word-processor pages into page images")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-liberation2, fonts-crosextra-carlito, fonts-crosextra-caladea")
include(CPack)
