#include "shell/dialogs.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace shell {

namespace {

constexpr int kMaxInputLength = 255;

// Boxes carry the application's title, as the program's own message boxes always did.
QString box_title() { return QCoreApplication::applicationName(); }

void show_box(QWidget* parent, QMessageBox::Icon icon, const QString& text,
              const QPoint* top_left = nullptr) {
    QMessageBox box(icon, box_title(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (top_left) box.move(*top_left);  // a moved dialog is not re-centred over its parent
    box.exec();
}

class RealDialogs final : public Dialogs {
public:
    QString input_box(QWidget* parent, const QString& caption, const QString& prompt,
                      const QString& text) override {
        QInputDialog dialog(parent);
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setWindowTitle(caption);
        dialog.setLabelText(prompt);
        dialog.setTextValue(text);
        if (auto* line = dialog.findChild<QLineEdit*>()) line->setMaxLength(kMaxInputLength);
        if (dialog.exec() != QDialog::Accepted) return text;
        return dialog.textValue().left(kMaxInputLength);
    }

    void message(QWidget* parent, const QString& text) override {
        show_box(parent, QMessageBox::NoIcon, text);
    }

    void warning(QWidget* parent, const QString& text) override {
        show_box(parent, QMessageBox::Warning, text);
    }

    void error(QWidget* parent, const QString& text) override {
        show_box(parent, QMessageBox::Critical, text);
    }

    void information_at(QWidget* parent, const QString& text, QPoint top_left) override {
        show_box(parent, QMessageBox::Information, text, &top_left);
    }
};

RealDialogs real_dialogs;
Dialogs* installed = nullptr;

}  // namespace

Dialogs& dialogs() { return installed ? *installed : real_dialogs; }

void set_dialogs(Dialogs* replacement) { installed = replacement; }

}  // namespace shell
