#pragma once
// One window per program folder. The window listens on a local socket named after its folder and
// its user; a later start on the same folder finds it there, asks it to come forward (out of the
// tray when it hides there) and ends, so two windows never keep one dasom.ini.
//
// The socket lies in the user's runtime folder (XDG_RUNTIME_DIR) where there is one, else in the
// temporary folder, and only a listener of the same user is believed. A window that crashed or
// was killed leaves its socket behind; nobody answers there, so the next start removes it and
// listens itself. Two starts at the same moment take turns through the folder's lock, so one of
// them becomes the window and the other brings it forward.

#include <QObject>
#include <QString>

#include <filesystem>

class QLocalServer;

namespace shell {

class WindowPerFolder : public QObject {
    Q_OBJECT
  public:
    enum class Start {
        first,       // this process is the folder's window and listens from now on
        forwarded,   // a window runs on the folder and has been asked to come forward
        unanswered,  // a window listens on the folder but did not answer within a few seconds
    };

    explicit WindowPerFolder(const std::filesystem::path& folder, QObject* parent = nullptr);

    Start start();

    // The socket's full path.
    const QString& name() const { return name_; }

  signals:
    // A later start on the folder asks the window to come forward.
    void come_forward_requested();

  private:
    void answer_next();

    std::filesystem::path folder_;
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace shell
