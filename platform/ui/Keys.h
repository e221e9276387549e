#pragma once
#include <QFlags>
#include <Qt>

class QKeyEvent;

// Keys as the program's key tables know them: the class library's virtual-key codes and
// shift state. Qt's keys are translated here and nowhere else.
namespace plat {

enum ShiftFlag {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
};
Q_DECLARE_FLAGS(ShiftState, ShiftFlag)

enum VirtualKey : int {
    VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
    VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
    VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
    VK_SNAPSHOT = 44, VK_INSERT = 45, VK_DELETE = 46, VK_HELP = 47,
    VK_NUMPAD0 = 96, VK_MULTIPLY = 106, VK_ADD = 107, VK_SEPARATOR = 108, VK_SUBTRACT = 109,
    VK_DECIMAL = 110, VK_DIVIDE = 111, VK_F1 = 112, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8,
    VK_F9, VK_F10, VK_F11, VK_F12, VK_F24 = 135, VK_NUMLOCK = 144, VK_SCROLL = 145,
    VK_OEM_1 = 186, VK_OEM_PLUS = 187, VK_OEM_COMMA = 188, VK_OEM_MINUS = 189, VK_OEM_PERIOD = 190,
    VK_OEM_2 = 191, VK_OEM_3 = 192, VK_OEM_4 = 219, VK_OEM_5 = 220, VK_OEM_6 = 221, VK_OEM_7 = 222,
    VK_OEM_102 = 226,
};

// The virtual-key code of a Qt key; keypad keys (KeypadModifier) get the keypad codes.
// 0 for a key the class library has no code for.
int virtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
int virtualKeyOf(const QKeyEvent &event);

// The Qt key that a virtual-key code stands for (the main keyboard's key for digits and
// letters); keypad codes also report Qt::KeypadModifier through *keypad.
int qtKeyFromVirtualKey(int vk, bool *keypad = nullptr);

ShiftState shiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
Qt::KeyboardModifiers qtModifiersFromShiftState(ShiftState shift);

// Ctrl+letter shortcuts are often written as the class library's shortcut numbers
// (virtual key plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt).
int shortCutFromQt(int qtKeyCombination);
int qtKeyCombinationFromShortCut(int shortCut);

} // namespace plat

Q_DECLARE_OPERATORS_FOR_FLAGS(plat::ShiftState)
