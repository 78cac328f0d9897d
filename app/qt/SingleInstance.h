#pragma once
// One running copy per user: the first copy listens on a local socket; a
// later copy asks it to come forward and then ends without showing a screen.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace zv {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when no other copy answered (this one listens from now on); false
  // when a running copy answered and was asked to come forward.
  bool claim();
  bool listening() const { return server_.isListening(); }
  const QString& serverName() const { return name_; }

  // Per user, so that two people on one machine do not meet.
  static QString defaultServerName();

 signals:
  // A later copy asked this one to restore its window and come to the front.
  void activationRequested();

 private:
  void onConnection();
  QString name_;
  QLocalServer server_;
};

}  // namespace zv
