// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of the two search windows (movements, address book): a filter panel
// "panAvvio" with ten text filters in two columns and "Cerca", then the result
// panel of every list window with the sorted lines of the matching records and
// their count. A double click on a line hands it to the window's pick and
// closes the window.
//
// A window gives its filters (control, caption, record field, in focus and
// Enter order: the last goes back to the first), its search over its archive
// and its pick.
#include <span>

#include "core/lists.h"
#include "gui/listwindow.h"

namespace fondaro::gui {

struct SearchFilter {
  const char* name;     // "txtCliente"; its caption is "lbl" + the name after "txt"
  QStringView caption;  // "Cognome e nome:"
  int field;            // of the record
};

class SearchWindow : public ListWindow {
  Q_OBJECT
 public:
  SearchWindow(QWidget* owner, std::span<const SearchFilter> filters);

 public slots:
  void btnCercaClick();
  void btnAnnullaClick();
  void lstRecordsDblClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  void lineChosen(int row) override;

  // The lines of the records the filters match, sorted. Throws ArchiveError.
  virtual ListEntries search(const FilterSet& filters) = 0;
  // Takes the record behind a chosen line as the window's result; silent on
  // any failure.
  virtual void pick(const QString& line) = 0;

 private:
  void buildFilters();

  std::span<const SearchFilter> filters_;
  QWidget* panAvvio;
  QWidget* panContainer;
  QLabel* lblConta;
  QLabel* lblAttendere;
  QLabel* lblTrovate;
};

}  // namespace fondaro::gui
