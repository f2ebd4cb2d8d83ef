// The main window, driven headless as a user would: keys into the chat line, menu items,
// timer ticks, start-up from a program folder and the settings left behind at exit.

#include "shell/window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "anim/sheet_bytes.h"
#include "shell/dialogs/data_file_editor.h"
#include "shell/window/chat_window.h"
#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"

using shell::MainWindow;

namespace {

using testing_support::k;

// Answers every modal dialog that opens while it lives, so no test can hang on one: `handle`
// when set, otherwise the dialog is rejected. Records the object name of each.
class ModalWatch {
public:
    ModalWatch() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            seen << dialog->objectName();
            if (handle)
                handle(dialog);
            else
                dialog->reject();
        });
        timer_.start();
    }
    QStringList seen;
    std::function<void(QDialog*)> handle;

private:
    QTimer timer_;
};

const char* const kSettled = "[일반정보]\n처음실행=0\nTrayStart=0\nviewlogo=0\n";

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("dasom.ini", kSettled);
        // The built music, so that no start-up tells of a missing one.
        std::filesystem::copy_file(std::filesystem::path(DASOM_PROGRAM_DIR) / "music.dat",
                                   folder / "music.dat");
    }

    std::unique_ptr<MainWindow> open(const std::filesystem::path& program_folder) {
        return std::make_unique<MainWindow>(program_folder);
    }
    std::unique_ptr<MainWindow> open() { return open(folder.path()); }

    template <class T>
    static T* child(QObject& window, const char* name) {
        T* found = window.findChild<T*>(QLatin1String(name));
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    static void type(QWidget* line, const QString& text) {
        QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, text, Qt::NoModifier);
    }
    static void trigger(QObject& window, const char* item) { child<QAction>(window, item)->trigger(); }

    testing_support::TempFolder folder;
    testing_support::FakeMessageBoxes boxes;
    ModalWatch modals;
};

// ---------------------------------------------------------------------------------------------
// The chat turn

TEST_F(MainWindowTest, TypingHidesTheSpeechAndStopsTheMonologue) {
    auto window = open();
    auto* label = child<QLabel>(*window, "Label1");
    auto* timer = child<QTimer>(*window, "Timer1");
    auto* line = child<QWidget>(*window, "chat_window");
    EXPECT_FALSE(label->isVisibleTo(window.get()));
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 30000);

    window->show_speech();
    type(line, QStringLiteral("안"));
    EXPECT_FALSE(label->isVisibleTo(window.get()));
    EXPECT_FALSE(timer->isActive());

    window->show_speech();
    timer->start();
    QTest::keyClick(line, Qt::Key_Right);  // moves the cursor, types nothing
    EXPECT_TRUE(label->isVisibleTo(window.get()));
    EXPECT_TRUE(timer->isActive());
}

TEST_F(MainWindowTest, EnterShowsTheReplyRestartsTheTimerAndClearsTheLine) {
    folder.write("reserve.dat", "안녕\n[인사]\n");
    auto window = open();
    auto* line = child<shell::ChatWindow>(*window, "chat_window");
    auto* timer = child<QTimer>(*window, "Timer1");
    type(line, QStringLiteral("안녕하세요"));
    QTest::keyClick(line, Qt::Key_Return);

    auto* label = child<QLabel>(*window, "Label1");
    EXPECT_TRUE(label->isVisibleTo(window.get()));
    EXPECT_EQ(label->text(), QStringLiteral("[인사] 을 실행합니다."));
    EXPECT_TRUE(line->toPlainText().isEmpty());
    EXPECT_TRUE(timer->isActive());
    EXPECT_GT(timer->remainingTime(), 29000);
    EXPECT_TRUE(boxes.errors.isEmpty());
}

TEST_F(MainWindowTest, AMissingDataFileEndsTheTurnAndKeepsTheText) {
    auto window = open();  // no reserve.dat
    auto* line = child<shell::ChatWindow>(*window, "chat_window");
    type(line, QStringLiteral("안녕"));
    QTest::keyClick(line, Qt::Key_Return);

    ASSERT_EQ(boxes.errors.size(), 1);
    EXPECT_TRUE(boxes.errors[0].contains(QStringLiteral("reserve.dat"))) << boxes.errors[0].toStdString();
    EXPECT_EQ(line->toPlainText(), QStringLiteral("안녕"));
    EXPECT_FALSE(child<QLabel>(*window, "Label1")->isVisibleTo(window.get()));
    EXPECT_FALSE(child<QTimer>(*window, "Timer1")->isActive());
}

TEST_F(MainWindowTest, EscapeMinimisesAndAReservedQuitClosesThroughTheNormalExit) {
    folder.write("reserve.dat", "잘 있어\n[종료]\n");
    auto window = open();
    window->show();
    QTest::qWait(20);
    QWidget* editor = shell::DataFileEditor::open_file(folder / "mal.dat", window.get());
    QTest::qWait(20);
    auto* line = child<QWidget>(*window, "chat_window");
    QTest::keyClick(line, Qt::Key_Escape);
    EXPECT_TRUE(window->isMinimized() || !window->isVisible());
    EXPECT_TRUE(editor->isMinimized() || !editor->isVisible());  // the program's windows go along
    editor->close();

    window->showNormal();
    QSignalSpy finished(window.get(), &MainWindow::finished);
    type(line, QStringLiteral("잘 있어"));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(folder.read("dasom.ini").find("처음실행=0"), std::string::npos);
}

TEST_F(MainWindowTest, TheMonologueSpeaksAndItsErrorsDoNotStack) {
    folder.write("mal.dat", "1\n혼자 놀기 심심해\n");
    auto window = open();
    auto* timer = child<QTimer>(*window, "Timer1");
    auto* label = child<QLabel>(*window, "Label1");
    timer->setInterval(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return label->isVisibleTo(window.get()); }, 1000));
    EXPECT_EQ(label->text(), QStringLiteral("혼자 놀기 심심해"));

    // Without mal.dat every tick fails; while the first box is open, later ticks wait.
    std::filesystem::remove(folder / "mal.dat");
    boxes.while_error_open = [&] {
        boxes.while_error_open = nullptr;
        timer->start();  // restarted, the timer ticks again while the box is open
        QTest::qWait(30);
        timer->stop();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 1000));
    EXPECT_EQ(boxes.errors.size(), 1);
}

// ---------------------------------------------------------------------------------------------
// The window's own side of the engine

TEST_F(MainWindowTest, HostShowsCoreTextsAsTheWindowExpects) {
    auto window = open();
    window->move(100, 50);
    window->set_speech(k("첫 줄\r둘째 줄"));
    EXPECT_EQ(child<QLabel>(*window, "Label1")->text(), QStringLiteral("첫 줄\n둘째 줄"));

    window->debug_box(k("분석"));
    ASSERT_EQ(boxes.positions.size(), 1u);
    EXPECT_EQ(boxes.positions[0], window->pos() + QPoint(300, 80));

    // A typed answer with no CP949 form cannot reach the files: it counts as Cancel.
    boxes.answers = {QStringLiteral("홍길동😀")};
    EXPECT_EQ(window->input_box(k("찾기"), k("이름"), k("기본")), k("기본"));
    EXPECT_EQ(boxes.messages.size(), 2);
}

TEST_F(MainWindowTest, TeachingTheLastSentenceOpensTheFreeTalkDialogWithIt) {
    auto window = open();
    window->engine().last_unanswered_sentence = k("하늘은 왜 파래");
    QString key;
    modals.handle = [&](QDialog* dialog) {
        key = dialog->findChild<QLineEdit*>(QStringLiteral("ed_que"))->text();
        dialog->reject();
    };
    trigger(*window, "teach_last");
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("Chat_InputForm")});
    EXPECT_EQ(key, QStringLiteral("하늘은 왜 파래"));
}

TEST_F(MainWindowTest, AFlatJokeRunsTheRabbitUntilAKeyAndThenTheReplyShows) {
    folder.copy_fixture("conversation_basic");
    folder.write_bytes("rabbit.dat", testing_support::SheetBytes(16, 64, 200).bytes());
    auto window = open();
    auto* label = child<QLabel>(*window, "Label1");
    bool reply_hidden_meanwhile = false;
    modals.handle = [&](QDialog* dialog) {
        reply_hidden_meanwhile = !label->isVisibleTo(window.get());
        QTest::keyClick(dialog, Qt::Key_Space);
    };
    auto* line = child<shell::ChatWindow>(*window, "chat_window");
    for (int turn = 0; turn < 2; ++turn) {  // each flat joke opens a fresh window
        type(line, QStringLiteral("아재 개그"));
        QTest::keyClick(line, Qt::Key_Return);
    }
    EXPECT_EQ(modals.seen, QStringList({"AnimForm", "AnimForm"}));
    EXPECT_TRUE(reply_hidden_meanwhile);
    EXPECT_TRUE(label->isVisibleTo(window.get()));
    EXPECT_EQ(label->text(), QStringLiteral("하하... 썰렁해요."));
    EXPECT_TRUE(boxes.errors.isEmpty());

    modals.seen.clear();
    modals.handle = nullptr;
    trigger(*window, "about");
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("AboutForm")});
}

// ---------------------------------------------------------------------------------------------
// Start-up, layout and exit

TEST_F(MainWindowTest, SetUpDialogOnTheFirstRunOnlyAndItsNamesAreKept) {
    auto settled = open();
    EXPECT_TRUE(modals.seen.isEmpty());
    settled.reset();

    std::filesystem::remove(folder / "dasom.ini");
    modals.handle = [](QDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("영희"));
        dialog->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("별😀"));
        dialog->accept();
    };
    auto window = open();
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("SetupForm")});
    EXPECT_EQ(window->engine().user_name, k("영희"));
    EXPECT_EQ(window->engine().computer_name, k("다솜"));  // the emoji was refused, with a word
    EXPECT_EQ(boxes.messages.size(), 1);
    window->close();
    modals.seen.clear();
    auto again = open();
    EXPECT_TRUE(modals.seen.isEmpty());
}

TEST_F(MainWindowTest, StartUpAppliesTheStoredSettings) {
    folder.write("dasom.ini",
                 "[사용자정보]\n사람이름=철수\n[컴퓨터정보]\n기분값=-4\n"
                 "[일반정보]\n처음실행=0\nTrayStart=0\n단어검색모드=0\n배경음악=0\n"
                 "[Window]\nLeft=30\nTop=40\nWidth=500\nHeight=400\n"
                 "[히스토리]\n1=" + std::string(120, 'x') + "\n3=ls -l\n");
    auto window = open();
    EXPECT_EQ(window->engine().user_name, k("철수"));
    EXPECT_EQ(window->engine().mood, -4);
    EXPECT_EQ(window->pos(), QPoint(30, 40));
    EXPECT_EQ(window->size(), QSize(500, 400));
    EXPECT_EQ(child<QLabel>(*window, "Label1")->size(), QSize(250, 200));
    EXPECT_EQ(child<QAction>(*window, "hist_item3")->text(), QStringLiteral("ls -l"));
    EXPECT_EQ(child<QAction>(*window, "hist_item2")->text(), QStringLiteral("없음"));
    EXPECT_EQ(window->previous_command(), std::string(99, 'x'));
    EXPECT_TRUE(child<QAction>(*window, "eng_han")->isChecked());
    EXPECT_FALSE(child<QAction>(*window, "eng_eng")->isChecked());
    EXPECT_FALSE(child<QAction>(*window, "backmusic")->isChecked());
    EXPECT_FALSE(child<QAction>(*window, "pop_backmusic")->isChecked());
    EXPECT_FALSE(child<QAction>(*window, "traystart")->isChecked());
}

TEST_F(MainWindowTest, TrayStartMinimisesOnTheFirstActivationOnly) {
    folder.write("dasom.ini", "[일반정보]\n처음실행=0\nviewlogo=0\n");
    auto window = std::make_unique<MainWindow>(folder.path());
    // Offscreen has no notification area: said once the window is shown (so the box is not
    // hidden behind it), and the task bar takes its place.
    EXPECT_TRUE(boxes.messages.isEmpty());
    window->show();
    QTest::qWait(20);
    const QStringList notice{QStringLiteral("트레이 아이콘을 생성할 수 없습니다 !")};
    EXPECT_EQ(boxes.messages, notice);
    EXPECT_TRUE(window->isMinimized());
    trigger(*window, "popup_talk");  // 이야기하기 brings it back, for good
    QTest::qWait(20);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    window.reset();

    // Said once in a program folder: the next start goes to the task bar without a word.
    EXPECT_NE(folder.read("dasom.ini").find("트레이없음알림=1"), std::string::npos);
    window = std::make_unique<MainWindow>(folder.path());
    window->show();
    QTest::qWait(20);
    EXPECT_TRUE(window->isMinimized());
    EXPECT_EQ(boxes.messages, notice);
}

TEST(QtTexts, StandardButtonsAreKorean) {
    // The program loads Qt's Korean translation whatever the locale (the test main does too).
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("확인"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("취소"));
}

TEST_F(MainWindowTest, ControlsKeepTheirDesignedPlacesAndFonts) {
    auto window = open();
    window->show();
    QTest::qWait(20);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("다솜 V1.0"));
    // The stored 430 x 320 is the outer size, frame included.
    EXPECT_EQ(window->frameGeometry().size(), QSize(430, 320));
    EXPECT_EQ(child<QLabel>(*window, "Label1")->size(), QSize(215, 160));
    window->resize(640, 480);
    QTest::qWait(20);
    auto* panel1 = child<QWidget>(*window, "Panel1");
    auto* panel2 = child<QWidget>(*window, "Panel2");
    EXPECT_EQ(child<QWidget>(*window, "Image1")->geometry(), panel1->rect());
    EXPECT_EQ(panel2->height(), 35);
    EXPECT_EQ(panel2->geometry().bottom(), window->centralWidget()->height() - 1);
    EXPECT_EQ(child<QWidget>(*window, "Image2")->geometry(), QRect(8, 100, 100, 120));
    EXPECT_EQ(child<QWidget>(*window, "Image2")->toolTip(), QStringLiteral("누리"));
    EXPECT_EQ(child<QLabel>(*window, "Label1")->size(), window->frameGeometry().size() / 2);

    const QFont speech = child<QLabel>(*window, "Label1")->font();
    EXPECT_EQ(QFontInfo(speech).family(), QStringLiteral("NanumGothicCoding"));
    EXPECT_EQ(speech.pixelSize(), 16);
    EXPECT_TRUE(speech.bold());
    const QFont chat = child<QWidget>(*window, "chat_window")->font();
    EXPECT_EQ(QFontInfo(chat).family(), QStringLiteral("NanumGothic"));
    EXPECT_EQ(chat.pixelSize(), 13);
}

TEST_F(MainWindowTest, EverySettingReachesTheFileWithinASecondAndAgainAtExit) {
    folder.write("dasom.ini", std::string(kSettled) + "[히스토리]\n2=메모장\n");
    auto window = open();
    boxes.answers = {QStringLiteral("영희"), QStringLiteral("별이")};
    trigger(*window, "m_human_name");
    trigger(*window, "m_dasom_name");
    trigger(*window, "juso_juso");
    const auto holds_all = [&](const std::vector<const char*>& lines) {
        const std::string saved = folder.read("dasom.ini");
        for (const char* line : lines) {
            if (saved.find(line) == std::string::npos) return false;
        }
        return true;
    };
    // No exit needed: whatever ends the program later, these are on disk.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return holds_all({"사람이름=영희", "컴퓨터이름=별이", "주소검색모드=0"}); }, 1000))
        << folder.read("dasom.ini");

    window->engine().mood = -7;
    window->move(50, 60);
    window->resize(500, 400);
    window->close();
    EXPECT_TRUE(holds_all({"사람이름=영희", "컴퓨터이름=별이", "기분값=-7", "처음실행=0",
                           "TrayStart=0", "Left=50", "Top=60", "Width=500", "Height=400",
                           "1=없음", "2=메모장"}))
        << folder.read("dasom.ini");
}

TEST_F(MainWindowTest, ARefusedWriteIsShownAndTheProgramStillEnds) {
    auto window = open(folder / "no such folder");  // first run: the watch answers set-up
    QSignalSpy finished(window.get(), &MainWindow::finished);
    window->close();
    ASSERT_EQ(boxes.errors.size(), 1);
    EXPECT_TRUE(boxes.errors[0].startsWith(QStringLiteral("설정을 "))) << boxes.errors[0].toStdString();
    EXPECT_TRUE(boxes.errors[0].contains(QStringLiteral("파일이나 폴더가 없습니다")));
    EXPECT_EQ(finished.count(), 1);
}

// ---------------------------------------------------------------------------------------------
// Menus

QStringList entries(const QMenu* menu) {
    QStringList list;
    for (const QAction* action : menu->actions())
        list << action->objectName() + QLatin1Char('=') + (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

TEST_F(MainWindowTest, MenusHoldEveryItemInOrder) {
    auto window = open();
    QStringList bar;
    for (const QAction* action : window->menuBar()->actions()) bar << action->text();
    EXPECT_EQ(bar, QStringList({"대화", "설정", "보조", "도움말"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "m_chat")),
              QStringList({"chat_item=대화파일편집", "chat_content=대화입력",
                           "teach_last=방금 문장 가르치기", "seperator1=-", "Exit1=그만하기"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "chat_item")),
              QStringList({"data1=data1.dat", "data2=data2.dat", "data3=data3.dat",
                           "data4=data4.dat", "hojamal=혼자말", "reserve=예약어파일"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "setup")),
              QStringList({"m_dasom_name=다솜의 이름", "m_human_name=사람의 이름", "seperator2=-",
                           "traystart=트레이시작", "login_start=로그인할 때 시작",
                           "JusoMode=주소검색방법", "EngMode=단어검색방법",
                           "seperator3=-", "backmusic=배경음악"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "JusoMode")), QStringList({"juso_name=이름", "juso_juso=주소"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "EngMode")), QStringList({"eng_eng=단어로", "eng_han=뜻으로"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "sub_func")),
              QStringList({"m_exec=명령어", "m_juso=주소록", "m_eng=단어장"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "m_juso")),
              QStringList({"juso_add=추가", "juso_del=삭제", "juso_search=검색"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "Help1")),
              QStringList({"content=다솜란?", "seperator4=-", "about=만든이"}));
    EXPECT_EQ(entries(child<QMenu>(*window, "PopupMenu1")),
              QStringList({"pop_hist=히스토리", "p_exe=이전명령실행", "pop_exec=화일실행",
                           "popup_talk=이야기하기", "divide1=-", "pop_backmusic=배경음악",
                           "divide2=-", "popup_exit=그만하기"}));
    EXPECT_EQ(child<QMenu>(*window, "pop_hist")->actions().size(), 8);
}

TEST_F(MainWindowTest, CheckMarksStayInStep) {
    auto window = open();
    auto checked = [&](const char* item) { return child<QAction>(*window, item)->isChecked(); };

    trigger(*window, "traystart");
    EXPECT_TRUE(checked("traystart"));
    trigger(*window, "traystart");
    EXPECT_FALSE(checked("traystart"));

    // Choosing the checked one of a pair changes nothing; the other one moves the mark.
    for (const auto& [first, second] : {std::pair{"juso_name", "juso_juso"}, {"eng_eng", "eng_han"}}) {
        trigger(*window, first);
        EXPECT_TRUE(checked(first) && !checked(second)) << first;
        trigger(*window, second);
        EXPECT_TRUE(!checked(first) && checked(second)) << second;
        trigger(*window, second);
        EXPECT_TRUE(!checked(first) && checked(second)) << second;
    }
    EXPECT_FALSE(window->settings().address_search_by_name);
    EXPECT_FALSE(window->settings().word_search_by_word);

    for (const char* item : {"backmusic", "pop_backmusic", "pop_backmusic"}) {
        const bool before = window->settings().music_on;
        trigger(*window, item);
        EXPECT_NE(window->settings().music_on, before);
        EXPECT_EQ(checked("backmusic"), window->settings().music_on);
        EXPECT_EQ(checked("pop_backmusic"), window->settings().music_on);
    }
    window->close();
    EXPECT_NE(folder.read("dasom.ini").find("TrayStart=0"), std::string::npos);
}

TEST_F(MainWindowTest, LoginStartWritesTheAutostartEntryAndRemovesIt) {
    testing_support::TempFolder config;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string()));
    auto window = open();
    QAction* item = child<QAction>(*window, "login_start");
    const std::filesystem::path entry = config / "autostart" / "dasom.desktop";
    EXPECT_FALSE(item->isChecked());

    item->trigger();
    EXPECT_TRUE(item->isChecked());
    // This program on this folder (which it would not choose by itself).
    EXPECT_NE(config.read_bytes("autostart/dasom.desktop")
                  .find("\nExec=" + QCoreApplication::applicationFilePath().toStdString() +
                        " --folder " + folder.path().string() + "\n"),
              std::string::npos)
        << config.read_bytes("autostart/dasom.desktop");
    if (std::system("command -v desktop-file-validate >/dev/null") == 0) {
        EXPECT_EQ(std::system(("desktop-file-validate '" + entry.string() + "'").c_str()), 0);
    }

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(std::filesystem::exists(entry));

    // An entry made or removed outside the program: the mark follows when the menu opens.
    config.write_bytes("autostart/dasom.desktop", "[Desktop Entry]\n");
    emit child<QMenu>(*window, "setup")->aboutToShow();
    EXPECT_TRUE(item->isChecked());
    window->close();
    if (saved.isNull()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(MainWindowTest, BookItemsOpenTheirDialogsOnTheirBooks) {
    for (const char* file : {"exec.dat", "juso.dat", "eng.dat"}) folder.write(file, "");
    auto window = open();
    QStringList titles;
    modals.handle = [&](QDialog* dialog) {
        titles << dialog->windowTitle();
        dialog->reject();
    };
    for (const char* item : {"exec_add", "juso_add", "eng_add", "exec_del", "juso_del", "eng_del"})
        trigger(*window, item);
    EXPECT_EQ(modals.seen, QStringList({"AddForm", "AddForm", "AddForm", "delForm",
                                        "delForm", "delForm"}));
    EXPECT_EQ(titles, QStringList({"실행명령추가", "주소추가", "영어단어추가", "실행명령삭제",
                                   "주소삭제", "단어삭제"}));
    EXPECT_EQ(window->entry_book_kind(), 2);
    EXPECT_EQ(window->deletion_book_kind(), 2);
    EXPECT_TRUE(boxes.errors.isEmpty());
}

TEST_F(MainWindowTest, LauncherStartsRealProgramsAndKeepsTheHistory) {
    const std::filesystem::path made = folder / "made";
    folder.write("exec.dat", "만들기\ntouch " + made.string() + "\n");
    folder.write("juso.dat", "우리집\n서울시 종로구\n");
    auto window = open();
    auto appears = [&] {
        return QTest::qWaitFor([&] { return std::filesystem::exists(made); }, 5000);
    };

    boxes.answers = {QStringLiteral("만들")};
    trigger(*window, "exec_com");
    EXPECT_TRUE(appears());
    const QString command = QStringLiteral("touch ") + QString::fromStdString(made.string());
    EXPECT_EQ(child<QLabel>(*window, "Label1")->text(), command + QStringLiteral(" 를 실행합니다."));
    EXPECT_EQ(child<QAction>(*window, "hist_item1")->text(), command);
    EXPECT_EQ(child<QAction>(*window, "hist_item2")->text(), QStringLiteral("없음"));
    // "touch /tmp/.../" is no folder: the warning, and the launch all the same.
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("디렉토리가 잘못되었습니다.")});
    EXPECT_EQ(boxes.input_captions.back(), QStringLiteral("실행화일 입력상자"));

    std::filesystem::remove(made);
    trigger(*window, "p_exe");
    EXPECT_TRUE(appears());
    std::filesystem::remove(made);
    trigger(*window, "hist_item2");  // "없음" starts nothing, and nothing is said
    trigger(*window, "hist_item1");
    EXPECT_TRUE(appears());
    EXPECT_EQ(child<QAction>(*window, "hist_item2")->text(), QStringLiteral("없음"));

    trigger(*window, "juso_juso");
    boxes.answers = {QStringLiteral("종로")};
    trigger(*window, "juso_search");
    EXPECT_EQ(boxes.input_prompts.back(), QStringLiteral("주소나 전화번호를 입력하세요"));
    EXPECT_EQ(child<QLabel>(*window, "Label1")->text(), QStringLiteral("우리집\n서울시 종로구"));

    std::filesystem::remove(folder / "exec.dat");
    trigger(*window, "pop_exec");
    ASSERT_FALSE(boxes.errors.isEmpty());
    EXPECT_TRUE(boxes.errors.back().contains(QStringLiteral("exec.dat")));
    window->close();
    EXPECT_NE(folder.read("dasom.ini").find("1=" + command.toStdString()), std::string::npos);
}

TEST_F(MainWindowTest, NameBoxesAskAsDesignedAndCancelOrBadTextKeepsTheName) {
    auto window = open();
    boxes.answers = {std::nullopt, QStringLiteral("별이"), QStringLiteral("별😀")};
    trigger(*window, "m_dasom_name");
    EXPECT_EQ(window->engine().computer_name, k("다솜"));
    trigger(*window, "m_dasom_name");
    EXPECT_EQ(window->engine().computer_name, k("별이"));
    trigger(*window, "m_dasom_name");
    EXPECT_EQ(window->engine().computer_name, k("별이"));
    EXPECT_EQ(boxes.messages.size(), 1);
    EXPECT_EQ(boxes.input_captions[0], QStringLiteral("컴퓨터의 이름"));
    EXPECT_EQ(boxes.input_prompts[0], QStringLiteral("컴퓨터의 이름을 입력하세요"));
    EXPECT_EQ(boxes.input_defaults[2], QStringLiteral("별이"));

    boxes.answers = {QString()};  // an empty name confirmed with OK stays empty
    trigger(*window, "m_human_name");
    EXPECT_EQ(boxes.input_captions[3], QStringLiteral("사용자의 이름"));
    EXPECT_EQ(boxes.input_prompts[3], QStringLiteral("사용자의 이름을 입력하세요"));
    EXPECT_EQ(window->engine().user_name, "");

    // A reserved command opens the same box.
    folder.write("reserve.dat", "내 이름은\n[사람이름]\n");
    folder.write_bytes("vowel.dat", "");
    boxes.answers = {QStringLiteral("민수")};
    auto* line = child<shell::ChatWindow>(*window, "chat_window");
    type(line, QStringLiteral("내 이름은 민수야"));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(boxes.input_captions.back(), QStringLiteral("사용자의 이름"));
    EXPECT_EQ(boxes.input_prompts.back(), QStringLiteral("사용자의 이름을 입력하세요"));
    EXPECT_EQ(window->engine().user_name, k("민수"));
    EXPECT_EQ(child<QLabel>(*window, "Label1")->text(),
              QStringLiteral("알겠어요! 앞으로 민수님이라고 부를게요."));
}

TEST_F(MainWindowTest, DataFileItemsOpenTheirFileInTheEditor) {
    auto window = open();
    const std::pair<const char*, const char*> items[] = {
        {"data1", "data1.dat"}, {"data2", "data2.dat"},     {"data3", "data3.dat"},
        {"data4", "data4.dat"}, {"hojamal", "mal.dat"},     {"reserve", "reserve.dat"},
        {"content", "readme.txt"}};
    for (const auto& [item, file] : items) {
        trigger(*window, item);
        const auto editors = window->findChildren<shell::DataFileEditor*>();
        ASSERT_EQ(editors.size(), 1) << item;
        EXPECT_EQ(editors[0]->file(), folder / file) << item;
        delete editors[0];
    }
}

TEST_F(MainWindowTest, AnEditorWithUnsavedChangesCanKeepTheProgramOpen) {
    folder.write("mal.dat", "1\n안녕\n");
    auto window = open();
    trigger(*window, "hojamal");
    auto* editor = window->findChild<shell::DataFileEditor*>();
    ASSERT_NE(editor, nullptr);
    editor->findChild<QPlainTextEdit*>()->appendPlainText(QStringLiteral("새 줄"));
    auto answer = QMessageBox::Cancel;
    editor->set_question([&](QWidget*, const QString&, QMessageBox::StandardButtons) { return answer; });
    QSignalSpy finished(window.get(), &MainWindow::finished);

    EXPECT_FALSE(window->close());
    EXPECT_EQ(finished.count(), 0);
    answer = QMessageBox::Discard;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(folder.read("mal.dat"), "1\n안녕\n");
}

}  // namespace
