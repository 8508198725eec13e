// What a screen reader is told to say without a change of focus: with the control that takes
// the focus in the same event, as its description; else as a notification that appears.
#include "ui/FocusSpeech.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace vostrel {
namespace {

// What the notification that FocusSpeech shows to a reader says: the label inside it, which a
// reader speaks and puts on the braille display; empty before it said anything.
// (Offscreen, Qt hands no accessibility event on: the note is read as a reader would read it.)
QString NoteText(const QWidget& window) {
    const QObject* note = window.findChild<QObject*>(QStringLiteral("vostrelSpokenNote"));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(const_cast<QObject*>(note));
    if (iface == nullptr || iface->role() != QAccessible::Notification) {
        return QStringLiteral("<no notification>");
    }
    QAccessibleInterface* label = iface->childCount() == 1 ? iface->child(0) : nullptr;
    if (label == nullptr || label->role() != QAccessible::StaticText ||
        label->parent() == nullptr || label->parent()->object() != note ||
        iface->indexOfChild(label) != 0) {
        return QStringLiteral("<no label in the notification>");
    }
    // A reader leaves out a label that says what the notification's name says.
    if (!iface->text(QAccessible::Name).isEmpty()) {
        return QStringLiteral("<a named notification>");
    }
    return label->text(QAccessible::Name);
}

class FocusSpeechTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        a = new QPushButton(QStringLiteral("a"), &window);
        b = new QPushButton(QStringLiteral("b"), &window);
        layout->addWidget(a);
        layout->addWidget(b);
        speech = new FocusSpeech(&window);
        speech->Watch(a);
        speech->Watch(b);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        a->setFocus();
        // Long past the moment a took the focus: a reader has read it.
        QTest::qWait(300);
    }

    QWidget window;
    QPushButton* a = nullptr;
    QPushButton* b = nullptr;
    FocusSpeech* speech = nullptr;
};

TEST_F(FocusSpeechTest, AControlThatKeepsTheFocusHasTheSentenceShownAsANotification) {
    speech->Say(QStringLiteral("計算結果 10、得点 780"));
    EXPECT_EQ(NoteText(window), QString()); // not before the event is done
    QCoreApplication::processEvents();
    EXPECT_EQ(NoteText(window), QStringLiteral("計算結果 10、得点 780"));
    EXPECT_TRUE(a->accessibleDescription().isEmpty());
    // Two sentences in one event are said as one, in order.
    speech->Say(QStringLiteral("一"));
    speech->Say(QStringLiteral("二"));
    QCoreApplication::processEvents();
    EXPECT_EQ(NoteText(window), QStringLiteral("一。二"));
    // Said while nothing had the focus: dropped, not held before the next sentence.
    a->clearFocus();
    ASSERT_EQ(window.focusWidget(), nullptr);
    speech->Say(QStringLiteral("三"));
    QCoreApplication::processEvents();
    a->setFocus();
    EXPECT_TRUE(a->accessibleDescription().isEmpty());
    QTest::qWait(300);
    speech->Say(QStringLiteral("四"));
    QCoreApplication::processEvents();
    EXPECT_EQ(NoteText(window), QStringLiteral("四"));
}

TEST_F(FocusSpeechTest, AControlThatTakesTheFocusInTheSameEventSaysItAsItsDescription) {
    speech->Say(QStringLiteral("数字 3、1、2、4"));
    b->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(NoteText(window), QString());
    EXPECT_EQ(b->accessibleDescription(), QStringLiteral("数字 3、1、2、4"));
    // Gone as the focus leaves: the control reads as before when the player comes back.
    a->setFocus();
    EXPECT_TRUE(b->accessibleDescription().isEmpty());
    b->setFocus();
    EXPECT_TRUE(b->accessibleDescription().isEmpty());
}

TEST_F(FocusSpeechTest, AControlThatTookTheFocusMomentsBeforeSaysItAsItsDescription) {
    // A closing message box gives the focus back before the flow speaks.
    b->setFocus();
    speech->Say(QStringLiteral("2問目、数字 1、6、0、3"));
    QCoreApplication::processEvents();
    EXPECT_EQ(NoteText(window), QString());
    EXPECT_EQ(b->accessibleDescription(), QStringLiteral("2問目、数字 1、6、0、3"));
}

TEST_F(FocusSpeechTest, ASentenceThatTheControlsNameSaysIsLeftOutOfItsDescription) {
    // "=" names the problem it computes: said again in its description, the digits would be
    // heard twice as the problem opens.
    b->setAccessibleName(QStringLiteral("= 2問目、数字 1、6、0、3"));
    speech->Say(QStringLiteral("計算結果 10、得点 780"));
    speech->Say(QStringLiteral("2問目、数字 1、6、0、3"));
    b->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(b->accessibleDescription(), QStringLiteral("計算結果 10、得点 780"));
    // Nothing left to say: no description at all.
    a->setFocus();
    speech->Say(QStringLiteral("2問目、数字 1、6、0、3"));
    b->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(b->accessibleDescription().isEmpty());
    EXPECT_EQ(NoteText(window), QString());
    // Where the focus stays, the control is not read again: the whole sentence is shown.
    QTest::qWait(300);
    speech->Say(QStringLiteral("2問目、数字 1、6、0、3"));
    QCoreApplication::processEvents();
    EXPECT_EQ(NoteText(window), QStringLiteral("2問目、数字 1、6、0、3"));
}

} // namespace
} // namespace vostrel
