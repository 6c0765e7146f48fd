#pragma once

#include <QObject>
#include <QString>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace trawlix::app {

// Only one copy of the program runs per user. The first copy listens on a local socket; a
// later start connects, hands over its command-line text and ends.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Role {
    First,   // this copy listens; HandedOver arrives for every later start
    Second,  // the text went to the running copy: end quietly
    Failed,  // neither listening nor a running copy: run without the guard
  };

  // `serverName` empty: DefaultServerName().
  explicit SingleInstance(QString serverName = {}, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Hands `text` over to a running copy, or becomes the running copy. Texts that are too long
  // arrive as an empty text.
  Role Start(const std::string& text);

  const QString& serverName() const { return serverName_; }

  // The per-user name: in the user's runtime folder when there is one, and with the user's
  // name in it so that two users on one machine never meet. A `dataDir` of its own (the
  // --data-dir option) gets a name of its own: copies on different data never meet either.
  static QString DefaultServerName(const QString& dataDir = {});

  // Sends `text` to the copy listening on `serverName`; true when one took it. Blocks for at
  // most a few seconds and needs no event loop, so any thread may call it.
  static bool SendToRunning(const QString& serverName, const std::string& text);

 Q_SIGNALS:
  // On the thread that called Start, once for every later start. The text's bytes as sent:
  // file names need not be UTF-8.
  void HandedOver(const QByteArray& text);

 private:
  void Accept();
  void ReadHandOver(QLocalSocket* socket);

  QString serverName_;
  QLocalServer* server_;
};

}  // namespace trawlix::app
