#include "platform/Platform_Forms.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace {

bool Have_Widgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

QFont To_Qt_Font(const Font_Spec& f) {
  QFont font(QString::fromStdString(f.Family));
  font.setPixelSize(f.Pixel_Height);
  font.setWeight(f.Heavy ? QFont::Black : f.Bold ? QFont::Bold : QFont::Normal);
  return font;
}

QColor Rgb(uint32_t rgb) { return QColor::fromRgb(rgb); }

QImage To_Qt_Image(const Pixel_Picture& p) {
  QImage::Format format = p.Bits_Per_Pixel == 32 ? QImage::Format_RGB32 : QImage::Format_BGR888;
  QImage view(p.Pixels.data(), p.Width, p.Height, p.Row_Bytes(), format);
  return view.copy();
}

class Picture_Widget : public QWidget {
 public:
  using QWidget::QWidget;
  QImage Picture;
  bool Stretch = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (Picture.isNull()) return;
    QPainter p(this);
    if (Stretch)
      p.drawImage(rect(), Picture);
    else
      p.drawImage(QPoint(0, 0), Picture);
  }
};

class Label_Widget : public QWidget {
 public:
  using QWidget::QWidget;
  QString Caption;
  QFont Font;
  QColor From, To;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFontMetrics m(Font);
    QPainterPath path;
    path.addText(QPointF(0, m.ascent()), Font, Caption);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, From);
    g.setColorAt(1, To);
    p.fillPath(path, g);
  }
};

class Bar_Widget : public QWidget {
 public:
  using QWidget::QWidget;
  int Progress = 0, Maximum = 100;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    qreal radius = r.height() / 2;
    p.setPen(QColor(90, 90, 110));
    p.setBrush(QColor(25, 25, 35));
    p.drawRoundedRect(r, radius, radius);
    double fraction = Maximum > 0 ? std::clamp(Progress / double(Maximum), 0.0, 1.0) : 0.0;
    if (fraction <= 0) return;
    QRectF fill(r.left(), r.top(), r.width() * fraction, r.height());
    QLinearGradient g(0, fill.top(), 0, fill.bottom());
    g.setColorAt(0, QColor(190, 225, 255));
    g.setColorAt(0.5, QColor(40, 120, 230));
    g.setColorAt(1, QColor(90, 170, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(fill, radius, radius);
  }
};

} // namespace

// ---- form window ----------------------------------------------------------

Form_Window::Form_Window(const std::string& caption) {
  if (!Have_Widgets()) return;
  Widget_ = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
  Widget_->setWindowTitle(QString::fromStdString(caption));
  Widget_->setAutoFillBackground(true);
}

Form_Window::~Form_Window() = default;

void Form_Window::Set_Bounds(const Control_Bounds& b) {
  Bounds_ = b;
  if (Widget_) Widget_->setGeometry(b.Left, b.Top, b.Width, b.Height);
}

void Form_Window::Set_Color(uint32_t rgb) {
  if (!Widget_) return;
  QPalette palette = Widget_->palette();
  palette.setColor(QPalette::Window, Rgb(rgb));
  Widget_->setPalette(palette);
}

void Form_Window::Set_Topmost(bool topmost) {
  if (Widget_) Widget_->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
}

void Form_Window::Show() {
  Visible_ = true;
  if (Widget_) Widget_->show();
}

void Form_Window::Hide() {
  Visible_ = false;
  if (Widget_) Widget_->hide();
}

void Form_Window::Repaint() {
  if (Widget_ && Visible_) Widget_->repaint();
}

Window_Handle Form_Window::Native_Handle() const {
  return Widget_ ? static_cast<Window_Handle>(Widget_->winId()) : 0;
}

// ---- controls -------------------------------------------------------------

Form_Control::Form_Control(Form_Window&, bool visible) : Visible_(visible) {}

Form_Control::~Form_Control() = default;

void Form_Control::Set_Bounds(const Control_Bounds& b) {
  Bounds_ = b;
  if (Widget_) Widget_->setGeometry(b.Left, b.Top, b.Width, b.Height);
}

void Form_Control::Set_Visible(bool visible) {
  Visible_ = visible;
  if (Widget_) Widget_->setVisible(visible);
}

void Form_Control::Repaint() {
  if (Widget_ && Visible_) Widget_->repaint();
}

Picture_Box::Picture_Box(Form_Window& form, bool auto_size, bool stretch, bool visible)
    : Form_Control(form, visible), Auto_Size_(auto_size), Stretch_(stretch) {
  if (!form.Widget()) return;
  auto* w = new Picture_Widget(form.Widget());
  w->Stretch = stretch;
  w->setVisible(visible);
  Widget_ = w;
}

void Picture_Box::Set_Picture(const Pixel_Picture& picture) {
  if (Auto_Size_) Set_Bounds({Bounds_.Left, Bounds_.Top, picture.Width, picture.Height});
  if (auto* w = static_cast<Picture_Widget*>(Widget_)) {
    w->Picture = To_Qt_Image(picture);
    w->update();
  }
}

Text_Label::Text_Label(Form_Window& form, const Font_Spec& font, uint32_t gradient_from, uint32_t gradient_to,
                       bool visible)
    : Form_Control(form, visible), Font_(font) {
  if (!form.Widget()) return;
  auto* w = new Label_Widget(form.Widget());
  w->Font = To_Qt_Font(font);
  w->From = Rgb(gradient_from);
  w->To = Rgb(gradient_to);
  w->setVisible(visible);
  Widget_ = w;
}

void Text_Label::Set_Caption(const std::string& caption) {
  Caption_ = caption;
  Control_Bounds size = Measure_Text(Font_, caption);
  Set_Bounds({Bounds_.Left, Bounds_.Top, size.Width, size.Height});
  if (auto* w = static_cast<Label_Widget*>(Widget_)) {
    w->Caption = QString::fromStdString(caption);
    w->update();
  }
}

Progress_Bar::Progress_Bar(Form_Window& form, int maximum, bool visible)
    : Form_Control(form, visible), Maximum_(maximum) {
  if (!form.Widget()) return;
  auto* w = new Bar_Widget(form.Widget());
  w->Maximum = maximum;
  w->setVisible(visible);
  Widget_ = w;
}

void Progress_Bar::Set_Progress(int progress) {
  Progress_ = progress;
  if (auto* w = static_cast<Bar_Widget*>(Widget_)) {
    w->Progress = progress;
    w->update();
  }
}

Control_Bounds Measure_Text(const Font_Spec& font, const std::string& text) {
  if (!Have_Widgets())
    return {0, 0, static_cast<int>(text.size()) * font.Pixel_Height * 2 / 3, font.Pixel_Height * 5 / 4};
  QFontMetrics m(To_Qt_Font(font));
  return {0, 0, m.horizontalAdvance(QString::fromStdString(text)) + 2, m.height()};
}
