#pragma once
// The printing of the movement card on screen: the editor's controls as they
// are at that moment, saved or not, on one A4 sheet. One print per opening.
#include "gui/form.h"

class QDateTime;

namespace fondaro {

namespace report {
class Report;
}

class TfrmStampaMovimento : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmStampaMovimento(QWidget* owner = nullptr);

  // The card as the editor `editor` shows it now, printed on `now`.
  static report::Report cardReport(const QWidget& editor, const QDateTime& now);

 public slots:
  void btnStampaClick();
  void btnAnnullaClick();
};

}  // namespace fondaro
