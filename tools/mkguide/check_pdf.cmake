# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the manual Guida.pdf: its title, and every guide page as a chapter
# with the window's title, in order, with all of its text as written.
#   cmake -DPDFTOTEXT=<pdftotext> -DPDF=<Guida.pdf> -DGUIDE_DIR=<resources/guide> -P check_pdf.cmake
include(${CMAKE_CURRENT_LIST_DIR}/guide_text.cmake)

guide_pdf_text(text "${PDFTOTEXT}" "${PDF}")

string(FIND "${text}" "Fondaro 3.0 - Guida all'utilizzo" at)
if(NOT at EQUAL 0)
  message(SEND_ERROR "the manual does not open with its title")
endif()

guide_expect_chapters("${text}"
  "Uno sguardo a Fondaro 3.0." "${GUIDE_DIR}/generale.txt"
  "Applicazione Registro Movimenti." "${GUIDE_DIR}/movimenti.txt"
  "Applicazione Grafici Statistici." "${GUIDE_DIR}/grafici.txt"
  "Riepilogo per categoria e rendiconto per cassa." "${GUIDE_DIR}/categorie.txt"
  "Importa estratto conto." "${GUIDE_DIR}/importa_estratto.txt"
  "Importa fatture elettroniche." "${GUIDE_DIR}/importa_fatture.txt"
  "Copie di sicurezza." "${GUIDE_DIR}/copie_sicurezza.txt"
  "Dove si trovano i dati." "${GUIDE_DIR}/cartella.txt")
