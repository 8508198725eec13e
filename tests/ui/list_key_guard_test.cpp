// The key guard on its own: a bare window with one list, keys given to the window as the
// platform gives them, and what reaches the window's own key handler.
#include "ui/platform/ListKeyGuard.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <vector>

namespace vostrel {
namespace {

// The window: it records the presses that reach it.
class Owner : public QWidget {
public:
    std::vector<int> pressed;

protected:
    void keyPressEvent(QKeyEvent* e) override { pressed.push_back(e->key()); }
};

class ListKeyGuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.resize(200, 100);
        list = new QComboBox(&owner);
        list->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        list->setFocusPolicy(Qt::NoFocus);
        other = new QWidget(&owner);
        other->setGeometry(100, 0, 50, 50);
        guard = new ListKeyGuard(&owner);
        guard->Watch(list);
        guard->OnKeyArriving([this] { arrivals.push_back(int(owner.pressed.size())); });
        owner.setFocusPolicy(Qt::StrongFocus);
        owner.show();
        owner.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
        owner.setFocus();
    }
    void TearDown() override { list->hidePopup(); }

    // To the window, with no queued call run in between, as keys typed quickly come.
    void Press(Qt::Key key, bool autoRepeat = false) {
        qt_handleKeyEvent(owner.windowHandle(), QEvent::KeyPress, key, Qt::NoModifier, {},
                          autoRepeat);
    }
    void Release(Qt::Key key, bool autoRepeat = false) {
        qt_handleKeyEvent(owner.windowHandle(), QEvent::KeyRelease, key, Qt::NoModifier, {},
                          autoRepeat);
    }
    // Return pressed in the dropped list closes it.
    void CloseListWithReturn() {
        list->showPopup();
        ASSERT_TRUE(list->view()->isVisible());
        Press(Qt::Key_Return);
        ASSERT_FALSE(list->view()->isVisible());
    }

    Owner owner;
    QComboBox* list = nullptr;
    QWidget* other = nullptr;
    ListKeyGuard* guard = nullptr;
    std::vector<int> arrivals; // presses the window had seen as each new key arrived
};

TEST_F(ListKeyGuardTest, TheClosingKeyAndItsAutoRepeatGoNoFurtherUntilLetGo) {
    CloseListWithReturn();
    // Held down: the platform repeats release and press.
    for (int i = 0; i < 3; ++i) {
        Release(Qt::Key_Return, true);
        Press(Qt::Key_Return, true);
    }
    Release(Qt::Key_Return);
    EXPECT_TRUE(owner.pressed.empty());
    Press(Qt::Key_Return);
    EXPECT_EQ(owner.pressed, std::vector<int>{Qt::Key_Return});
}

TEST_F(ListKeyGuardTest, AClickOrAnotherKeyEndsTheHoldOfAKeyWhoseReleaseWasLost) {
    CloseListWithReturn();
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, QPoint(10, 90));
    Press(Qt::Key_Return);
    EXPECT_EQ(owner.pressed, std::vector<int>{Qt::Key_Return});

    owner.pressed.clear();
    CloseListWithReturn();
    Press(Qt::Key_Space);
    Press(Qt::Key_Return);
    EXPECT_EQ(owner.pressed, (std::vector<int>{Qt::Key_Space, Qt::Key_Return}));
}

TEST_F(ListKeyGuardTest, OnlyAListThatAKeyClosedHoldsThatKey) {
    // Space, Return, Space, Return typed quickly: something else hides while the first
    // Return's handling is still the latest.
    CloseListWithReturn();
    Release(Qt::Key_Return);
    other->hide();
    Press(Qt::Key_Return);
    EXPECT_EQ(owner.pressed, std::vector<int>{Qt::Key_Return});

    // Once the key has been handled, a list closed later (by a click) was not closed by it.
    owner.pressed.clear();
    QCoreApplication::processEvents();
    list->showPopup();
    list->hidePopup();
    Press(Qt::Key_Return);
    EXPECT_EQ(owner.pressed, std::vector<int>{Qt::Key_Return});

    // A list that the platform closes was not closed by the key just typed.
    owner.pressed.clear();
    list->showPopup();
    ASSERT_TRUE(list->view()->isVisible());
    Press(Qt::Key_Down);
    Release(Qt::Key_Down);
    list->view()->window()->close();
    Press(Qt::Key_Down);
    EXPECT_EQ(owner.pressed, std::vector<int>{Qt::Key_Down});
}

TEST_F(ListKeyGuardTest, TheOwnerHearsOfEachKeyBeforeItArrives) {
    Press(Qt::Key_A);
    Press(Qt::Key_B);
    ASSERT_FALSE(arrivals.empty());
    EXPECT_EQ(arrivals.front(), 0);
    EXPECT_EQ(arrivals.back(), 1);
    EXPECT_EQ(owner.pressed, (std::vector<int>{Qt::Key_A, Qt::Key_B}));
}

TEST_F(ListKeyGuardTest, KeysSentToAClosedListGoToTheOwnersWindow) {
    list->showPopup();
    QWindow* listWindow = list->view()->window()->windowHandle();
    ASSERT_NE(listWindow, nullptr);
    list->hidePopup();
    qt_handleKeyEvent(listWindow, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, {});
    EXPECT_EQ(owner.pressed, std::vector<int>{Qt::Key_Space});
}

} // namespace
} // namespace vostrel
