#include "runtime/qt/qt_form.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QBuffer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <utility>

#include "runtime/contrast.h"
#include "runtime/error.h"
#include "runtime/qt/line_edit.h"
#include "runtime/qt/qt_convert.h"

#include "pigmo_icon_png.h"

namespace pigmo::runtime::qt {

namespace {

// A fixed frame with a title bar, the system menu and the close box; the
// minimise and maximise boxes only where the description asks for them.
Qt::WindowFlags FrameFlags(const FormSpec& description) {
  Qt::WindowFlags flags =
      Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (description.minimise_box) flags |= Qt::WindowMinimizeButtonHint;
  if (description.maximise_box) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

void SetRoleColour(QWidget* widget, QPalette::ColorRole role, std::optional<Colour> colour) {
  if (!colour) return;  // the platform's default
  QPalette palette = widget->palette();
  palette.setColor(role, ToQColor(*colour));
  widget->setPalette(palette);
}

// A control's own text colour where it reads on the background the user's
// colour scheme gives the control (a dark scheme would hide black, blue and
// green); the scheme's own text colour otherwise. Qt tells of no
// high-contrast setting: the contrast alone decides.
void SetTextColour(QWidget* widget, QPalette::ColorRole text, QPalette::ColorRole background,
                   std::optional<Colour> own) {
  const QPalette& scheme = widget->palette();
  const Colour painted = TextColour(own, FromQColor(scheme.color(text)), FromQColor(scheme.color(background)),
                                    /*high_contrast=*/false);
  if (painted == own) SetRoleColour(widget, text, painted);  // own, and readable
}

// Captions carry no access keys: an ampersand is shown as it is.
QString PlainButtonText(std::u16string_view caption) {
  QString text = ToQString(caption);
  text.replace(QLatin1Char('&'), QLatin1String("&&"));
  return text;
}

// The top-level widget of a form. Its own class lets assistive tools see it
// as a window (a frame over AT-SPI) instead of a plain client area; a
// QDialog would say so too, but would close on Escape.
class FormWindow final : public QWidget {
 public:
  using QWidget::QWidget;
};

QAccessibleInterface* FormWindowAccessible(const QString&, QObject* object) {
  auto* window = dynamic_cast<FormWindow*>(object);
  return window ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

}  // namespace

QFont ResolveFont(const FontSpec& description, double points) {
  QString family = ToQString(description.face);
  if (!QFontDatabase::hasFamily(family) && !description.fallback_family.empty()) {
    family = ToQString(description.fallback_family);
  }
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setWeight(static_cast<QFont::Weight>(std::clamp(description.weight, 1, 1000)));
  font.setItalic(description.italic);
  font.setUnderline(description.underline);
  font.setStrikeOut(description.strikeout);
  return font;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const resources::IconPng& png : resources::kIconPngs) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(png.bytes), static_cast<qsizetype>(png.size));
    QBuffer buffer(&bytes);
    // Named format, no guessing: Qt's own PNG decoder, and no image-format
    // plugin is loaded to ask whether it knows the data better.
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    icon.addPixmap(QPixmap::fromImage(reader.read()));
  }
  return icon;
}

QtForm::QtForm(const FormSpec& description, QtFormOptions options) : centred_(description.centred) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double screen_dpi_x = screen ? screen->logicalDotsPerInchX() : 96.0;
  const double screen_dpi_y = screen ? screen->logicalDotsPerInchY() : 96.0;
  dpi_x_ = options.dpi > 0 ? options.dpi : screen_dpi_x;
  dpi_y_ = options.dpi > 0 ? options.dpi : screen_dpi_y;
  // Qt turns points into pixels with the screen's DPI; a layout at another
  // DPI scales the point size by the same ratio as the twips.
  font_ = ResolveFont(description.font, description.font.points * dpi_y_ / screen_dpi_y);

  static const bool factory_installed = (QAccessible::installFactory(FormWindowAccessible), true);
  (void)factory_installed;
  window_ = std::make_unique<FormWindow>(nullptr, FrameFlags(description));
  window_->setObjectName(ToQString(description.name));
  window_->setWindowTitle(ToQString(description.caption));
  if (const QIcon icon = ProgramIcon(); !icon.isNull()) window_->setWindowIcon(icon);
  const QSize client(TwipsToPixels(description.client_width, dpi_x_), TwipsToPixels(description.client_height, dpi_y_));
  if (description.resizable) {
    window_->resize(client);
  } else {
    window_->setFixedSize(client);  // equal minimum and maximum size hints
  }

  for (const ControlSpec& c : description.controls) {
    std::string name(c.name);
    if (widgets_.count(name)) Raise(ErrorKind::kInvalidArgument, "two controls named " + name);
    QWidget* widget = nullptr;
    switch (c.kind) {
      case ControlKind::kTextBox: {
        auto* edit = new LineEdit(window_.get());
        // The start text is in place before the box is connected, so no
        // change event is raised for it.
        edit->setText(ToQString(c.text));
        edit->setCursorPosition(0);
        edit->setReadOnly(c.read_only);
        edit->SetTypedLimit(c.max_length);
        edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        SetRoleColour(edit, QPalette::Base, c.back_colour);
        SetTextColour(edit, QPalette::Text, QPalette::Base, c.fore_colour);
        boxes_[name] = std::make_shared<QtTextBox>(edit);
        widget = edit;
        break;
      }
      case ControlKind::kLabel: {
        auto* label = new QLabel(window_.get());
        label->setTextFormat(Qt::PlainText);
        label->setText(ToQString(c.text));
        label->setWordWrap(false);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFrameShape(QFrame::NoFrame);
        label->setFocusPolicy(Qt::NoFocus);
        SetTextColour(label, QPalette::WindowText, QPalette::Window, c.fore_colour);
        auto control = std::make_unique<QtLabel>(label, c.colour_patch);
        if (c.back_colour) control->SetBackColour(*c.back_colour);
        labels_[name] = std::move(control);
        widget = label;
        break;
      }
      case ControlKind::kButton: {
        auto* button = new QPushButton(window_.get());
        button->setText(PlainButtonText(c.text));
        // Neither default nor cancel: Enter and Escape never press it.
        button->setAutoDefault(false);
        button->setDefault(false);
        SetTextColour(button, QPalette::ButtonText, QPalette::Button, c.fore_colour);
        buttons_[name] = std::make_unique<QtButton>(button, std::u16string(c.text));
        widget = button;
        break;
      }
    }
    widget->setObjectName(ToQString(c.name));
    widget->setAccessibleName(ToQString(c.accessible_name));
    if (!c.accessible_description.empty()) {
      widget->setAccessibleDescription(ToQString(c.accessible_description));
    }
    widget->setGeometry(ToPixels(c.bounds));
    if (c.uses_font) widget->setFont(font_);
    widgets_.emplace(std::move(name), widget);
  }

  // A caption is the buddy of its box: screen readers read it with the box.
  for (const ControlSpec& c : description.controls) {
    if (c.kind != ControlKind::kLabel || c.caption_of.empty()) continue;
    static_cast<QLabel*>(ControlWidget(c.name))->setBuddy(ControlWidget(c.caption_of));
  }

  for (const ControlSpec* c : InTabOrder(description)) {
    if (c->kind != ControlKind::kLabel) tab_stops_.push_back(ControlWidget(c->name));
  }
  for (std::size_t i = 1; i < tab_stops_.size(); ++i) {
    QWidget::setTabOrder(tab_stops_[i - 1], tab_stops_[i]);
  }
}

QtForm::~QtForm() {
  // The widgets go first; controls still held elsewhere keep their last state.
  window_.reset();
}

QRect QtForm::ToPixels(const TwipRect& twips) const {
  return QRect(TwipsToPixels(twips.left, dpi_x_), TwipsToPixels(twips.top, dpi_y_), TwipsToPixels(twips.width, dpi_x_),
               TwipsToPixels(twips.height, dpi_y_));
}

std::shared_ptr<TextBox> QtForm::TextBoxNamed(std::string_view name) { return ControlNamed(boxes_, name); }

QtTextBox& QtForm::Box(std::string_view name) { return *ControlNamed(boxes_, name); }

Label& QtForm::LabelNamed(std::string_view name) { return *ControlNamed(labels_, name); }

Button& QtForm::ButtonNamed(std::string_view name) { return *ControlNamed(buttons_, name); }

QWidget* QtForm::ControlWidget(std::string_view name) const { return ControlNamed(widgets_, name); }

void QtForm::ShowInfo(std::u16string_view text, std::u16string_view title) {
  QMessageBox box(QMessageBox::Information, ToQString(title), WithLineBreaks(text), QMessageBox::Ok, window_.get());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void QtForm::Show() {
  if (centred_) Centre();
  if (!tab_stops_.empty()) {
    QWidget* first = tab_stops_.front();
    first->setFocus(Qt::OtherFocusReason);
    // The start counts as taking the focus from the keyboard.
    if (auto* edit = dynamic_cast<LineEdit*>(first)) edit->selectAll();
  }
  window_->show();
  // Where the platform knows the frame only once the window exists, centre
  // again so that the whole window, frame included, sits in the middle.
  if (centred_ && window_->frameGeometry().size() != window_->size()) Centre();
  window_->raise();
  window_->activateWindow();
}

void QtForm::Centre() {
  const QScreen* screen = window_->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // move() places the frame; before the window is shown the frame is
  // usually not known yet and counts as the client area.
  const QRect place = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window_->frameGeometry().size(),
                                          screen->availableGeometry());
  window_->move(place.topLeft());
}

std::unique_ptr<QtForm> BuildQtForm(const FormSpec& description, QtFormOptions options) {
  return std::make_unique<QtForm>(description, options);
}

}  // namespace pigmo::runtime::qt
