#include "platform/ui/Keys.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace plat {
namespace {

// Keys whose code is not a plain letter, digit or function key.
constexpr std::array<std::pair<int, int>, 37> kSpecialKeys{{
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU}, {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME}, {Qt::Key_Left, VK_LEFT}, {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN}, {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT}, {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Help, VK_HELP},
    {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Plus, VK_OEM_PLUS}, {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Minus, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2}, {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
}};

int keypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return VK_NUMPAD0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Period:
    case Qt::Key_Comma: return VK_DECIMAL;
    case Qt::Key_Slash: return VK_DIVIDE;
    case Qt::Key_Enter:
    case Qt::Key_Return: return VK_RETURN;
    default: return 0;
    }
}

} // namespace

int virtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (int vk = keypadKey(qtKey))
            return vk;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    for (const auto &[qt, vk] : kSpecialKeys)
        if (qt == qtKey)
            return vk;
    return 0;
}

int virtualKeyOf(const QKeyEvent &event)
{
    return virtualKeyFromQt(event.key(), event.modifiers());
}

int qtKeyFromVirtualKey(int vk, bool *keypad)
{
    if (keypad)
        *keypad = false;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return vk;   // Qt's letter and digit keys share the codes
    if (vk >= VK_F1 && vk <= VK_F24)
        return Qt::Key_F1 + (vk - VK_F1);
    const auto onKeypad = [keypad](int key) {
        if (keypad)
            *keypad = true;
        return key;
    };
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
        return onKeypad(Qt::Key_0 + (vk - VK_NUMPAD0));
    switch (vk) {
    case VK_MULTIPLY: return onKeypad(Qt::Key_Asterisk);
    case VK_ADD: return onKeypad(Qt::Key_Plus);
    case VK_SUBTRACT: return onKeypad(Qt::Key_Minus);
    case VK_DECIMAL: return onKeypad(Qt::Key_Period);
    case VK_DIVIDE: return onKeypad(Qt::Key_Slash);
    default: break;
    }
    for (const auto &[qt, code] : kSpecialKeys)
        if (code == vk)
            return qt;   // the first entry is the main keyboard's key
    return 0;
}

ShiftState shiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    ShiftState s;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

Qt::KeyboardModifiers qtModifiersFromShiftState(ShiftState shift)
{
    Qt::KeyboardModifiers m;
    if (shift & ssShift) m |= Qt::ShiftModifier;
    if (shift & ssAlt) m |= Qt::AltModifier;
    if (shift & ssCtrl) m |= Qt::ControlModifier;
    return m;
}

int shortCutFromQt(int combination)
{
    const int key = combination & ~int(Qt::KeyboardModifierMask);
    const auto mods = Qt::KeyboardModifiers(combination & int(Qt::KeyboardModifierMask));
    int vk = virtualKeyFromQt(key, mods);
    if (vk == 0)
        return 0;
    if (mods & Qt::ShiftModifier) vk |= 0x2000;
    if (mods & Qt::ControlModifier) vk |= 0x4000;
    if (mods & Qt::AltModifier) vk |= 0x8000;
    return vk;
}

int qtKeyCombinationFromShortCut(int shortCut)
{
    bool keypad = false;
    int key = qtKeyFromVirtualKey(shortCut & 0xFF, &keypad);
    if (key == 0)
        return 0;
    if (keypad) key |= Qt::KeypadModifier;
    if (shortCut & 0x2000) key |= Qt::ShiftModifier;
    if (shortCut & 0x4000) key |= Qt::ControlModifier;
    if (shortCut & 0x8000) key |= Qt::AltModifier;
    return key;
}

} // namespace plat
