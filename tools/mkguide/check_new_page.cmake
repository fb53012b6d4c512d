# SPDX-License-Identifier: GPL-3.0-or-later
# A guide page missing from the chapter table still reaches the manual: after
# the known chapters, titled with its file name, whatever order the pages are
# given in.
#   cmake -DMKGUIDE=<mkguide> -DPDFTOTEXT=<pdftotext> -DGUIDE_DIR=<resources/guide>
#         -DWORK_DIR=<scratch folder> -P check_new_page.cmake
include(${CMAKE_CURRENT_LIST_DIR}/guide_text.cmake)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(extra "${WORK_DIR}/zz_nuova.txt")
file(WRITE "${extra}"
  "Prima riga di una pagina nuova; con [parentesi] e caffè.\n\nSeconda riga della pagina nuova.\n")
set(pdf "${WORK_DIR}/Guida.pdf")

execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
          "${MKGUIDE}" "${pdf}" "${extra}" "${GUIDE_DIR}/movimenti.txt" "${GUIDE_DIR}/generale.txt"
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "mkguide failed: ${err}")
endif()

guide_pdf_text(text "${PDFTOTEXT}" "${pdf}")
guide_expect_chapters("${text}"
  "Uno sguardo a Fondaro 3.0." "${GUIDE_DIR}/generale.txt"
  "Applicazione Registro Movimenti." "${GUIDE_DIR}/movimenti.txt"
  "zz_nuova" "${extra}")
