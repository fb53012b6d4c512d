// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several documents printed one after another as one: each starts on a page of
// its own and numbers its own pages (a batch of invoices, each a paper of its
// own). The page layout and the title are the first document's.
#include <vector>

#include "report/report.h"

namespace fondaro::report {

class ReportSequence : public PrintDocument {
 public:
  ReportSequence() = default;
  explicit ReportSequence(std::vector<Report> parts) : parts_(std::move(parts)) {}

  void append(Report part) { parts_.push_back(std::move(part)); }
  std::vector<Report>& parts() { return parts_; }
  const std::vector<Report>& parts() const { return parts_; }
  void setTitle(const QString& title) { title_ = title; }
  // The page (from 0) where part `index` begins, as the last paginate() laid
  // them out; 0 before.
  int firstPage(size_t index) const { return index < firstPages_.size() ? firstPages_[index] : 0; }

  // PrintDocument.
  QString title() const override;
  QPageLayout pageLayout() const override;
  int paginate(QPaintDevice& device) override;
  void paintPage(QPainter& painter, int page) override;

 private:
  std::vector<Report> parts_;
  std::vector<int> firstPages_;  // the first page of each part, at the last paginate()
  QString title_;
};

}  // namespace fondaro::report
