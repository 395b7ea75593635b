#pragma once
// A one-line label for a name of any length in a window of fixed size: what
// does not fit ends in "…", and the whole text is then its tooltip. text()
// stays the whole text.

#include <QLabel>

namespace orvis::ui {

class ElidedLabel : public QLabel {
 public:
  explicit ElidedLabel(QWidget* parent = nullptr);

  void setFullText(const QString& text);
  // Whether the text is cut at the present width.
  bool elided() const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void updateToolTip();
};

}  // namespace orvis::ui
