// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fitting the fixed-size windows to small screens.
//
// Every window is designed at a fixed size: a work window's panel
// "panContainer" (1220 x 712 for the editors), a dialog its own. Where the
// screen's available area is smaller, the content is scaled down as a whole:
// each control's place and size, its font, its picture or icon, and the
// layouts' margins and gaps, always from the designed values (kept on the
// first scaling, so scaling again never drifts). Scaling never goes below the
// scale at which the smallest font is 9 pixels high; what is still too big then
// scrolls, and the keyboard focus brings each control it reaches into view.
//
// Nothing changes on a screen where the design fits: the scale is then 1 and
// no control is touched.
#include <QPointer>
#include <QScrollArea>
#include <QSize>
#include <functional>

namespace fondaro::gui {

// The smallest font any text may have once scaled, in pixels.
inline constexpr qreal kLegiblePixels = 9.0;

// The scale `content` is shown at (1 until scaled).
qreal contentScale(const QWidget* content);
// The smallest scale at which every font inside `content` keeps kLegiblePixels.
qreal legibleScale(const QWidget* content);
// Scales the children of `content` to `factor` times their designed values.
// `content` itself keeps its size; the caller sizes it.
void scaleContent(QWidget* content, qreal factor);
// The scale that fits `design` in `room`: at most 1, at least `floor`.
qreal fittingScale(QSize design, QSize room, qreal floor);

// The frameless, see-through area a work window's panel sits in, centred. It
// scales the panel to the room it has and scrolls what is still too big.
class FitArea : public QScrollArea {
  Q_OBJECT
 public:
  // `panel` has its designed size as its fixed size.
  FitArea(QWidget* panel, QWidget* parent);

  QWidget* panel() const { return panel_; }
  QSize designSize() const { return design_; }
  // Where the room is wider than the design, `widen(spare)` may take up to
  // `spare` more pixels of width (see Form::widen).
  void setWidening(std::function<int(int)> widen);

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void refit();
  void follow(QWidget* now);

  QWidget* panel_;
  QSize design_;
  std::function<int(int)> widen_;
};

}  // namespace fondaro::gui
