# Makes the page's shell file from its skeleton: every line
#   <!-- part: NAME -->
# of SKELETON is replaced by the file NAME (relative to the skeleton's
# folder): a .css part inside <style>, a .js part inside <script>, an .html
# part as it is; comments and indentation of styles and scripts are left
# out. Writes OUTPUT. Run as
#   cmake -DSKELETON=web/page.html -DOUTPUT=page-shell.html -P assemble_page.cmake
# It does not touch emscripten's {{{ SCRIPT }}} marker: emcc fills that.
cmake_minimum_required(VERSION 3.16)
get_filename_component(dir "${SKELETON}" DIRECTORY)
file(READ "${SKELETON}" rest)
set(marker "<!-- part: ")
string(LENGTH "${marker}" markerLength)
set(page "")
# The skeleton's and the html parts' comments and indentation are left out
# of the page too (no pre element in them holds more than one line).
set(htmlComment "<!--([^-]|-[^-]|--[^>])*-->\n?")
set(indentation "\n[ \t]+")
while(TRUE)
  string(FIND "${rest}" "${marker}" at)
  if(at EQUAL -1)
    break()
  endif()
  string(SUBSTRING "${rest}" 0 ${at} before)
  string(REGEX REPLACE "${htmlComment}" "" before "${before}")
  string(REGEX REPLACE "${indentation}" "\n" before "${before}")
  string(APPEND page "${before}")
  math(EXPR nameAt "${at} + ${markerLength}")
  string(SUBSTRING "${rest}" ${nameAt} -1 rest)
  string(FIND "${rest}" " -->" close)
  if(close EQUAL -1)
    message(FATAL_ERROR "${SKELETON}: a part comment without its end")
  endif()
  string(SUBSTRING "${rest}" 0 ${close} name)
  math(EXPR afterAt "${close} + 4")
  string(SUBSTRING "${rest}" ${afterAt} -1 rest)
  if(NOT EXISTS "${dir}/${name}")
    message(FATAL_ERROR "${SKELETON}: no part ${dir}/${name}")
  endif()
  file(READ "${dir}/${name}" part)
  if(name MATCHES "\\.css$")
    # Comments and indentation are left out of the page (they are read in
    # the sources), which keeps the one file small.
    string(REGEX REPLACE "/\\*[^*]*\\*+([^/*][^*]*\\*+)*/" "" part "${part}")
    string(REGEX REPLACE "\n[ \t]+" "\n" part "\n${part}")
    string(REGEX REPLACE "\n\n+" "\n" part "${part}")
    # Nor the spaces around braces, semicolons, commas and child
    # combinators, or after colons (no string in the styles holds one). The
    # lines stay: emcc reads the page for its own {{{ }}} and # lines.
    string(REGEX REPLACE "[ \t]*([{};,>])[ \t]*" "\\1" part "${part}")
    string(REGEX REPLACE ":[ \t]+" ":" part "${part}")
    string(APPEND page "<style>${part}</style>")
  elseif(name MATCHES "\\.js$")
    # Lines that are only a comment, comments after a statement (after ;, {
    # or }, to the line's end, with no " or ` in them: never the rest of a
    # string in double quotes; no string in single quotes holds "; //"), and
    # indentation are left out of the page (they are read in the sources),
    # which keeps the one file small.
    string(REGEX REPLACE "\n[ \t]*//[^\n]*" "" part "\n${part}")
    string(REGEX REPLACE "([;{}])[ \t]+//[^\n\"`]*\n" "\\1\n" part "${part}")
    string(REGEX REPLACE "\n[ \t]+" "\n" part "${part}")
    string(APPEND page "<script>${part}</script>")
  else()
    string(REGEX REPLACE "${htmlComment}" "" part "${part}")
    string(REGEX REPLACE "${indentation}" "\n" part "${part}")
    string(APPEND page "${part}")
  endif()
endwhile()
string(REGEX REPLACE "${htmlComment}" "" rest "${rest}")
string(REGEX REPLACE "${indentation}" "\n" rest "${rest}")
string(APPEND page "${rest}")
# Written atomically: a build that stops half way leaves no half page.
file(WRITE "${OUTPUT}.tmp" "${page}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
