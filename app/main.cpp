// Zorvex: start-up runs in the main menu; see app/qt.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label("Zorvex");
  label.setWindowTitle("Zorvex");
  label.show();
  return app.exec();
}
