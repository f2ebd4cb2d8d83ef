#include "shell/window/setup_dialog.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace shell {

SetupDialog::SetupDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SetupForm"));
    setWindowTitle(QStringLiteral("다솜V1.0 환경설정"));
    setFixedSize(280, 201);

    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(13);
    setFont(font);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setGeometry(8, 8, 264, 136);

    user_name_label_ = new QLabel(QStringLiteral("사람이름"), panel_);
    user_name_label_->setObjectName(QStringLiteral("Label1"));
    user_name_label_->setGeometry(16, 28, 80, 21);
    user_name_field_ = new QLineEdit(panel_);
    user_name_field_->setObjectName(QStringLiteral("Edit1"));
    user_name_field_->setGeometry(104, 28, 140, 21);
    user_name_label_->setBuddy(user_name_field_);

    computer_name_label_ = new QLabel(QStringLiteral("컴퓨터이름"), panel_);
    computer_name_label_->setObjectName(QStringLiteral("Label2"));
    computer_name_label_->setGeometry(16, 80, 80, 21);
    computer_name_field_ = new QLineEdit(panel_);
    computer_name_field_->setObjectName(QStringLiteral("Edit2"));
    computer_name_field_->setGeometry(104, 80, 140, 21);
    computer_name_label_->setBuddy(computer_name_field_);

    ok_button_ = new QPushButton(QStringLiteral("확인"), this);
    ok_button_->setObjectName(QStringLiteral("Button1"));
    ok_button_->setGeometry(102, 160, 75, 25);
    ok_button_->setDefault(true);

    setTabOrder(user_name_field_, computer_name_field_);
    setTabOrder(computer_name_field_, ok_button_);
    user_name_field_->setFocus();

    // Edit1Change and Edit2Change: the owner copies each new text into the name it keeps.
    connect(user_name_field_, &QLineEdit::textChanged, this, &SetupDialog::user_name_changed);
    connect(computer_name_field_, &QLineEdit::textChanged, this,
            &SetupDialog::computer_name_changed);
    connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);

    // Shown before the main window, so the screen is the reference, not a parent.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

}  // namespace shell
