# The AppStream metadata of the installed game: the template with the project's home page and
# the README's screenshots filled in. Screenshots are addresses on the web, so they are listed
# when the build knows where the README's pictures are published: QUARK_SCREENSHOT_URL, or the
# docs folder under QUARK_HOME_PAGE.
set(QUARK_SCREENSHOT_URL "" CACHE STRING "Where the README's screenshots (docs/) are published; empty: QUARK_HOME_PAGE/docs")

set(QUARK_METAINFO_LINKS "")
string(REGEX REPLACE "/+$" "" quark_page "${QUARK_HOME_PAGE}")
if(quark_page)
  string(APPEND QUARK_METAINFO_LINKS "  <url type=\"homepage\">${quark_page}</url>\n")
endif()
set(quark_shots "${QUARK_SCREENSHOT_URL}")
if(NOT quark_shots AND quark_page)
  set(quark_shots "${quark_page}/docs")
endif()
string(REGEX REPLACE "/+$" "" quark_shots "${quark_shots}")
if(quark_shots)
  # The README's own pictures of the game, in its order, with its captions.
  file(READ ${CMAKE_SOURCE_DIR}/README.md quark_readme)
  string(REGEX MATCHALL "!\\[[^]]+\\]\\(docs/screen_[a-z_]+\\.png\\)" quark_pictures "${quark_readme}")
  string(APPEND QUARK_METAINFO_LINKS "  <screenshots>\n")
  set(quark_type " type=\"default\"")
  foreach(picture ${quark_pictures})
    string(REGEX REPLACE "^!\\[([^]]+)\\]\\(docs/(screen_[a-z_]+\\.png)\\)$" "\\1" caption "${picture}")
    string(REGEX REPLACE "^!\\[([^]]+)\\]\\(docs/(screen_[a-z_]+\\.png)\\)$" "\\2" file "${picture}")
    string(APPEND QUARK_METAINFO_LINKS "    <screenshot${quark_type}>\n      <caption>${caption}</caption>\n"
                                       "      <image>${quark_shots}/${file}</image>\n    </screenshot>\n")
    set(quark_type "")
  endforeach()
  string(APPEND QUARK_METAINFO_LINKS "  </screenshots>\n")
endif()
set(QUARK_METAINFO ${CMAKE_BINARY_DIR}/generated/${QUARK_APP_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/tools/desktop/${QUARK_APP_ID}.metainfo.xml.in ${QUARK_METAINFO} @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/README.md)
