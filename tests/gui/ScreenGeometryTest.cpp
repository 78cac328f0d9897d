// Every screen with the longest texts it can hold: no text cut, no control
// past its frame, no two controls on top of each other, whichever control
// has the focus (bold labels and captions included). ctest runs this file a
// second time at 144 dpi (QT_SCALE_FACTOR=1.5).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "app/qt/frmDriveSelect.h"
#include "app/qt/frmMainMenu.h"
#include "intake/qt/frmClientInfo.h"
#include "intake/qt/frmCourtHistory.h"
#include "report/qt/frmPrintSelected.h"
#include "report/qt/frmViewReport.h"
#include "sheets/qt/frmNewEntry.h"
#include "sheets/qt/frmScanProgress.h"
#include "sheets/qt/frmScannerSelect.h"
#include "records/ClientSlot.h"
#include "supervisor/AccessCode.h"
#include "supervisor/qt/frmMyInputBox.h"
#include "supervisor/qt/frmSupervisorOptions.h"
#include "supervisor/qt/frmVerify.h"
#include "testing/qt/frmPresentQA.h"
#include "testing/qt/frmSelectEntryMethod.h"
#include "testing/qt/frmSelectLanguage.h"
#include "tests/gui/ClientInfoTestSupport.h"
#include "ui/qt/frmAbout.h"

using namespace zv;

namespace {

const std::string kLongestName(25, 'W');

QString describe(const QWidget* w) {
  return w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
}

// Text a widget shows and the width it has for it.
bool textFits(const QWidget* w, QString& why) {
  const QFontMetrics fm = w->fontMetrics();
  auto fits = [&](const QString& text, int need, int room, const char* what = "") {
    if (need <= room) return true;
    why = QString("\"%1\" needs %2 px%3, has %4").arg(text).arg(need).arg(what).arg(room);
    return false;
  };
  auto check = [&](const QString& t, int room) { return t.isEmpty() || fits(t, fm.horizontalAdvance(t), room); };
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->textFormat() == Qt::RichText || !l->pixmap().isNull()) return true;
    if (l->wordWrap()) return fits(l->text(), l->heightForWidth(l->width()), l->height(), " of height");
    bool ok = true;
    for (const QString& line : l->text().split('\n')) ok = ok && check(line, l->contentsRect().width() - 2 * l->margin());
    return ok;
  }
  if (auto* b = qobject_cast<const QPushButton*>(w)) {
    // A caption keeps the style's own padding from both borders (measured on
    // a long caption, where no minimum button width hides it).
    QPushButton probe(QString(40, 'W'));
    probe.setFont(b->font());
    const int padding = probe.sizeHint().width() - fm.horizontalAdvance(probe.text());
    return check(b->text().remove('&'), b->width() - padding);
  }
  if (auto* b = qobject_cast<const QAbstractButton*>(w))  // option buttons and check boxes
    return fits(b->text(), b->sizeHint().width(), b->width());
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return check(g->title(), g->width() - fm.height());
  if (auto* e = qobject_cast<const QLineEdit*>(w)) {
    // The frame and the text margins of the style (2 px each side, 1 px cursor).
    return check(e->text(), e->contentsRect().width() - 2 * e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 5);
  }
  if (auto* list = qobject_cast<const QListWidget*>(w)) {
    for (int i = 0; i < list->count(); ++i)
      if (!check(list->item(i)->text(), list->viewport()->width() - 2 * list->spacing() - 8)) return false;
    return true;
  }
  return true;
}

// The faults of one screen as it stands.
std::vector<std::string> faults(QWidget* screen) {
  std::vector<std::string> out;
  for (QWidget* w : screen->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(screen) || w->objectName().startsWith("qt_")) continue;
    QString why;
    if (!textFits(w, why)) out.push_back((describe(w) + ": " + why).toStdString());
    QWidget* parent = w->parentWidget();
    if (parent && !w->isWindow() && !parent->rect().contains(w->geometry()))
      out.push_back((describe(w) + " runs past " + describe(parent)).toStdString());
    if (!parent || w->objectName().isEmpty()) continue;
    for (QObject* o : parent->children()) {
      auto* other = qobject_cast<QWidget*>(o);
      if (!other || other <= w || other->objectName().isEmpty() || !other->isVisibleTo(screen)) continue;
      if (w->property("overlay").toBool() || other->property("overlay").toBool()) continue;  // covers on purpose
      if (w->geometry().intersects(other->geometry()))
        out.push_back((describe(w) + " overlaps " + describe(other)).toStdString());
    }
  }
  return out;
}

// Checks the screen as shown and with the focus on each control in turn.
void expectFits(QWidget* screen, const char* name) {
  SCOPED_TRACE(name);
  zvtest::showActive(screen);
  std::vector<std::string> all = faults(screen);
  for (QWidget* w : screen->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(screen) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    for (const std::string& f : faults(screen)) all.push_back("focus on " + describe(w).toStdString() + ": " + f);
  }
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  EXPECT_EQ(all, std::vector<std::string>{});
  screen->hide();
}

// Builds a screen, readies it with `prepare` (if any) and checks it.
template <class Screen, class... Args>
void fits(const char* name, const std::function<void(Screen&)>& prepare, Args&&... args) {
  Screen s(std::forward<Args>(args)...);
  if (prepare) prepare(s);
  expectFits(&s, name);
}

}  // namespace

TEST(ScreenGeometry, IntakeAndTestScreens) {
  zvtest::IntakeRig rig;  // clients with the longest name a record holds
  rig.storeNames(std::vector<std::string>(3, kLongestName), 2);
  fits<frmSelectLanguage>("language", {}, rig.state);
  for (const char* language : {"English", "Spanish"}) fits<frmPresentQA>(language, {}, rig.state, language);
  fits<frmSelectEntryMethod>("entry method", {}, rig.state);
  ClientSlot(rig.state.clients).beginEdit();
  fits<frmClientInfo>("client information", [](auto& s) { s.textField(InfoField::SSN)->setText("WWWWWWWWWW"); },
                      rig.state);
  fits<frmCourtHistory>("court history", {}, rig.state);
  fits<frmNewEntry>("answer grid", {}, rig.state);
  fits<frmVerify>("verify", {}, rig.state);
  AcquireProgress progress;
  fits<frmScanProgress>("scan progress", {}, progress);
  SaneDeviceList found;
  found.devices = {{"hpaio:/usb/Officejet_Pro_8600?serial=CN12AB34CD", "Hewlett-Packard", "Officejet Pro 8600", "all-in-one"},
                   {"pnm:0", "Noname", "PNM file reader", "virtual device"}};
  fits<frmScannerSelect>("scanner", {}, rig.state, found);
}

TEST(ScreenGeometry, MenuAndSupervisorScreens) {
  zvtest::SupervisorScreens s(3);
  for (int n = 1; n <= 3; ++n) s.state.clients.slot[static_cast<std::size_t>(n)].setText(Field::Name, kLongestName);
  fits<frmMainMenu>("main menu", [](auto& menu) {
    menu.hooks().splashTiming = frmAbout::noWaits();
    menu.RefreshNameDisplay();
  }, s.state);
  fits<frmDriveSelect>("drive selection", {}, s.prompter, s.data.path(), s.data.path());
  ScriptedInputPrompt input;
  {
    frmSupervisorOptions options(s.state, s.printer, input, s.summaryComposer());
    for (int tab = 0; tab < 3; ++tab) {
      options.sstSupervisorOperations()->setCurrentIndex(tab);
      expectFits(&options, "supervisor options");
    }
  }
  fits<frmMyInputBox>("access code", [](auto& code) {
    code.setHelpMessage(QString::fromStdString(accessCodeRequest().helpMessage));
  }, s.prompter);
  fits<frmPrintSelected>("print selected", {}, s.state, s.printer, s.composer());
  fits<frmViewReport>("view report", {}, s.state, s.printer, s.composer());
  fits<frmAbout>("about", {}, false, frmAbout::noWaits());
}
