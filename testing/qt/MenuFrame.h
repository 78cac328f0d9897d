#pragma once
// The frame of the test administration menus (entry method, language): a
// box with its bold caption on top and one menu row per choice below.
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/ScreenKit.h"

namespace zv {

inline QVBoxLayout* menuFrame(Form& form, const QString& caption) {
  form.frame()->setObjectName("fraSelectMethod");
  form.frame()->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* layout = new QVBoxLayout(form.frame());
  auto* label = new QLabel(caption, form.frame());
  setBold(label, true);
  layout->addWidget(label, 0, Qt::AlignHCenter);
  return layout;
}

// A row of the menu, at least two and a half inches wide; returns its panel.
inline QFrame* addMenuRow(Form& form, MenuChoices* menu, QVBoxLayout* layout, const QString& caption,
                          const QString& help) {
  QFrame* panel = menu->addRow(caption, help, form.frame());
  QPushButton* b = menu->button(menu->count() - 1);
  b->setMinimumWidth(std::max(b->minimumWidth(), twips(3600)));  // and room for the bold caption
  layout->addWidget(panel);
  if (menu->count() > 1) QWidget::setTabOrder(menu->button(menu->count() - 2), menu->button(menu->count() - 1));
  return panel;
}

}  // namespace zv
