# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the guide pages that the guide window shows: how many paragraphs
# each has, its fixed opening paragraph, and the form the window expects
# (no byte order mark, one line per paragraph, so the window wraps the text
# itself).
#   cmake -DGUIDE_DIR=<resources/guide> -P check_pages.cmake
include(${CMAKE_CURRENT_LIST_DIR}/guide_text.cmake)

function(check_page key expected_count expected_first)
  set(path "${GUIDE_DIR}/${key}.txt")
  if(NOT EXISTS "${path}")
    message(SEND_ERROR "${key}.txt is missing")
    return()
  endif()

  file(READ "${path}" head LIMIT 3 HEX)
  if(head STREQUAL "efbbbf")
    message(SEND_ERROR "${key}.txt starts with a byte order mark")
  endif()

  guide_read_paragraphs(paragraphs "${path}")
  list(LENGTH paragraphs count)
  if(NOT count EQUAL expected_count)
    message(SEND_ERROR "${key}.txt has ${count} paragraphs, expected ${expected_count}")
  endif()

  set(index 0)
  foreach(p IN LISTS paragraphs)
    math(EXPR index "${index} + 1")
    guide_decode(p "${p}")
    string(FIND "${p}" "\n" newline)
    if(NOT newline EQUAL -1)
      message(SEND_ERROR "${key}.txt paragraph ${index} is broken over several lines")
    endif()
  endforeach()

  list(GET paragraphs 0 first)
  guide_decode(first "${first}")
  if(NOT first STREQUAL expected_first)
    message(SEND_ERROR "${key}.txt opens with\n  ${first}\nexpected\n  ${expected_first}")
  endif()
endfunction()

check_page(generale 40
  "Fondaro 3.0 è un software facile e intuitivo per contabilizzare i movimenti di denaro in dare e avere, tenere un registro di primanota con calcolo del bilancio in attivo o passivo e generare grafici statistici tridimensionali degli incassi ed esborsi.")
check_page(movimenti 14
  "L'applicazione Registro Movimenti è l'ambiente in cui bisogna annotare tutte le operazioni relative ai pagamenti in dare e in avere che confluiranno nel registro di primanota della propria azienda.")
check_page(grafici 6
  "L'applicazione Grafici Statistici si compone di tre ambienti che permettono di visualizzare in maniera grafica l'andamento mensile delle entrate, quello delle uscite e, infine, il bilancio annuale degli incassi e degli esborsi.")
