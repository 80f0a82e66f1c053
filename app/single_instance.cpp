#include "app/single_instance.h"

#include "app/app_log.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {

// Messages travel as a 32-bit length followed by UTF-8 bytes.
constexpr qint32 kMaxMessageBytes = 1 << 20;

} // namespace

SingleInstance::SingleInstance(const QString& id, QObject* parent) : QObject(parent), m_id(id) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultId()
{
    // Tests and side-by-side installations may name their own instance.
    const QString forced = qEnvironmentVariable("STRYDE_INSTANCE_ID");
    if (!forced.isEmpty())
        return forced;
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    const QByteArray key = (QCoreApplication::applicationFilePath() + QLatin1Char('|') + user).toUtf8();
    return QStringLiteral("stryde-")
           + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstance::isRunning()
{
    if (m_state >= 0)
        return m_state == 1;
    m_lock = std::make_unique<QLockFile>(QDir::temp().filePath(m_id + QStringLiteral(".lock")));
    // A lock left by a process that died is taken over; a live owner keeps it.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        m_state = 0;
        listen();
        return false;
    }
    m_state = 1;
    return true;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket of that name is a leftover of a crash.
    QLocalServer::removeServer(m_id);
    if (!m_server->listen(m_id)) {
        qCWarning(lcApp) << "single instance: cannot listen on" << m_id << m_server->errorString();
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->bytesAvailable() < qint64(sizeof(qint32)))
                    return;
                QDataStream in(socket);
                in.startTransaction();
                qint32 size = 0;
                in >> size;
                if (size < 0 || size > kMaxMessageBytes) {
                    socket->abort();
                    return;
                }
                QByteArray bytes(size, Qt::Uninitialized);
                if (in.readRawData(bytes.data(), size) != size) {
                    in.rollbackTransaction();
                    return;
                }
                in.commitTransaction();
                socket->write("ok", 2);
                socket->flush();
                emit messageReceived(QString::fromUtf8(bytes));
            });
        }
    });
}

bool SingleInstance::sendMessage(const QString& message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_id);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    const QByteArray bytes = message.toUtf8().left(kMaxMessageBytes);
    QByteArray packet;
    QDataStream out(&packet, QIODevice::WriteOnly);
    out << qint32(bytes.size());
    out.writeRawData(bytes.constData(), bytes.size());
    socket.write(packet);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Wait for the receipt so the message is not lost when we exit at once.
    const bool ok = socket.waitForReadyRead(timeoutMs) && socket.readAll() == "ok";
    socket.disconnectFromServer();
    return ok;
}
