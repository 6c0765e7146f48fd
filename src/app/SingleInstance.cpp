#include "app/SingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include "app/HandOver.h"

namespace trawlix::app {

namespace {

constexpr const char* kBaseName = "3D54AC15-A344-415c-AF99-E41269661C35";
constexpr int kConnectMs = 1000;
constexpr int kExchangeMs = 3000;
// The running copy answers one byte once it holds the text.
constexpr char kReceived = '+';

// The message on the wire: a 32-bit length, then the text's bytes.
QByteArray Encode(const std::string& text) {
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out << static_cast<quint32>(text.size());
  out.writeRawData(text.data(), static_cast<int>(text.size()));
  return message;
}

QString UserName() {
  const QString home = QDir::homePath();
  const QString name = QDir(home).dirName();
  return QStringLiteral("%1-%2").arg(name.isEmpty() ? QStringLiteral("user") : name).arg(getuid());
}

}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent),
      serverName_(serverName.isEmpty() ? DefaultServerName() : std::move(serverName)),
      server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

SingleInstance::~SingleInstance() {
  server_->close();
}

QString SingleInstance::DefaultServerName(const QString& dataDir) {
  QString name = QStringLiteral("%1-%2").arg(QLatin1String(kBaseName), UserName());
  if (!dataDir.isEmpty()) {
    const QByteArray folder = QDir(dataDir).absolutePath().toUtf8();
    name += QLatin1Char('-') +
            QString::fromLatin1(
                QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(12));
  }
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

SingleInstance::Role SingleInstance::Start(const std::string& text) {
  const std::string handed = HandOverText(text);
  if (SendToRunning(serverName_, handed)) return Role::Second;
  if (server_->listen(serverName_)) return Role::First;
  if (server_->serverError() == QAbstractSocket::AddressInUseError) {
    // Either another copy is just coming up, or a crashed run left its socket behind.
    if (SendToRunning(serverName_, handed)) return Role::Second;
    QLocalServer::removeServer(serverName_);
    if (server_->listen(serverName_)) return Role::First;
  }
  return Role::Failed;
}

bool SingleInstance::SendToRunning(const QString& serverName, const std::string& text) {
  QLocalSocket socket;
  socket.connectToServer(serverName);
  if (!socket.waitForConnected(kConnectMs)) return false;
  socket.write(Encode(HandOverText(text)));
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(kExchangeMs)) return false;
  }
  // Wait for the receipt, so that this process does not end before the text is taken; a
  // running copy that is stuck still counts as running.
  socket.waitForReadyRead(kExchangeMs);
  socket.disconnectFromServer();
  return true;
}

void SingleInstance::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadHandOver(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // The text may have arrived with the connection.
    if (socket->bytesAvailable() > 0) ReadHandOver(socket);
  }
}

void SingleInstance::ReadHandOver(QLocalSocket* socket) {
  QDataStream in(socket);
  in.startTransaction();
  quint32 size = 0;
  in >> size;
  if (in.status() != QDataStream::Ok) {
    in.rollbackTransaction();
    return;
  }
  if (size > kMaxHandOverLength) {
    // Nothing a later start of ours sends: drop the connection instead of buffering it.
    in.abortTransaction();
    socket->abort();
    socket->deleteLater();
    return;
  }
  QByteArray text(static_cast<qsizetype>(size), '\0');
  if (size > 0 && in.readRawData(text.data(), static_cast<int>(size)) != static_cast<int>(size)) {
    in.rollbackTransaction();
    return;
  }
  if (!in.commitTransaction()) return;
  socket->disconnect(this);
  socket->write(&kReceived, 1);
  socket->flush();
  Q_EMIT HandedOver(text);
}

}  // namespace trawlix::app
