#pragma once
// Only one instance of the program runs: the first one owns a lock file and
// listens on a local socket; a later start finds the lock taken, hands its
// message to the first through the socket and exits.

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `id` names the lock and the socket; the default is derived from the
    // executable's path and the user, so two installations do not collide.
    explicit SingleInstance(const QString& id = defaultId(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another process owns the id. The first call decides; a
    // process that finds no other instance becomes the one that listens.
    bool isRunning();
    // Sends `message` to the running instance; false when it cannot be reached in time.
    bool sendMessage(const QString& message, int timeoutMs);

    QString id() const { return m_id; }
    static QString defaultId();

signals:
    void messageReceived(const QString& message);

private:
    void listen();

    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    int m_state = -1;   // -1 undecided, 0 we are the first, 1 another runs
};
