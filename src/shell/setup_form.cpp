#include "shell/setup_form.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TSetupForm::TSetupForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SetupForm"));
    setWindowTitle(QStringLiteral("다솜V1.0 환경설정"));
    setFixedSize(280, 201);

    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(13);
    setFont(font);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(8, 8, 264, 136);

    Label1 = new QLabel(QStringLiteral("사람이름"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 28, 80, 21);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(104, 28, 140, 21);
    Label1->setBuddy(Edit1);

    Label2 = new QLabel(QStringLiteral("컴퓨터이름"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(16, 80, 80, 21);
    Edit2 = new QLineEdit(Panel1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(104, 80, 140, 21);
    Label2->setBuddy(Edit2);

    Button1 = new QPushButton(QStringLiteral("확인"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(102, 160, 75, 25);
    Button1->setDefault(true);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button1);
    Edit1->setFocus();

    // Edit1Change and Edit2Change: the owner copies each new text into the name it keeps.
    connect(Edit1, &QLineEdit::textChanged, this, &TSetupForm::user_name_changed);
    connect(Edit2, &QLineEdit::textChanged, this, &TSetupForm::computer_name_changed);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    // Shown before the main window, so the screen is the reference, not a parent.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}
