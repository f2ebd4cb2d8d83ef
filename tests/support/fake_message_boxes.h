#pragma once
// The window's boxes for headless tests: input boxes are answered from a queue (an empty
// optional is Cancel), every box shown is recorded, and no modal loop ever runs.

#include <QPoint>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

#include "shell/message_boxes.h"

namespace testing_support {

class FakeMessageBoxes final : public shell::MessageBoxes {
public:
    FakeMessageBoxes() { shell::set_message_boxes(this); }
    ~FakeMessageBoxes() override { shell::set_message_boxes(nullptr); }
    FakeMessageBoxes(const FakeMessageBoxes&) = delete;
    FakeMessageBoxes& operator=(const FakeMessageBoxes&) = delete;

    QString input_box(QWidget*, const QString& caption, const QString& prompt,
                      const QString& text) override {
        input_captions << caption;
        input_prompts << prompt;
        input_defaults << text;
        if (answers.empty()) return text;
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer ? *answer : text;
    }
    void message(QWidget*, const QString& text) override { messages << text; }
    void warning(QWidget*, const QString& text) override { warnings << text; }
    void error(QWidget*, const QString& text) override {
        errors << text;
        if (while_error_open) while_error_open();  // the box would be open now
    }
    void information_at(QWidget*, const QString& text, QPoint top_left) override {
        messages << text;
        positions.push_back(top_left);
    }

    QString choose_program(QWidget*) override {
        ++program_choices;
        if (programs.empty()) return {};
        QString chosen = programs.front();
        programs.pop_front();
        return chosen;
    }

    std::deque<std::optional<QString>> answers;
    std::deque<QString> programs;  // answers of choose_program; none left is Cancel
    int program_choices = 0;
    QStringList input_captions, input_prompts, input_defaults;
    QStringList messages, warnings, errors;
    std::deque<QPoint> positions;
    std::function<void()> while_error_open;
};

}  // namespace testing_support
