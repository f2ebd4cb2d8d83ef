#include "shell/window/window_per_folder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <cstdio>
#include <system_error>

#include "text/folder_lock.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace shell {

namespace {

constexpr int kConnectWait = 2000;  // ms; a listening socket takes the connection at once
constexpr int kAnswerWait = 5000;   // ms
const QByteArray kRequest = "come forward\n";
const QByteArray kAnswer = "ok\n";

QString socket_name(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, ignored);
    if (canonical.empty()) canonical = std::filesystem::absolute(folder, ignored);
    const std::string bytes = canonical.string();
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    QString place = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (place.isEmpty() || !QDir::isAbsolutePath(place) || !QDir(place).exists())
        place = QDir::tempPath();
#ifndef _WIN32
    const QString user = QString::number(::getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    return place + QStringLiteral("/dasom-") + user + QLatin1Char('-') +
           QString::fromLatin1(digest);
}

// Whether the listener at the other end runs as this user: anyone may make a socket in the
// temporary folder, and a stranger's must not make this start end.
bool same_user(const QLocalSocket& socket) {
#if defined(__linux__)
    struct ucred peer = {};
    socklen_t size = sizeof peer;
    if (::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                     &size) != 0)
        return false;
    return peer.uid == ::getuid();
#else
    (void)socket;
    return true;
#endif
}

}  // namespace

WindowPerFolder::WindowPerFolder(const std::filesystem::path& folder, QObject* parent)
    : QObject(parent), folder_(folder), name_(socket_name(folder)) {}

WindowPerFolder::Start WindowPerFolder::start() {
    QLocalSocket window;
    {
        // Looking and listening is one step for the starts on this folder: of two at the same
        // moment, the second finds the first listening.
        const text::FolderLock lock(folder_);
        window.connectToServer(name_);
        const bool running = window.waitForConnected(kConnectWait) && same_user(window);
        if (!running) {
            window.abort();
            // Whatever lies there is left by a window that has gone, or is a stranger's (which
            // cannot be removed, and then listening fails below).
            QLocalServer::removeServer(name_);
            server_ = new QLocalServer(this);
            server_->setSocketOptions(QLocalServer::UserAccessOption);
            if (!server_->listen(name_)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(name_),
                             qPrintable(server_->errorString()));
                return Start::first;  // a window all the same, only not found by the next start
            }
            connect(server_, &QLocalServer::newConnection, this, &WindowPerFolder::answer_next);
            return Start::first;
        }
    }
    // The conversation happens outside the lock: the window may be saving its settings, which
    // takes the same lock, before it gets to answer.
    window.write(kRequest);
    if (!window.waitForBytesWritten(kConnectWait)) return Start::unanswered;
    QByteArray answer;
    while (!answer.contains('\n') && window.waitForReadyRead(kAnswerWait)) answer += window.readAll();
    return answer == kAnswer ? Start::forwarded : Start::unanswered;
}

void WindowPerFolder::answer_next() {
    while (QLocalSocket* caller = server_->nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
            if (!caller->canReadLine()) return;
            const QByteArray request = caller->readLine();
            if (request == kRequest) emit come_forward_requested();
            caller->write(kAnswer);
            caller->disconnectFromServer();  // after the answer has been written
        });
    }
}

}  // namespace shell
