// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/sequence.h"

#include <algorithm>

namespace fondaro::report {

QString ReportSequence::title() const {
  if (!title_.isEmpty() || parts_.empty()) return title_;
  return parts_.front().title();
}

QPageLayout ReportSequence::pageLayout() const {
  return parts_.empty() ? QPageLayout() : parts_.front().pageLayout();
}

int ReportSequence::paginate(QPaintDevice& device) {
  firstPages_.clear();
  int pages = 0;
  for (Report& part : parts_) {
    firstPages_.push_back(pages);
    pages += part.paginate(device);
  }
  return std::max(1, pages);
}

void ReportSequence::paintPage(QPainter& painter, int page) {
  const auto after = std::upper_bound(firstPages_.begin(), firstPages_.end(), page);
  if (after == firstPages_.begin()) return;
  const size_t part = size_t(after - firstPages_.begin() - 1);
  parts_[part].paintPage(painter, page - firstPages_[part]);
}

}  // namespace fondaro::report
