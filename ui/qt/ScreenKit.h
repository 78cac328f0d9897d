#pragma once
// The look and keyboard behaviour every screen shares: centred windows, a
// main frame 500 twips above the middle, menu-choice rows whose panels light
// up with the focus, the one-line help panel at the foot, the busy pointer.
#include <QColor>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QVector>

namespace zv {

// &H00BBGGRR as a QColor.
QColor vbColor(unsigned bgr);
// Twips (1440 to the inch) to pixels at the screen's resolution.
int twips(int t);

// One-line help text at the foot of a screen.
class MsgPanel : public QLabel {
  Q_OBJECT
 public:
  explicit MsgPanel(QWidget* parent = nullptr);
};

// Centres a window on the display, unless it is maximised.
void CenterForm(QWidget* form);
// Places a frame in its form: centred horizontally, its centre 500 twips above the form's centre.
void placeFrame(QWidget* frame, QWidget* form);
// Busy pointer for the whole display, then pending events run.
void MouseWait();
void MouseDefault();
// Selects the whole text of the focused control of the active window, when it has one.
void SelectAllText();
// The same for a field that just got the focus: after a click the selection
// waits for the click to have placed the caret, so typing still replaces the text.
void selectOnFocus(QWidget* field, Qt::FocusReason reason);
// A label turns bold while its field has the focus.
void setBold(QLabel* label, bool on);

// Menu-choice rows: button i sits in panel i; the panel is &HFF0000 normally
// and &HFFFF00 with a bold caption while its button has the focus. On a
// button only Enter (runs it) and Space (presses it) act; the arrow keys move
// the focus to the previous or next control in tab order; other keys are discarded.
class MenuChoices : public QObject {
  Q_OBJECT
 public:
  explicit MenuChoices(QWidget* owner, MsgPanel* panel = nullptr);

  // Adds row count(); the panel is a child of `container` (the owner when null).
  QPushButton* add(const QString& caption, const QString& help = {}, QWidget* container = nullptr);
  // The same row with its button laid out inside the panel's coloured border;
  // returns the panel, ready to be put into the screen's layout.
  QFrame* addRow(const QString& caption, const QString& help, QWidget* container);
  QPushButton* button(int i) const { return rows_.at(i).button(); }
  QFrame* panel(int i) const { return rows_.at(i).panel(); }
  int count() const { return rows_.size(); }
  void setHelp(int i, const QString& help) { rows_[i].help = help; }
  void setMsgPanel(MsgPanel* panel) { msg_ = panel; }

  void ResetMenuChoices(int last);
  void HighlightMenuChoice(int last, int k);
  bool isHighlighted(int i) const;
  // The index of the row whose button last received the focus (-1: none yet).
  int focusedChoice() const { return focused_; }

 signals:
  void chosen(int index);
  void focused(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Guarded as plain objects: a widget being destroyed is no longer of its
  // own class, and must not be cast to it.
  struct Row {
    QPointer<QObject> panelObject;
    QPointer<QObject> buttonObject;
    QString help;
    QFrame* panel() const { return qobject_cast<QFrame*>(panelObject.data()); }
    QPushButton* button() const { return qobject_cast<QPushButton*>(buttonObject.data()); }
  };
  // False once the row's widgets are gone or being destroyed.
  static bool alive(const Row& row);
  int indexOf(QObject* o) const;
  QWidget* owner_;
  MsgPanel* msg_;
  QVector<Row> rows_;
  int focused_ = -1;
};

// A modal screen: a main frame placed by the screen rule, a message panel at
// the foot, centring on first show. Subclasses build into frame() and
// override activate(), which runs every time the screen is shown.
class Form : public QDialog {
  Q_OBJECT
 public:
  Form(const QString& caption, QWidget* parent = nullptr);
  QFrame* frame() const { return frame_; }
  MsgPanel* msgPanel() const { return msg_; }
  // Places frame and panel again (after the frame's size changed).
  void relayout();

 protected:
  virtual void activate() {}
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  QFrame* frame_;
  MsgPanel* msg_;
  bool centred_ = false;
};

}  // namespace zv
