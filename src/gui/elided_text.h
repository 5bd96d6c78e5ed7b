// Texts longer than their field (scenery area titles, folders) shown
// shortened in the middle, so that both the start and the end stay readable;
// the whole text is the field's tooltip.
#pragma once

#include <QLabel>
#include <QString>

class QLineEdit;

namespace tarnvale::gui {

// A one-line label that shows as much of its text as its width holds: a
// head that is always shown whole, then as much of the rest as fits.
class ElidedLabel final : public QLabel {
 public:
  explicit ElidedLabel(QWidget* parent = nullptr) : QLabel(parent) {}

  void SetFullText(const QString& head, const QString& rest);
  QString FullText() const { return head_ + rest_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();

  QString head_;
  QString rest_;
};

// Shows `text` in the read-only `field`, shortened in the middle when it is
// wider than the field.
void SetElidedText(QLineEdit* field, const QString& text);

}  // namespace tarnvale::gui
