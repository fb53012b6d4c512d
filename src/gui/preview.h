// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print preview: a window of the program's own, "frmAnteprima", titled
// "Anteprima di stampa - <document>". It shows the document's pages as the
// printer has them (the one renderer draws both) in its view "viewAnteprima",
// under the toolbar "barAnteprima" with the program's pictures:
//   printAction       Stampa                 the print dialog (print.h)
//   firstPageAction   Prima        Home      previousPageAction  Precedente  PgUp
//   nextPageAction    Successiva   PgDn      lastPageAction      Ultima      End
//   fitWidthAction    Adatta alla larghezza  fitPageAction       Pagina intera
//   zoomInAction      Ingrandisci  +         zoomOutAction       Riduci      -
//   fullScreenAction  Schermo intero         closeAction         Chiudi      Esc
// and the label "lblPagina" ("Pagina 2 di 14"). Page set-up and orientation
// belong to the printout and are not offered.
//
// The pages are prepared when the window first shows, under the progress
// dialog of long work: "Annulla" closes the preview rather than show half a
// document. The window opens centred on its owner at most of the screen and
// can then be resized, maximised or shown full screen.
class QPrinter;
class QWidget;

namespace fondaro::report {
class PrintDocument;
}

namespace fondaro::gui {

// Shows `doc` on `printer`'s paper in the preview, modally. Returns false when
// the user stopped the preparation of the pages, true once the window closes.
bool showPreview(QWidget* owner, QPrinter& printer, report::PrintDocument& doc);

}  // namespace fondaro::gui
