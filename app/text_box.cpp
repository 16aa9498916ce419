#include "app/text_box.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>

namespace torvane {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) { ApplyColours(); }

void TextBox::SetBackColour(SystemColour colour) {
  back_colour_ = colour;
  ApplyColours();
}

void TextBox::changeEvent(QEvent* event) {
  // A new colour scheme reaches the box as a palette change: look the two
  // system colours up again.
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
    ApplyColours();
  }
  QLineEdit::changeEvent(event);
}

void TextBox::ApplyColours() {
  QPalette palette = QApplication::palette();
  const QPalette::ColorRole role =
      back_colour_ == SystemColour::kButtonFace ? QPalette::Button : QPalette::Base;
  const QColor back = palette.color(QPalette::Active, role);
  const QColor text = palette.color(QPalette::Active, QPalette::Text);
  // The same colours in every group, the disabled one included, so that a
  // disabled frame does not grey the box out.
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, back);
    palette.setColor(group, QPalette::Text, text);
  }
  // Setting the palette raises a palette change itself: only set it when it
  // differs.
  if (palette != this->palette() || !testAttribute(Qt::WA_SetPalette)) setPalette(palette);
}

}  // namespace torvane
