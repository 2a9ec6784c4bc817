# Installation and the Debian package.
#
#   cmake --install BUILD --prefix PREFIX   the programs, desktop entry, icon, help page and
#                                           man page under PREFIX
#   cpack -G DEB (in BUILD)                 a Debian package of the same tree under /usr
#
# Included at the end of the top-level CMakeLists.txt, once every target exists.

set(VINTREL_DATA_DIR "${PROJECT_SOURCE_DIR}/data")

# The programs. The window program is missing when VINTREL_BUILD_UI is OFF.
foreach(program IN ITEMS vintrel vintrel-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The help page. Help Contents looks for it in <exe dir>/../share/vintrel/ and then in
# <exe dir>/, so the build tree gets a copy next to the window program as well.
install(FILES "${VINTREL_DATA_DIR}/vintrel.html" DESTINATION ${CMAKE_INSTALL_DATADIR}/vintrel)
if(TARGET vintrel)
  add_custom_target(vintrel_help_page ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${VINTREL_DATA_DIR}/vintrel.html"
            "$<TARGET_FILE_DIR:vintrel>/vintrel.html"
    DEPENDS "${VINTREL_DATA_DIR}/vintrel.html"
    COMMENT "Copying the help page next to vintrel"
    VERBATIM)
  add_dependencies(vintrel vintrel_help_page)
endif()

# The desktop entry and the icon, for the window program only.
if(TARGET vintrel)
  install(FILES "${VINTREL_DATA_DIR}/vintrel.desktop"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  # The icon is the window's own icon 2 (resources/icon2.svg and resources/icon2.png).
  # The files are looked for anew at every build (CONFIGURE_DEPENDS): the scalable image goes
  # to hicolor/scalable, the PNG to the hicolor folder of its own size, read from its header.
  file(GLOB vintrel_icon_files CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/icon2.svg"
       "${PROJECT_SOURCE_DIR}/resources/icon2.png")
  set(VINTREL_ICON_SVG "")
  set(VINTREL_ICON_PNG "")
  foreach(icon_file IN LISTS vintrel_icon_files)
    if(icon_file MATCHES "\\.svg$")
      set(VINTREL_ICON_SVG "${icon_file}")
    else()
      set(VINTREL_ICON_PNG "${icon_file}")
    endif()
  endforeach()
  if(VINTREL_ICON_SVG)
    install(FILES "${VINTREL_ICON_SVG}" RENAME vintrel.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  endif()
  if(VINTREL_ICON_PNG)
    # Width and height are the big-endian words at bytes 16 and 20 of a PNG (IHDR).
    file(READ "${VINTREL_ICON_PNG}" png_header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${png_header}" 0 8 png_width_hex)
    string(SUBSTRING "${png_header}" 8 8 png_height_hex)
    math(EXPR png_width "0x${png_width_hex}")
    math(EXPR png_height "0x${png_height_hex}")
    if(png_width EQUAL png_height AND png_width GREATER 0)
      install(FILES "${VINTREL_ICON_PNG}" RENAME vintrel.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${png_width}x${png_height}/apps)
    else()
      message(WARNING "Icon ${VINTREL_ICON_PNG} is ${png_width}x${png_height}, not square: "
                      "not installed")
      set(VINTREL_ICON_PNG "")
    endif()
  endif()
  if(NOT VINTREL_ICON_SVG AND NOT VINTREL_ICON_PNG)
    message(WARNING "No resources/icon2.svg or icon2.png: the desktop entry has no icon")
  endif()
endif()

# The man page of vintrel-cli, compressed as Debian installs man pages.
if(TARGET vintrel-cli)
  find_program(VINTREL_GZIP gzip)
  if(VINTREL_GZIP)
    set(man_page "${CMAKE_CURRENT_BINARY_DIR}/vintrel-cli.1.gz")
    add_custom_command(
      OUTPUT "${man_page}"
      COMMAND ${CMAKE_COMMAND} -E copy "${VINTREL_DATA_DIR}/vintrel-cli.1"
              "${CMAKE_CURRENT_BINARY_DIR}/vintrel-cli.1"
      COMMAND "${VINTREL_GZIP}" -9 -n -f "${CMAKE_CURRENT_BINARY_DIR}/vintrel-cli.1"
      DEPENDS "${VINTREL_DATA_DIR}/vintrel-cli.1"
      COMMENT "Compressing the man page of vintrel-cli"
      VERBATIM)
    add_custom_target(vintrel_man_page ALL DEPENDS "${man_page}")
  else()
    set(man_page "${VINTREL_DATA_DIR}/vintrel-cli.1")
  endif()
  install(FILES "${man_page}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vintrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vintrel developers")
set(CPACK_PACKAGE_CONTACT "Vintrel developers <vintrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "remove end-of-line hyphenation from OCR text files")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vintrel developers <vintrel@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link (libc, libstdc++, Qt) come from dpkg-shlibdeps;
# the window's Japanese texts need a Japanese font, which no library pulls in, and Help
# Contents opens the help page through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET vintrel)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
set(CPACK_PACKAGE_DESCRIPTION
    "Vintrel removes end-of-line hyphenation from plain-text files, typically
English text that OCR produced from printed pages. Where a line ends in a
single hyphen, the word is completed from the next line and the line break
moves to the next space; words on an exception list (such as socio-) keep
their hyphen. It also trims blanks at line ends and, as configured, removes
leading blanks and collapses runs of spaces.

The package holds the desktop program with its Japanese user interface,
vintrel, and the command-line converter vintrel-cli.")
include(CPack)
