#include "app/qt/SingleInstance.h"

#include <unistd.h>

#include <QLocalSocket>

namespace zv {
namespace {
constexpr char kActivate[] = "activate\n";
constexpr int kWaitMs = 1000;
}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent) : QObject(parent), name_(std::move(serverName)) {
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

SingleInstance::~SingleInstance() { server_.close(); }

QString SingleInstance::defaultServerName() { return QString("zorvex-%1").arg(::getuid()); }

bool SingleInstance::claim() {
  {
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(kWaitMs)) {
      probe.write(kActivate);
      probe.flush();
      probe.waitForBytesWritten(kWaitMs);
      probe.disconnectFromServer();
      if (probe.state() != QLocalSocket::UnconnectedState) probe.waitForDisconnected(kWaitMs);
      return false;
    }
  }
  // Nobody answered: a socket left behind by a copy that crashed is stale.
  QLocalServer::removeServer(name_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  // Without a socket this copy still runs; it just cannot be found by the next one.
  server_.listen(name_);
  return true;
}

void SingleInstance::onConnection() {
  while (QLocalSocket* s = server_.nextPendingConnection()) {
    connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    auto handle = [this, s] {
      if (s->canReadLine() && s->readLine() == kActivate) emit activationRequested();
    };
    connect(s, &QLocalSocket::readyRead, this, handle);
    handle();  // the message may already be here
  }
}

}  // namespace zv
