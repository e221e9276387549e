#include "platform/ui/Keys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>
#include <vector>

using namespace plat;

TEST(Keys, QtKeysBecomeVirtualKeyCodes)
{
    struct Case { int qtKey; Qt::KeyboardModifiers mods; int vk; };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, VK_RETURN},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_A, Qt::ControlModifier, 'A'},
        {Qt::Key_Z, Qt::NoModifier, 'Z'},
        {Qt::Key_5, Qt::NoModifier, '5'},
        {Qt::Key_5, Qt::KeypadModifier, VK_NUMPAD0 + 5},
        {Qt::Key_Period, Qt::KeypadModifier, VK_DECIMAL},
        {Qt::Key_Comma, Qt::KeypadModifier, VK_DECIMAL},
        {Qt::Key_Period, Qt::NoModifier, VK_OEM_PERIOD},
        {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD},
        {Qt::Key_F1, Qt::NoModifier, VK_F1},
        {Qt::Key_F12, Qt::NoModifier, VK_F1 + 11},
        {Qt::Key_Escape, Qt::NoModifier, VK_ESCAPE},
        {Qt::Key_Tab, Qt::NoModifier, VK_TAB},
        {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB},
        {Qt::Key_PageDown, Qt::NoModifier, VK_NEXT},
        {Qt::Key_Delete, Qt::NoModifier, VK_DELETE},
        {Qt::Key_Left, Qt::NoModifier, VK_LEFT},
        {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(virtualKeyFromQt(c.qtKey, c.mods), c.vk) << "Qt key " << std::hex << c.qtKey;
}

TEST(Keys, VirtualKeysGoBackToTheQtKeyTheyCameFrom)
{
    for (int vk : std::vector<int>{int(VK_RETURN), int(VK_TAB), 'A', 'Q', '0', '9', int(VK_F1) + 4, int(VK_ESCAPE),
                   int(VK_HOME), int(VK_OEM_COMMA), int(VK_NUMPAD0) + 7, int(VK_DECIMAL), int(VK_ADD)}) {
        bool keypad = false;
        const int qt = qtKeyFromVirtualKey(vk, &keypad);
        ASSERT_NE(qt, 0) << vk;
        EXPECT_EQ(virtualKeyFromQt(qt, keypad ? Qt::KeypadModifier : Qt::NoModifier), vk) << vk;
    }
    bool keypad = true;
    EXPECT_EQ(qtKeyFromVirtualKey(VK_TAB, &keypad), Qt::Key_Tab);
    EXPECT_FALSE(keypad);
}

TEST(Keys, ShiftStateAndShortcutNumbers)
{
    EXPECT_EQ(shiftStateFromQt(Qt::ControlModifier | Qt::AltModifier), ShiftState(ssCtrl | ssAlt));
    EXPECT_EQ(shiftStateFromQt(Qt::ShiftModifier | Qt::KeypadModifier), ShiftState(ssShift));
    EXPECT_EQ(shiftStateFromQt(Qt::NoModifier, Qt::LeftButton | Qt::RightButton), ShiftState(ssLeft | ssRight));
    EXPECT_EQ(qtModifiersFromShiftState(ssCtrl | ssShift), Qt::ControlModifier | Qt::ShiftModifier);

    // Ctrl+E is 0x4045 in the class library's numbering; F1 alone is 0x70.
    EXPECT_EQ(shortCutFromQt(int(Qt::ControlModifier) | Qt::Key_E), 0x4045);
    EXPECT_EQ(shortCutFromQt(Qt::Key_F1), 0x70);
    EXPECT_EQ(qtKeyCombinationFromShortCut(0x4045), int(Qt::ControlModifier) | Qt::Key_E);
    EXPECT_EQ(qtKeyCombinationFromShortCut(0x2000 | 0x8000 | (VK_F1 + 1)),
              int(Qt::ShiftModifier) | int(Qt::AltModifier) | Qt::Key_F2);

    QKeyEvent ev(QEvent::KeyPress, Qt::Key_2, Qt::KeypadModifier, QStringLiteral("2"));
    EXPECT_EQ(virtualKeyOf(ev), VK_NUMPAD0 + 2);
}
