# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)

# Helpers shared by the guide checks: reading a guide page as a CMake list of
# paragraphs. The characters that CMake lists treat specially (; [ ] \) are
# kept as placeholders inside the list; guide_decode turns them back.

function(guide_encode out text)
  string(REPLACE "\\" "<BS>" text "${text}")
  string(REPLACE ";" "<SC>" text "${text}")
  string(REPLACE "[" "<LB>" text "${text}")
  string(REPLACE "]" "<RB>" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(guide_decode out text)
  string(REPLACE "<SC>" ";" text "${text}")
  string(REPLACE "<LB>" "[" text "${text}")
  string(REPLACE "<RB>" "]" text "${text}")
  string(REPLACE "<BS>" "\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Whitespace runs (line breaks, form feeds, tabs) become one blank.
function(guide_flatten out text)
  string(ASCII 12 form_feed)
  string(REGEX REPLACE "[ \t\r\n${form_feed}]+" " " text "${text}")
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Reads a page: paragraphs are separated by one empty line. Each list item is
# one encoded paragraph, its own text untouched apart from the outer blanks.
function(guide_read_paragraphs out path)
  file(READ "${path}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(STRIP "${text}" text)
  guide_encode(text "${text}")
  string(REGEX REPLACE "\n[ \t]*\n[ \t\n]*" ";" paragraphs "${text}")
  set(result "")
  foreach(p IN LISTS paragraphs)
    string(STRIP "${p}" p)
    list(APPEND result "${p}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The text of a manual as a reader's tool extracts it, without the page
# footers, flattened to one line.
function(guide_pdf_text out pdftotext pdf)
  if(NOT EXISTS "${pdf}")
    message(FATAL_ERROR "${pdf} was not written")
  endif()
  execute_process(COMMAND "${pdftotext}" -enc UTF-8 "${pdf}" -
    OUTPUT_VARIABLE text RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pdftotext failed on ${pdf}: ${err}")
  endif()
  guide_encode(text "${text}")
  string(REGEX REPLACE "Fondaro 3\\.0 - Guida all'utilizzo[ \t\r\n]*Pagina [0-9]+" " " text "${text}")
  guide_flatten(text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Fails unless each chapter (title followed by its whole text) is in the
# extracted text, in the given order. chapters: pairs of title and page file.
function(guide_expect_chapters text)
  set(args ${ARGN})
  set(last -1)
  set(last_title "the start")
  while(args)
    list(POP_FRONT args title path)
    guide_encode(title "${title}")
    guide_read_paragraphs(paragraphs "${path}")
    list(GET paragraphs 0 first)
    guide_flatten(opening "${title} ${first}")
    string(FIND "${text}" "${opening}" at)
    guide_decode(shown "${title}")
    if(at EQUAL -1)
      message(SEND_ERROR "the manual has no chapter \"${shown}\" opening with the first paragraph of ${path}")
      continue()
    endif()
    if(at LESS last)
      message(SEND_ERROR "the chapter \"${shown}\" comes before ${last_title}")
    endif()
    set(last ${at})
    set(last_title "\"${shown}\"")
    set(index 0)
    foreach(p IN LISTS paragraphs)
      math(EXPR index "${index} + 1")
      guide_flatten(p "${p}")
      string(FIND "${text}" "${p}" found)
      if(found EQUAL -1)
        message(SEND_ERROR "paragraph ${index} of ${path} is not in the manual as written")
      endif()
    endforeach()
  endwhile()
endfunction()
