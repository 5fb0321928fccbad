// Platform_Forms: the few form controls the programs' forms are made of — a
// borderless form window, picture boxes, labels (plain and with a vertical
// colour gradient) and a progress bar — on Qt Widgets.
//
// Every control keeps its state (bounds, visibility, caption, position) in
// plain fields, so the forms' logic runs and is tested without a screen;
// when an application object with a display exists, the control also shows
// itself as a Qt widget. Positions and sizes are pixels of the form.
// GUI thread only.
#pragma once

#include "platform/Platform_Picture.h"
#include "platform/Platform_Types.h"

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

struct Control_Bounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct Font_Spec {
  std::string Family = "Verdana";
  int Pixel_Height = 27; // the component library's negative font height, as pixels
  bool Bold = true;
  bool Heavy = false; // the heaviest weight
};

class Form_Window {
 public:
  explicit Form_Window(const std::string& caption);
  ~Form_Window();
  Form_Window(const Form_Window&) = delete;
  Form_Window& operator=(const Form_Window&) = delete;

  void Set_Bounds(const Control_Bounds& b);
  const Control_Bounds& Bounds() const { return Bounds_; }
  void Set_Color(uint32_t rgb);
  void Set_Topmost(bool topmost);
  void Show();
  void Hide();
  void Repaint(); // draws pending changes at once
  bool Visible() const { return Visible_; }
  // The X11 id of the form's window, or 0 without a screen.
  Window_Handle Native_Handle() const;
  QWidget* Widget() const { return Widget_.get(); }

 private:
  std::unique_ptr<QWidget> Widget_;
  Control_Bounds Bounds_;
  bool Visible_ = false;
};

// Shared behaviour of the controls placed on a form.
class Form_Control {
 public:
  virtual ~Form_Control();
  void Set_Bounds(const Control_Bounds& b);
  const Control_Bounds& Bounds() const { return Bounds_; }
  void Set_Left(int left) { Set_Bounds({left, Bounds_.Top, Bounds_.Width, Bounds_.Height}); }
  void Set_Top(int top) { Set_Bounds({Bounds_.Left, top, Bounds_.Width, Bounds_.Height}); }
  void Set_Visible(bool visible);
  bool Visible() const { return Visible_; }
  void Repaint();

 protected:
  Form_Control(Form_Window& form, bool visible);
  QWidget* Widget_ = nullptr; // owned by the form's widget
  Control_Bounds Bounds_;
  bool Visible_ = true;
};

// A picture; Auto_Size makes the control the picture's size, Stretch fills
// the control with it.
class Picture_Box : public Form_Control {
 public:
  Picture_Box(Form_Window& form, bool auto_size, bool stretch, bool visible = true);
  void Set_Picture(const Pixel_Picture& picture);

 private:
  bool Auto_Size_, Stretch_;
};

// A caption in one font; Gradient_From/To (0xRRGGBB) shade it from top to
// bottom, or it is drawn plain in Gradient_From. The control takes the size
// of its caption.
class Text_Label : public Form_Control {
 public:
  Text_Label(Form_Window& form, const Font_Spec& font, uint32_t gradient_from, uint32_t gradient_to, bool visible = true);
  void Set_Caption(const std::string& caption);
  const std::string& Caption() const { return Caption_; }

 private:
  Font_Spec Font_;
  std::string Caption_;
};

class Progress_Bar : public Form_Control {
 public:
  Progress_Bar(Form_Window& form, int maximum, bool visible = true);
  void Set_Progress(int progress);
  int Progress() const { return Progress_; }

 private:
  int Progress_ = 0;
  int Maximum_;
};

// Measures a caption in a font: the width and height in pixels it takes. Without
// a screen an estimate from the font height.
Control_Bounds Measure_Text(const Font_Spec& font, const std::string& text);
