#include "shell/message_boxes.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSortFilterProxyModel>

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

const QString kProgramFilter = QStringLiteral("실행화일 (*)");
const QString kAllFilter = QStringLiteral("모든화일 (*)");

// Under the "실행화일" filter: folders, the program endings of the command book, and files
// that may be executed (programs here usually have no ending).
class ProgramFilter final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void set_programs_only(bool on) {
        programs_only_ = on;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (!programs_only_) return true;
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files) return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        if (info.isDir()) return true;
        const QString suffix = info.suffix().toLower();
        return suffix == QLatin1String("exe") || suffix == QLatin1String("com") ||
               suffix == QLatin1String("bat") || info.isExecutable();
    }

private:
    bool programs_only_ = true;
};

class RealMessageBoxes final : public MessageBoxes {
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

    QString choose_program(QWidget* parent) override {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // The filter looks at the files themselves, which only Qt's own dialog allows.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // Both entries let every name through to the filter below; their labels are shown bare.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        auto* filter = new ProgramFilter(&dialog);
        dialog.setProxyModel(filter);
        dialog.setNameFilters({kProgramFilter, kAllFilter});
        QObject::connect(&dialog, &QFileDialog::filterSelected, filter,
                         [filter](const QString& name) {
                             filter->set_programs_only(name == kProgramFilter);
                         });
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().constFirst();
    }
};

RealMessageBoxes real_message_boxes;
MessageBoxes* installed = nullptr;

}  // namespace

MessageBoxes& message_boxes() { return installed ? *installed : real_message_boxes; }

void set_message_boxes(MessageBoxes* replacement) { installed = replacement; }

}  // namespace shell
