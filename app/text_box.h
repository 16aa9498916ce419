// A single-line text box whose back colour is one of two system colours,
// kept as a reference to the colour rather than its value, so that it
// follows the user's colour scheme.
#pragma once

#include <QLineEdit>

namespace torvane {

// Button-face grey marks a box that is not in use, window white one in use.
enum class SystemColour { kButtonFace, kWindow };

class TextBox : public QLineEdit {
 public:
  explicit TextBox(QWidget* parent);

  SystemColour BackColour() const { return back_colour_; }
  // The box keeps this colour and its readable text when the frame around it
  // is disabled: only the frame shows that it cannot be used.
  void SetBackColour(SystemColour colour);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void ApplyColours();

  SystemColour back_colour_ = SystemColour::kWindow;
};

}  // namespace torvane
