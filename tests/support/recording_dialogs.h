#pragma once
// A stand-in for the program's message boxes: it records what would have been shown and
// answers input boxes from a queue, so widget tests never block on a modal box.

#include <QString>
#include <QStringList>

#include "shell/dialogs.h"

namespace testing_support {

class RecordingDialogs final : public shell::Dialogs {
  public:
    RecordingDialogs() { shell::set_dialogs(this); }
    ~RecordingDialogs() override { shell::set_dialogs(nullptr); }
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    QString input_box(QWidget*, const QString&, const QString&, const QString& text) override {
        return answers.isEmpty() ? text : answers.takeFirst();
    }
    void message(QWidget*, const QString& text) override { messages << text; }
    void warning(QWidget*, const QString& text) override { warnings << text; }
    void error(QWidget*, const QString& text) override { errors << text; }
    void information_at(QWidget*, const QString& text, QPoint) override { messages << text; }

    QStringList answers;  // the next input box answers, in order; the default text when empty
    QStringList messages;
    QStringList warnings;
    QStringList errors;
};

}  // namespace testing_support
