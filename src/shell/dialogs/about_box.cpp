#include "shell/dialogs/about_box.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <qdrawutil.h>

#include "shell/appearance.h"
#include "shell/dialogs/scrolling_text.h"
#include "shell/picture.h"

namespace shell {

namespace {

QFont pixel_font(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A panel with a lowered outer and a raised inner bevel, in the window's colour.
class BevelPanel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
        qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

}  // namespace

QStringList about_lines() {
    // Line 1 is empty, then a text line and an empty line in turn; lines 11 and 12 are both
    // empty, so the notice starts on line 13.
    const QStringList texts = {
        QStringLiteral("안녕하세요!"),
        QStringLiteral("마음을 나누는 말벗"),
        QStringLiteral("다솜 V1.0"),
        QStringLiteral("만든이: 다솜 만드는 이들"),
        QStringLiteral("그림: 누리 그림방"),
    };
    // What the MIT license allows, and the one thing it asks.
    const QStringList notice = {
        QStringLiteral("이 프로그램은"),       QStringLiteral("MIT 라이선스로"),
        QStringLiteral("누구나 쓰고 고치고"),  QStringLiteral("나눌 수 있습니다."),
        QStringLiteral("저작권과 허가 문구를"), QStringLiteral("함께 전해 주세요."),
        QStringLiteral("보증은 없습니다."),
    };
    const QStringList makers = {
        QStringLiteral("여러 달 동안"),      QStringLiteral("밤을 새워 가며"),
        QStringLiteral("한 줄 한 줄"),       QStringLiteral("정성껏 만들었습니다."),
        QStringLiteral("누리와 함께"),       QStringLiteral("즐겁게 이야기하세요."),
    };
    const QStringList wishes = {QStringLiteral("늘 행복하세요!"), QStringLiteral("고맙습니다.")};

    QStringList lines{QString()};
    auto add = [&lines](const QStringList& group) {
        for (const QString& text : group) lines << text << QString();
    };
    add(texts);
    lines << QString();
    add(notice);
    add(makers);
    add(wishes);
    return lines;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("다솜 V1.0"));
    setFixedSize(298, 319);
    // A fixed dialog border: a caption with a close box, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* panel = new BevelPanel(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(8, 8, 281, 269);

    auto* picture = new Picture(kAboutPicture, panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(44, 44, 200, 140);
    auto* bevel = new QFrame(panel);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(44, 44, 203, 143);

    auto* version = new QLabel(QStringLiteral("다솜  V1.0"), panel);
    version->setObjectName(QStringLiteral("Version"));
    version->setFont(pixel_font(QStringLiteral("굴림"), 21, true));
    version->move(88, 16);
    version->adjustSize();

    auto* product = new QLabel(QStringLiteral("다솜 만드는 이들이 드립니다."), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    product->setFont(pixel_font(QStringLiteral("굴림"), 12));
    product->move(84, 240);
    product->adjustSize();

    auto* moving = new ScrollingText(panel);
    moving->setObjectName(QStringLiteral("MoveText1"));
    moving->setGeometry(64, 192, 165, 45);
    moving->set_text_style(ScrollingText::tsRaised);
    moving->set_steps(300);
    moving->set_speed(70);
    moving->set_continuous(true);
    moving->setFont(pixel_font(QStringLiteral("굴림체"), 13));
    moving->set_font_colour(Qt::black);
    moving->set_alignment(ScrollingText::taCenter);
    moving->set_direction(ScrollingText::mdBottomToTop);
    moving->set_items(about_lines());

    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setFont(pixel_font(QStringLiteral("굴림"), 13));
    ok->setGeometry(115, 284, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Centred on the screen.
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

}  // namespace shell
