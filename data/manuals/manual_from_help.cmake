# Writes the manual page of lexicrawl-cli from what `lexicrawl-cli --help`
# prints, so that the page and the program's own help can never differ: the
# usage lines become the synopsis, every "  --option ARG  text" line (with the
# indented lines under it) an entry of OPTIONS, the paragraph that begins
# "Exit status:" the EXIT STATUS, and the other paragraphs the description.
#   cmake -DCLI=<lexicrawl-cli> -DVERSION=<x.y> -DEXTRA=<roff file> -DOUT=<file.1> -P manual_from_help.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${CLI} --help failed")
endif()

# Roff text: backslashes kept, hyphens of options as minus signs, and a line
# that begins with a dot or an apostrophe escaped.
function(roff_text out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(synopsis "")
set(description "")
set(options "")
set(exit_status "")
set(part description)  # where the current paragraph goes
set(paragraph_start TRUE)
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    set(paragraph_start TRUE)
    continue()
  endif()
  if(paragraph_start)
    set(paragraph_start FALSE)
    if(line STREQUAL "Usage:")
      set(part synopsis)
      continue()
    elseif(line MATCHES "^Exit status:")
      set(part exit_status)
    elseif(line MATCHES "options.*:$")
      set(part options)
      roff_text(text "${line}")
      string(APPEND options ".PP\n${text}\n")
      continue()
    else()
      set(part description)
      string(APPEND description ".PP\n")
    endif()
  endif()
  if(part STREQUAL "synopsis")
    if(line MATCHES "^  lexicrawl-cli (.*[^ ])   +(.*)$")
      roff_text(usage "${CMAKE_MATCH_1}")
      roff_text(text "${CMAKE_MATCH_2}")
      string(APPEND synopsis ".TP\n\\fBlexicrawl\\-cli\\fR ${usage}\n${text}\n")
    elseif(line MATCHES "^  lexicrawl-cli (.*)$")
      roff_text(usage "${CMAKE_MATCH_1}")
      string(APPEND synopsis ".TP\n\\fBlexicrawl\\-cli\\fR ${usage}\n")
    else()
      string(STRIP "${line}" line)
      roff_text(text "${line}")
      string(APPEND synopsis "${text}\n")
    endif()
  elseif(part STREQUAL "options")
    if(line MATCHES "^  (--[a-z0-9-]+)( ([^ ]+))?(  +(.*))?$")
      roff_text(name "${CMAKE_MATCH_1}")
      set(entry ".TP\n\\fB${name}\\fR")
      if(NOT CMAKE_MATCH_3 STREQUAL "")
        roff_text(value "${CMAKE_MATCH_3}")
        string(APPEND entry " \\fI${value}\\fR")
      endif()
      roff_text(text "${CMAKE_MATCH_5}")
      string(APPEND options "${entry}\n${text}\n")
    else()
      string(STRIP "${line}" line)
      roff_text(text "${line}")
      string(APPEND options "${text}\n")
    endif()
  else()
    string(STRIP "${line}" line)
    roff_text(text "${line}")
    string(APPEND ${part} "${text}\n")
  endif()
endforeach()

file(READ ${EXTRA} extra)
file(WRITE ${OUT}
".\\\" Made from `lexicrawl-cli --help` at build time; edit the help text, not this file.
.TH LEXICRAWL\\-CLI 1 \"\" \"Lexicrawl ${VERSION}\" \"User Commands\"
.SH NAME
lexicrawl\\-cli \\- crawl a website and list the words a spelling dictionary does not know
.SH SYNOPSIS
${synopsis}.SH DESCRIPTION
${description}.SH OPTIONS
${options}.SH \"EXIT STATUS\"
${exit_status}${extra}")
